#pragma once

#include "alarmbook.h"
#include "brokersettings.h"
#include "roster.h"

#include <QObject>
#include <QTimer>

class MqttClient;

/// The control room's one connection to the broker: it subscribes the modules' and the
/// bridges' topics under its prefix, feeds the roster and the alarm book, and publishes the
/// operator's commands on the modules' set and sequence topics (QoS 1, never retained). It
/// never talks to a module itself: what a bridge does with a command it says on the module's
/// "error" topic or by the value changing.
class RoomClient : public QObject
{
    Q_OBJECT

public:
    RoomClient(const BrokerSettings &broker, const QByteArray &prefix, QSettings *store,
        const QString &user, QObject *parent = nullptr);

    /// Starts connecting (and reconnecting after every loss); false when the settings cannot
    /// be used.
    bool start();
    bool isConnected() const;

    ModuleRoster *roster() { return &m_roster; }
    /// Messages received since construction.
    quint64 messageCount() const { return m_messages; }
    AlarmBook *alarms() { return &m_alarms; }

    /// Publishes "<prefix>/<serial>/ch/<channel>/set/<what>" with \a payload; false while not
    /// connected.
    bool channelCommand(int serial, int channel, const QByteArray &what, const QByteArray &payload);
    /// Publishes "<prefix>/<serial>/sequence/<what>" (run, pause, resume, abort).
    bool sequenceCommand(int serial, const QByteArray &what, const QByteArray &payload);

signals:
    void connectionChanged(bool connected);
    /// The broker refused a connection attempt, or it failed.
    void connectionFailed(const QString &reason);

private:
    void onMessage(const QByteArray &topic, const QByteArray &payload);

    MqttClient *m_client;
    ModuleRoster m_roster;
    AlarmBook m_alarms;
    QTimer m_staleCheck;
    quint64 m_messages = 0;
};
