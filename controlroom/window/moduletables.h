#pragma once

#include <QObject>

class Configuration;
class HvTable;
class StatTableCh;
class StatTableMod;
struct RoomModule;

/// The panel's channel table and status-bit tables, written from a module's state as the
/// bridge publishes it: the same cells, units, texts and colours the panel shows for that
/// module (its display configuration by serial number and firmware, read from the panel's
/// settings), the status tables for the channel chosen. Only cells whose text or colour changed
/// are written, so a module that publishes every second costs little.
class ModuleTables : public QObject
{
    Q_OBJECT

public:
    struct Widgets
    {
        HvTable *table = nullptr;
        StatTableCh *channelStatus = nullptr;
        StatTableMod *moduleStatus = nullptr;
    };

    /// The widgets are not owned and must outlive the tables' filler.
    ModuleTables(const Widgets &widgets, const QString &organization, QObject *parent = nullptr);

    /// Writes \a module's channels and words; the status tables show \a channel (the table's
    /// current row when -1). Another module than the last one reads its display configuration
    /// again.
    void show(const RoomModule &module, int channel);
    /// Empties the tables (no module chosen).
    void clear();
    /// The display configuration of the module shown (units for the operator's input).
    const Configuration &configuration() const { return *m_configuration; }

private:
    void applyConfiguration();

    Widgets m_widgets;
    Configuration *m_configuration;
    int m_serial = 0;
    QString m_firmware;
};
