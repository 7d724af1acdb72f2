#include "historypanel.h"

#include "alarmindicator.h"
#include "desktopnotifier.h"
#include "eventhistory.h"
#include "eventtext.h"
#include "historyfile.h"
#include "historywindow.h"
#include "hvtable.h"
#include "scpi_parser.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>

HistoryPanel::HistoryPanel(
    EventHistory *history, const Widgets &widgets, const QString &folder, QObject *parent)
    : QObject(parent)
    , m_widgets(widgets)
    , m_history(history)
{
    m_history->setStorage(folder.isEmpty() ? HistoryFile::defaultFolder() : folder,
        HistoryFile::DefaultMaxBytes, HistoryFile::DefaultFiles);
    m_notifier = new DesktopNotifier(this);

    m_indicator = new AlarmIndicator(widgets.statusBar);
    m_writeWarning = new QLabel(widgets.statusBar);
    m_writeWarning->setObjectName(QStringLiteral("lblHistoryWarning"));
    m_writeWarning->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    m_writeWarning->hide();
    if (widgets.statusBar) {
        widgets.statusBar->addPermanentWidget(m_writeWarning);
        widgets.statusBar->addPermanentWidget(m_indicator);
    }

    connect(m_indicator, &AlarmIndicator::clicked, this, &HistoryPanel::showWindow);
    connect(m_indicator, &AlarmIndicator::acknowledgeRequested, m_history,
        &EventHistory::acknowledgeAll);
    connect(m_history, &EventHistory::alarmsChanged, this, &HistoryPanel::showAlarms);
    connect(m_history, &EventHistory::entryAdded, this, &HistoryPanel::entryAdded);
    connect(m_history, &EventHistory::writeFailed, this, &HistoryPanel::showWriteFailure);
    connect(
        m_history, &EventHistory::writeRecovered, this, [this] { showWriteFailure(QString()); });
    m_notifier->setSummary([this](int alarms) {
        return alarms == 1
            ? tr("Alarm of module %1").arg(m_history->serialNumber())
            : tr("%1 alarms of module %2").arg(alarms).arg(m_history->serialNumber());
    });
}

HistoryPanel::~HistoryPanel() = default;

HistoryWindow *HistoryPanel::showWindow()
{
    if (!m_window)
        m_window = new HistoryWindow(m_history, m_widgets.window);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return m_window;
}

void HistoryPanel::showAlarms()
{
    m_indicator->setCount(m_history->unacknowledgedAlarms());
    if (HvTable *table = m_widgets.table) {
        // Rows the table does not have yet keep their mark for when they come.
        for (int channel = 0; channel < SCPI_Parser::ChannelRecords; ++channel)
            table->setRowAlarm(channel, m_history->hasUnacknowledgedAlarm(channel));
    }
}

void HistoryPanel::entryAdded(const HistoryEntry &entry)
{
    if (entry.severity != Severity::Alarm || QApplication::activeWindow())
        return;
    m_notifier->gather(EventText::describe(entry, true));
}

void HistoryPanel::showWriteFailure(const QString &message)
{
    m_writeWarning->setText(tr("Event history not saved!"));
    m_writeWarning->setToolTip(message);
    m_writeWarning->setVisible(!message.isEmpty());
}
