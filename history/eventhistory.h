#pragma once

#include "eventdetector.h"
#include "historyentry.h"

#include <QList>
#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <memory>

class HistoryFile;
class Module;
class ModuleSession;

Q_DECLARE_LOGGING_CATEGORY(lcHistory)

/// The event history of the module a session (or the bridge's poller) is connected to: what
/// changed in its status and event-status words, and when its link went down and came back
/// (EventDetector), with the alarms the operator has not acknowledged yet and the alarm
/// conditions active now. With storage set, the entries are kept in one file per serial number
/// (HistoryFile) and the newest of them are read back when that module comes online.
///
/// Nothing is made before the module is online (identified, configured, polled once); after
/// that, every answer costs one comparison per status word.
class EventHistory : public QObject
{
    Q_OBJECT

public:
    /// Entries kept in memory; older ones stay in the file.
    static constexpr int MemoryEntries = 5000;

    explicit EventHistory(QObject *parent = nullptr);
    ~EventHistory() override;

    /// Follows the session's link: online, every answer, offline. \a session is not owned and
    /// must outlive the history or be destroyed with it.
    void follow(ModuleSession *session);
    /// Keeps the entries in \a folder (HistoryFile); an empty folder keeps them in memory only.
    void setStorage(const QString &folder, qint64 maxBytes, int files);

    /// The module came online: a different module's entries are read back from its file, and
    /// the link's return is an entry, with one for every condition already present.
    void moduleOnline(const Module &module);
    /// An answer was processed while the module was online.
    void answer(const Module &module);
    /// The module's link ended: LinkReason::closedByOperator() (or no reason) is the
    /// operator's doing, any other reason (a LinkReason code) a lost link.
    void moduleOffline(const QString &reason);

    /// Oldest first, at most MemoryEntries.
    const QList<HistoryEntry> &entries() const { return m_entries; }
    /// The running number of entries().first(); entries().at(i) has number firstNumber() + i.
    /// Numbers start at 0 when a module's entries are read back and never repeat until then.
    quint64 firstNumber() const { return m_firstNumber; }
    /// The module whose entries these are; 0 before the first one came online.
    int serialNumber() const { return m_serialNumber; }

    /// An entry that another part of the program writes about the module (a ramp sequence's
    /// steps and aborts): the module as its source, \a text as its sentence, kept as written.
    void note(Severity severity, const QString &text);

    /// Alarm entries since the last acknowledgeAll().
    int unacknowledgedAlarms() const { return m_unacknowledged; }
    /// Whether channel \a channel had an alarm entry since the last acknowledgeAll().
    bool hasUnacknowledgedAlarm(int channel) const { return m_alarmedChannels.contains(channel); }
    void acknowledgeAll();

    /// The alarm conditions the module shows now; while its link is lost, that loss alone.
    QList<EventDetector::Condition> activeAlarms() const;

    /// Why the last entry could not be written; empty while writing works.
    QString writeError() const { return m_writeError; }

signals:
    void entryAdded(const HistoryEntry &entry);
    /// entries() were replaced (another module's history).
    void entriesReset();
    /// The unacknowledged alarm count or the channels with one changed.
    void alarmsChanged();
    void activeAlarmsChanged();
    /// An entry could not be written; once, until writing works again (writeRecovered()).
    void writeFailed(const QString &message);
    void writeRecovered();

private:
    void add(const HistoryEntry &entry);
    void addAll(const QList<HistoryEntry> &entries);
    void linkEntry(const QString &link, Severity severity, const QString &reason);
    void loadModule(int serialNumber);

    QPointer<ModuleSession> m_session;
    std::unique_ptr<HistoryFile> m_file;
    EventDetector m_detector;
    QList<HistoryEntry> m_entries;
    quint64 m_firstNumber = 0;
    int m_serialNumber = 0;
    bool m_loaded = false;
    bool m_online = false;
    /// The link was lost (not closed by the operator) and has not come back.
    bool m_lost = false;
    qint64 m_lostSince = 0;
    QString m_lostReason;
    int m_unacknowledged = 0;
    QSet<int> m_alarmedChannels;
    QString m_writeError;
};
