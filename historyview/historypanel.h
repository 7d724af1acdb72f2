#pragma once

#include "desktopnotifier.h"

#include <QObject>

class AlarmIndicator;
class EventHistory;
class HistoryWindow;
class HvTable;
class ModuleSession;
class QLabel;
class QStatusBar;
class QWidget;
struct HistoryEntry;

/// The event history in the main window: keeps the session's history in the user's data folder,
/// shows the alarm indicator and a warning when the history cannot be saved in the status bar,
/// marks the row headers of channels with an alarm until it is acknowledged, sends a desktop
/// notification for an alarm while none of the program's windows is active, and opens the
/// history window.
class HistoryPanel : public QObject
{
    Q_OBJECT

public:
    /// What the panel works with; not owned, all must outlive the panel. The window is the
    /// parent of the history window.
    struct Widgets
    {
        QWidget *window = nullptr;
        QStatusBar *statusBar = nullptr;
        HvTable *table = nullptr;
    };

    /// Alarms that come within this time share one notification.
    static constexpr int NotificationDelayMs = DesktopNotifier::GatherMs;

    /// \a history (the module controller's) is not owned and must outlive the panel; the panel
    /// keeps its entries in \a folder (HistoryFile::defaultFolder() when empty).
    HistoryPanel(EventHistory *history, const Widgets &widgets, const QString &folder = QString(),
        QObject *parent = nullptr);
    ~HistoryPanel() override;

    EventHistory *history() const { return m_history; }
    AlarmIndicator *indicator() const { return m_indicator; }
    DesktopNotifier *notifier() const { return m_notifier; }
    /// The history window, null until it was first opened.
    HistoryWindow *window() const { return m_window; }

    /// Opens the history window (created on first use) in front.
    HistoryWindow *showWindow();

private:
    void showAlarms();
    void entryAdded(const HistoryEntry &entry);
    void showWriteFailure(const QString &message);

    Widgets m_widgets;
    EventHistory *m_history = nullptr;
    AlarmIndicator *m_indicator = nullptr;
    QLabel *m_writeWarning = nullptr;
    DesktopNotifier *m_notifier = nullptr;
    /// Child of the main window, made on first use.
    HistoryWindow *m_window = nullptr;
};
