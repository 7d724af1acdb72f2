#pragma once

#include "cellcache.h"

#include <QObject>
#include <QString>

class Configuration;
class HvTable;
class Module;
class ModuleSession;
class QLabel;
class StatTableCh;
class StatTableMod;

/// The display refresh: after every answer the session's engine processed, it writes the
/// channel table, the two status tables, the module labels and (every 15th run) the connected
/// status line from the module, and emits the values the open dialogs show. Cells and labels
/// are formatted and written only when what they show has changed.
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

    /// \a configuration and \a session are not owned and must outlive the refresh.
    DisplayRefresh(const Widgets &widgets, const Configuration *configuration,
        const ModuleSession *session, QObject *parent = nullptr);

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

signals:
    void updateAllModulesStarted();
    void updateAllModulesCompleted();
    void updateModuleTemperature(int serialNumber, int index, float temperature);
    void updateChannelVoltageMeasure(int serialNumber, int channel, float siValue);
    void updateChannelCurrentMeasure(int serialNumber, int channel, float siValue);
    void updateChannelStatus(int serialNumber, int channel, quint32 status, quint32 eventStatus);
    void updateSuppliesTempLimits(double sp5, double sp24, double sp12, double sn12, double temp,
        double vmax, double imax, QString fname);
    void updateChannelControlStatus(int chn, quint16 control, quint16 status, quint16 eventstatus,
        quint16 eventmask, float vnom, float inom);
    void updateModuleControlStatus(
        quint16 control, quint16 status, quint16 eventstatus, quint16 eventmask);

private:
    void showConnection();
    void refreshRow(const Module &module, int row, int serialNumber);
    void refreshSelectedRow(const Module &module, int row);
    void refreshLabels(const Module &module);
    /// Forgets the cached cells when the display units changed or a cell was edited.
    void checkCellCache(int rows);

    Widgets m_widgets;
    const Configuration *m_configuration;
    const ModuleSession *m_session;
    QString m_deviceName;
    /// Counts the runs, for the status line; wraps as a signed byte.
    qint8 m_runs = 0;
    bool m_tableReady = false;
    bool m_connectionShown = false;

    CellCache m_cellCache;
    /// Units and precisions the cached cells were formatted with.
    struct CellFormat
    {
        QString voltageUnit;
        int voltagePrecision = -1;
        QString currentUnit;
        int currentPrecision = -1;
    };
    CellFormat m_cellFormat;
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
