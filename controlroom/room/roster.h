#pragma once

#include "eventdetector.h"
#include "modulestate.h"
#include "sequenceprogress.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

/// One module as the control room knows it from the broker: its state decoded from the
/// retained topics, what its bridge says of it, its alarms now and its sequence.
struct RoomModule
{
    int serial = 0;
    ModuleState state;
    /// The section name and the link from the bridge's file.
    QString name;
    QString link;
    /// Whether its bridge takes commands for it ("commands = on" in the bridge's file).
    bool commands = false;
    /// The state topic of the bridge that publishes the module ("vorn/bridge/lab1/state").
    QByteArray bridgeTopic;
    /// "online", "offline" or "clash", as the bridge says; empty until it has.
    QByteArray moduleState;
    QList<EventDetector::Condition> alarms;
    SequenceProgress sequence;
    /// The sequence files its bridge can run for it.
    QStringList sequenceFiles;
    /// When a value last came (ms since the epoch), and since when the module is stale (0 while
    /// it is not).
    qint64 lastValueMs = 0;
    qint64 staleSinceMs = 0;

    bool isStale() const { return staleSinceMs != 0; }
    /// Channels on (their status shows isON) and tripped (isTRP).
    int channelsOn() const;
    int channelsTripped() const;
    /// The largest |measured voltage| of the channels in use.
    double highestVoltage() const;
};

/// Every module under one topic prefix, rebuilt from what the bridges publish: a message goes to
/// handle(), which decodes it into the module's RoomModule and says what changed. A module is
/// stale, shown grey with since when, while its bridge's state topic says "offline", the bridge
/// says the module is offline, or no value has come for StaleAfterMs (the measured values
/// expire on the broker a few seconds after their bridge stops refreshing them); check() looks
/// at the time and is called by the owner's timer.
class ModuleRoster : public QObject
{
    Q_OBJECT

public:
    static constexpr int StaleAfterMs = 10000;

    explicit ModuleRoster(const QByteArray &prefix, QObject *parent = nullptr);

    QByteArray prefix() const { return m_prefix; }
    /// The patterns to subscribe: the modules' topics and the bridges' state topics.
    QList<QByteArray> patterns() const;

    /// Takes one message at \a nowMs; false when it was none of the roster's.
    bool handle(const QByteArray &topic, const QByteArray &payload, qint64 nowMs);
    /// Marks modules stale or fresh by the time \a nowMs.
    void check(qint64 nowMs);

    const QHash<int, RoomModule> &modules() const { return m_modules; }
    const RoomModule *module(int serial) const;
    /// Whether the bridge behind \a bridgeTopic is online (unknown bridges count as online).
    bool bridgeOnline(const QByteArray &bridgeTopic) const;

signals:
    void moduleAdded(int serial);
    void moduleChanged(int serial);
    /// A module's "alarms" or "events" came; events are not kept here.
    void alarmsChanged(int serial);
    void eventReceived(int serial, const QByteArray &entry);
    void sequenceChanged(int serial);
    /// The bridge refused a command for the module ("error", not retained).
    void commandRefused(int serial, const QString &why);

private:
    RoomModule &entry(int serial, bool *added);
    void updateStale(RoomModule &module, qint64 nowMs);

    QByteArray m_prefix;
    QHash<int, RoomModule> m_modules;
    /// Bridge state topic -> online.
    QHash<QByteArray, bool> m_bridges;
};
