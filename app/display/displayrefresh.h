#pragma once

#include "cellcache.h"
#include "displaysignals.h"
#include "numbertexts.h"

#include <QObject>
#include <QString>
#include <QStringList>

class Configuration;
class HvTable;
class Module;
class ModuleSession;
class QLabel;
class QuietCellWrites;
class StatTableCh;
class StatTableMod;
struct RefreshScope;

/// The display refresh: after every answer the session's engine processed, it writes the
/// channel table, the two status tables, the module labels and (every 15th run) the connected
/// status line from the module, and sends the values the open dialogs show through the window
/// (DisplaySignals).
///
/// A run looks only at what the answer can have changed (RefreshScope): the engine names the
/// request each answer belonged to. After anything else that can change what is shown (a new
/// link, new units, a set command, a run outside an answer) the next run looks at everything.
/// Even then a cell or label is formatted and written only when what it shows has changed.
class DisplayRefresh : public QObject
{
    Q_OBJECT

public:
    /// The widgets it writes; not owned, they must outlive the refresh.
    struct Widgets
    {
        HvTable *table = nullptr;
        StatTableCh *channelStatus = nullptr;
        StatTableMod *moduleStatus = nullptr;
        QLabel *status = nullptr;
        QLabel *serialNumber = nullptr;
        QLabel *firmwareName = nullptr;
        QLabel *firmwareRelease = nullptr;
        QLabel *voltageRamp = nullptr;
        QLabel *currentRamp = nullptr;
        QLabel *channelCaption = nullptr;
    };

    /// \a configuration and \a session are not owned and must outlive the refresh. \a window
    /// gets the values of each run (none without one) and must outlive the refresh.
    DisplayRefresh(const Widgets &widgets, const Configuration *configuration,
        const ModuleSession *session, DisplaySignals *window = nullptr, QObject *parent = nullptr);

    /// One run, for the answer the engine has just processed.
    void refresh();
    /// A new link: every cell and label is written afresh.
    void reset();
    /// The next run writes the labels again even where their values did not change (a command
    /// has written a label in its own form).
    void forgetLabels() { m_shownLabels.known = false; }
    /// Writes the units into the headers of columns 0 to 7 and shows or hides columns 2
    /// (Vbounds), 6 (Ibounds) and 8 (Power), as the configuration says.
    void applyConfiguration();

    /// The device name for the connected status line.
    void setDeviceName(const QString &name) { m_deviceName = name; }
    /// True once the connected status line has been shown, until forgetConnection().
    bool hasShownConnection() const { return m_connectionShown; }
    void forgetConnection() { m_connectionShown = false; }

    /// A receiver came or went for one of the window's values: the next run asks again which
    /// have receivers.
    void forgetReceivers() { m_receiversKnown = false; }

private:
    using Signal = DisplaySignals::Signal;
    /// Whether the window's \a signal has a receiver; one without is not sent.
    bool listened(Signal signal) const { return m_receivers & signal; }
    void checkReceivers();

    void showConnection();
    void refreshRow(
        const Module &module, int row, int serialNumber, quint16 columns, QuietCellWrites &writes);
    /// The status tables (when \a words: the answer can have changed a word) and the control
    /// signals of the selected row.
    void refreshSelectedRow(const Module &module, int row, bool words);
    void refreshLabels(const Module &module);
    /// Forgets every shown cell and label: the next run looks at everything.
    void forgetShown(int rows);
    /// Forgets the cached cells when the display units changed; notes the rows an edit
    /// changed, which the run writes whole.
    void checkCellCache(int rows);

    Widgets m_widgets;
    const Configuration *m_configuration;
    const ModuleSession *m_session;
    DisplaySignals *m_window;
    /// Signal bits of the window's values that have receivers, known until forgetReceivers().
    quint16 m_receivers = 0;
    bool m_receiversKnown = false;
    /// The row the status tables show, -1 after forgetShown().
    int m_tablesRow = -1;
    QString m_deviceName;
    /// The connected status line and the parts it was composed from.
    QStringList m_statusParts;
    QString m_statusLine;
    /// Counts the runs, for the status line; wraps as a signed byte.
    qint8 m_runs = 0;
    bool m_tableReady = false;
    bool m_connectionShown = false;
    /// The next run looks at every cell and label.
    bool m_everything = true;

    CellCache m_cellCache;
    NumberTexts m_voltageTexts;
    NumberTexts m_currentTexts;
    NumberTexts m_lowRangeTexts;
    NumberTexts m_powerTexts;
    /// Units and precisions the cached cells were formatted with.
    struct CellFormat
    {
        QString voltageUnit;
        int voltagePrecision = -1;
        QString currentUnit;
        int currentPrecision = -1;
    };
    CellFormat m_cellFormat;
    /// The row being edited and the one edited in the previous run: written whole.
    int m_editingRow = -1;
    int m_lastEditingRow = -1;

    /// What the formatted labels were last written from, so that they are formatted again
    /// only when it changes; forgotten with the cell cache.
    struct ShownLabels
    {
        bool known = false;
        int serialNumber = 0;
        bool percentBased = false;
        quint64 ramps = 0;
        int currentRow = 0;
    };
    ShownLabels m_shownLabels;
};
