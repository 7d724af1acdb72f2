#include "bridge.h"

#include "bridgemodule.h"
#include "enginethreads.h"
#include "historypublisher.h"
#include "loopbatching.h"
#include "modulecommands.h"
#include "modulepoller.h"
#include "modulepublisher.h"
#include "modulesequence.h"
#include "mqttclient.h"
#include "scpi_parser.h"
#include "writeround.h"

#include <QSet>
#include <QStringList>

#include <utility>

Bridge::Bridge(const BridgeSettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_threads(std::make_unique<EngineThreads>())
{
    m_client = new MqttClient(settings.broker, stateTopic(), "offline", this);
    m_client->setMaxPayload(ModuleCommands::MaxPayload);
    // Commands the broker kept for the bridge during an outage are told from live ones by a
    // marker of the bridge's own, which follows them.
    m_client->setBacklogMarker(
        settings.broker.prefix.toUtf8() + "/bridge/" + settings.broker.clientId.toUtf8() + "/sync");
    // A sequence's broker-lost rule waits a grace period for the broker to return: it is asked
    // for again soon enough to be back within it.
    m_client->setKeepPausesShort([this] { return sequenceActive(); });
    connect(m_client, &MqttClient::connected, this, &Bridge::onBrokerConnected);
    connect(m_client, &MqttClient::connectionLost, this, [this] { m_brokerGone.start(); });
    m_brokerGone.setSingleShot(true);
    m_brokerGone.setInterval(BrokerLostGraceMs);
    connect(&m_brokerGone, &QTimer::timeout, this, &Bridge::onBrokerGone);
    connect(m_client, &MqttClient::messageReceived, this,
        [this](const QByteArray &topic, const QByteArray &payload, bool retained) {
            dispatch(topic, payload, retained, -1);
        });
    connect(m_client, &MqttClient::messageTooLarge, this,
        [this](const QByteArray &topic, int size, bool retained) {
            dispatch(topic, QByteArray(), retained, size);
        });
    connect(m_client, &MqttClient::subscriptionRefused, this,
        [this](const QByteArray &pattern, const QString &reason) {
            for (BridgeModule *module : std::as_const(m_modules))
                module->commands()->onSubscriptionRefused(pattern, reason);
        });
    for (const ModuleSettings &m : settings.modules)
        m_modules.append(makeModule(m));
    for (BridgeModule *module : std::as_const(m_modules))
        m_pollers.append(module->poller());
}

Bridge::~Bridge()
{
    // The pollers end their engines on the worker threads, which end after them.
    qDeleteAll(std::exchange(m_modules, {}));
    m_threads.reset();
}

BridgeModule *Bridge::makeModule(const ModuleSettings &m)
{
    // With one module there is nothing to take turns with, and writing at once saves a pass of
    // the event loop per request.
    const qsizetype count = m_settings.modules.size();
    if (count > 1 && !m_round)
        m_round = new WriteRound(this);
    if (count >= BatchedModules && !m_batching)
        m_batching = new LoopBatching(BatchIntervalUs, this);
    QObject *engineHome = m.link.kind == LinkSettings::Kind::Gpib
        ? m_threads->gpibBoard(ModuleSettings::GpibBoard)
        : nullptr;
    auto *module = new BridgeModule(m, m_client, m_settings.broker.prefix.toUtf8(),
        m_settings.broker.rate, stateTopic(), m_round, engineHome, this);
    connect(module, &BridgeModule::online, this, [this, module] { onModuleOnline(module); });
    connect(module, &BridgeModule::offline, this, [this, module] { onModuleOffline(module); });
    return module;
}

void Bridge::endModule(BridgeModule *module, const QString &why)
{
    if (ModuleSequence *sequence = module->sequence())
        sequence->abandon(why);
    module->publisher()->setOffline();
    const auto serial = m_serialOf.constFind(module);
    if (serial != m_serialOf.cend()) {
        const int number = *serial;
        m_serialOf.erase(serial);
        m_bySerial[number].removeOne(module);
        if (m_bySerial[number].isEmpty())
            m_bySerial.remove(number);
        delete module;
        updateClash(number);
        return;
    }
    delete module;
}

QByteArray Bridge::stateTopic() const
{
    return m_settings.broker.prefix.toUtf8() + "/bridge/" + m_settings.broker.clientId.toUtf8()
        + "/state";
}

bool Bridge::start()
{
    if (!m_client->start())
        return false;
    for (ModulePoller *poller : std::as_const(m_pollers))
        poller->start();
    return true;
}

void Bridge::stop(const QString &why)
{
    for (BridgeModule *module : std::as_const(m_modules))
        if (ModuleSequence *sequence = module->sequence())
            sequence->abandon(why);
    for (BridgeModule *module : std::as_const(m_modules))
        module->publisher()->setOffline();
    // QoS 1: its acknowledgement says the broker has handled everything before it.
    m_client->publish(stateTopic(), "offline", 1, true);
    m_client->stop();
}

bool Bridge::reload(const BridgeSettings &settings)
{
    if (!(settings.broker == m_settings.broker))
        return false;
    QHash<QString, BridgeModule *> before;
    for (BridgeModule *module : std::as_const(m_modules))
        before.insert(module->settings().name, module);
    QSet<QString> names;
    for (const ModuleSettings &m : settings.modules)
        names.insert(m.name);
    m_settings = settings;
    QList<BridgeModule *> modules;
    QList<BridgeModule *> ended;
    for (const ModuleSettings &m : settings.modules) {
        BridgeModule *module = before.take(m.name);
        if (module && module->settings().sameModule(m)) {
            modules.append(module);
            continue;
        }
        if (module)
            ended.append(module);
        modules.append(nullptr);
    }
    ended += before.values();
    const qsizetype kept = modules.size() - modules.count(nullptr);
    for (BridgeModule *module : std::as_const(ended)) {
        const bool changed = names.contains(module->settings().name);
        m_modules.removeOne(module);
        endModule(module,
            QStringLiteral("the bridge read its file again, which %1 the module's section")
                .arg(changed ? QStringLiteral("changed") : QStringLiteral("removed")));
    }
    QList<BridgeModule *> started;
    for (int i = 0; i < modules.size(); ++i) {
        if (!modules[i]) {
            modules[i] = makeModule(settings.modules.at(i));
            started.append(modules[i]);
        }
    }
    m_modules = modules;
    m_pollers.clear();
    for (BridgeModule *module : std::as_const(m_modules))
        m_pollers.append(module->poller());
    for (BridgeModule *module : std::as_const(started))
        module->poller()->start();
    qCInfo(lcBridge).noquote() << QStringLiteral(
        "configuration read again: %1 module(s) kept as they run, %2 ended, "
        "%3 started")
                                      .arg(kept)
                                      .arg(ended.size())
                                      .arg(started.size());
    return true;
}

void Bridge::onBrokerConnected()
{
    m_brokerGone.stop();
    m_client->publish(stateTopic(), "online", 0, true);
    // Modules offline first: one that shares its serial number with a module online must not
    // have the last word on their common topics.
    for (const bool online : { false, true }) {
        for (BridgeModule *module : std::as_const(m_modules)) {
            if (module->isOnline() != online)
                continue;
            module->commands()->forgetSubscription(); // the clean session forgot them all
            module->publisher()->republish();
            module->history()->republish();
            module->commands()->subscribe();
        }
    }
}

void Bridge::onBrokerGone()
{
    const QString why = QStringLiteral("broker lost for %1 s").arg(BrokerLostGraceMs / 1000);
    for (BridgeModule *module : std::as_const(m_modules)) {
        ModuleSequence *sequence = module->sequence();
        if (!sequence || !sequence->isActive())
            continue;
        qCWarning(lcBridge).noquote()
            << QStringLiteral("module %1: %2 while a sequence runs: its rule for that is taken")
                   .arg(module->settings().name, why);
        sequence->brokerLost(why);
    }
}

void Bridge::onModuleOnline(BridgeModule *module)
{
    ModulePoller *poller = module->poller();
    ModulePublisher *publisher = module->publisher();
    const int before = publisher->serialNumber();
    const int serial = poller->state()->serialNumber;
    fileUnder(module, serial);
    updateClash(serial, module);
    publisher->setOnline(*poller->state(), poller->settings().endpoint(),
        module->clash.isEmpty() ? "online" : "clash");
    if (before != 0 && before != publisher->serialNumber()) {
        qCWarning(lcBridge).noquote()
            << QStringLiteral("module %1: serial number changed from %2 to %3")
                   .arg(poller->settings().name)
                   .arg(before)
                   .arg(publisher->serialNumber());
    }
    if (!module->clash.isEmpty())
        m_client->publish(publisher->base() + "error", module->clash.toUtf8(), 1, false);
    module->commands()->subscribe();
}

void Bridge::onModuleOffline(BridgeModule *module)
{
    module->publisher()->setOffline();
    const auto serial = m_serialOf.constFind(module);
    if (serial != m_serialOf.cend())
        updateClash(*serial);
}

void Bridge::fileUnder(BridgeModule *module, int serial)
{
    const auto filed = m_serialOf.constFind(module);
    if (filed != m_serialOf.cend()) {
        const int old = *filed;
        if (old == serial)
            return;
        m_bySerial[old].removeOne(module);
        if (m_bySerial[old].isEmpty())
            m_bySerial.remove(old);
        updateClash(old);
    }
    m_serialOf.insert(module, serial);
    m_bySerial[serial].append(module);
}

void Bridge::updateClash(int serial, BridgeModule *skip)
{
    const auto found = m_bySerial.constFind(serial);
    if (found == m_bySerial.cend())
        return;
    const QList<BridgeModule *> modules = *found;
    QList<BridgeModule *> online;
    for (BridgeModule *module : modules)
        if (module->isOnline())
            online.append(module);
    QString clash;
    if (online.size() > 1) {
        // Named in the order of the file: one pass over the modules, not a search of the list
        // per comparison (a thousand simulators left at one serial number all clash).
        const QSet<BridgeModule *> clashing(online.cbegin(), online.cend());
        QStringList names;
        for (BridgeModule *module : std::as_const(m_modules))
            if (clashing.contains(module))
                names.append(module->settings().name);
        clash = QStringLiteral("modules %1 report the same serial number %2: while they are "
                               "online, only an off, an emergency off or a sequence abort is "
                               "taken, by each of them")
                    .arg(names.join(QLatin1String(" and ")))
                    .arg(serial);
    }
    bool said = false;
    for (BridgeModule *module : modules) {
        const QString why = module->isOnline() ? clash : QString();
        if (why == module->clash)
            continue;
        module->clash = why;
        module->commands()->setBlocked(why);
        if (!why.isEmpty()) {
            if (!std::exchange(said, true))
                qCWarning(lcBridge).noquote() << why;
            // Nobody can tell the two apart on the broker: unattended work waits.
            if (ModuleSequence *sequence = module->sequence())
                sequence->applyExternal(SafetyAction::Hold,
                    QStringLiteral("another module reports the serial number %1").arg(serial));
        }
        if (module == skip || !module->isOnline())
            continue;
        module->publisher()->setState(why.isEmpty() ? "online" : "clash");
        if (!why.isEmpty())
            m_client->publish(module->publisher()->base() + "error", why.toUtf8(), 1, false);
    }
}

int Bridge::onlineCount() const
{
    int online = 0;
    for (const BridgeModule *module : m_modules)
        online += int(module->isOnline() && module->clash.isEmpty());
    return online;
}

int Bridge::clashCount() const
{
    int clashes = 0;
    for (const BridgeModule *module : m_modules)
        clashes += int(module->isOnline() && !module->clash.isEmpty());
    return clashes;
}

int Bridge::activeSequenceCount() const
{
    int active = 0;
    for (const BridgeModule *module : m_modules)
        active += int(module->sequence() && module->sequence()->isActive());
    return active;
}

bool Bridge::sequenceActive() const
{
    return activeSequenceCount() > 0;
}

QList<QObject *> Bridge::workerHomes() const
{
    return m_threads->homes();
}

QList<ModulePublisher *> Bridge::publishers() const
{
    QList<ModulePublisher *> list;
    for (const BridgeModule *module : m_modules)
        list.append(module->publisher());
    return list;
}

QList<HistoryPublisher *> Bridge::histories() const
{
    QList<HistoryPublisher *> list;
    for (const BridgeModule *module : m_modules)
        list.append(module->history());
    return list;
}

QList<ModuleCommands *> Bridge::commands() const
{
    QList<ModuleCommands *> list;
    for (const BridgeModule *module : m_modules)
        list.append(module->commands());
    return list;
}

void Bridge::dispatch(
    const QByteArray &topic, const QByteArray &payload, bool retained, int tooLarge)
{
    const QByteArray prefix = m_settings.broker.prefix.toUtf8() + '/';
    const qsizetype end = topic.indexOf('/', prefix.size());
    if (!topic.startsWith(prefix) || end < 0)
        return;
    bool ok = false;
    const int serial = topic.mid(prefix.size(), end - prefix.size()).toInt(&ok);
    const auto found = m_bySerial.constFind(serial);
    if (!ok || found == m_bySerial.cend())
        return;
    QList<BridgeModule *> online;
    BridgeModule *offline = nullptr;
    for (BridgeModule *module : *found) {
        if (!module->settings().commands || !topic.startsWith(module->publisher()->base()))
            continue;
        if (module->isOnline())
            online.append(module);
        else if (!offline)
            offline = module; // it says "module offline"
    }
    QList<BridgeModule *> targets = online.isEmpty() && offline ? QList { offline } : online;
    if (targets.isEmpty())
        return;
    const QByteArray path = topic.mid(targets.first()->publisher()->base().size());
    if (targets.size() > 1 && !retained && tooLarge < 0
        && ModuleCommands::isSafetyCommand(path, payload)) {
        if (path == "sequence/abort") {
            // To the modules whose sequence runs; another would only say that none does.
            QList<BridgeModule *> running;
            for (BridgeModule *module : std::as_const(targets))
                if (module->sequence() && module->sequence()->isActive())
                    running.append(module);
            targets = running.isEmpty() ? QList { targets.first() } : running;
        }
    } else {
        targets = { targets.first() };
    }
    for (BridgeModule *module : std::as_const(targets)) {
        if (tooLarge >= 0)
            module->commands()->handleTooLarge(topic, tooLarge, retained);
        else
            module->commands()->handle(topic, payload, retained);
    }
}
