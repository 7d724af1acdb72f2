#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

class ModuleController;
class ModuleSession;
class SCPI_Parser;
class QColor;

namespace Ui {
class ConsoleWindow;
}

/// The SCPI console: the operator types one line, it goes through the engine's command queue
/// like a set command, and its answer is shown with a time stamp under the line. Lines are sent
/// one at a time, so every answer follows the line that asked for it. Each line goes to the
/// session's link of the moment, and a connection that ends while a line waits for its answer
/// is reported.
class ConsoleWindow : public QWidget
{
    Q_OBJECT

public:
    /// Lines kept in the history and in the settings.
    static constexpr int HistoryLength = 100;

    /// \a session is not owned and must outlive the window.
    /// \a controller (not owned; may be null: nothing is sent) must outlive the window; typed
    /// lines pass through it.
    explicit ConsoleWindow(ModuleController *controller, QWidget *parent = nullptr);
    ~ConsoleWindow() override;

    /// Handles \a line as if the operator had typed it and pressed Return.
    void submitLine(const QString &line);
    QString transcript() const;
    QStringList history() const { return m_history; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_lineCommand_returnPressed();
    void on_btnSend_clicked();
    void on_btnClear_clicked();
    void on_btnCopy_clicked();

private:
    struct Line
    {
        QString typed;
        QString command;
        bool completionQueryAdded = false;
    };

    void attach(SCPI_Parser *link);
    void sendNext();
    void answerReceived(const QString &answer);
    void linkDestroyed();
    void remember(const QString &line);
    void print(const QString &text, const QColor &colour);

    std::unique_ptr<Ui::ConsoleWindow> ui;
    ModuleController *m_controller;
    const ModuleSession *m_session;
    QPointer<SCPI_Parser> m_link;
    QMetaObject::Connection m_answerConnection;
    QMetaObject::Connection m_destroyedConnection;
    QList<Line> m_waiting; ///< accepted, not yet handed to the engine
    QString m_pending; ///< handed to the engine, answer awaited; empty when none
    QStringList m_history;
    int m_historyIndex = 0; ///< m_history.size() means the fresh, empty line
};
