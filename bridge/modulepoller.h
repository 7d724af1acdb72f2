#pragma once

#include "bridgeconfig.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "scpi_parser.h"

class WriteRound;

Q_DECLARE_LOGGING_CATEGORY(lcBridge)

/// Keeps one module polled: creates its link, lets the engine identify, configure and poll it,
/// ends a link whose answers stop for 4 s, and opens a new one after a pause that grows from
/// 1 s to 30 s. A link object lives for one connection, as in the panel.
///
/// The module is online once it has been identified, its configuration read and one polling
/// cycle answered; it goes offline when its link ends.
class ModulePoller : public QObject
{
    Q_OBJECT

public:
    static constexpr int WatchdogMs = 4000;
    static constexpr int WatchdogTickMs = 250;
    static constexpr int MaxPauseMs = 30000;

    /// A TCP link hands its requests to \a round when it is given, else writes them at once.
    ModulePoller(
        const ModuleSettings &settings, WriteRound *round = nullptr, QObject *parent = nullptr);
    ~ModulePoller() override;

    /// Opens the first link.
    void start();
    const ModuleSettings &settings() const { return m_settings; }
    /// The engine of the current link; null between links.
    SCPI_Parser *engine() const { return m_link; }
    bool isOnline() const { return m_online; }
    /// Answers processed since construction, over all links.
    quint64 answerCount() const { return m_answers; }

signals:
    void online();
    void offline(const QString &reason);
    /// After every processed answer while online.
    void answerProcessed();

private:
    void openLink();
    void closeLink(const QString &reason);
    void onAnswer();

    ModuleSettings m_settings;
    QPointer<WriteRound> m_round;
    QPointer<SCPI_Parser> m_link;
    QTimer m_watchdog;
    QElapsedTimer m_lastAnswer;
    QTimer m_retry;
    int m_pauseMs = 1000;
    bool m_online = false;
    bool m_identityWarned = false;
    int m_linkAnswers = 0;
    int m_cycleAnswers = 0;
    quint64 m_answers = 0;
};
