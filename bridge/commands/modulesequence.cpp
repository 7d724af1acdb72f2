#include "modulesequence.h"

#include "configfile.h"
#include "modulecommands.h"
#include "modulepoller.h"
#include "modulepublisher.h"
#include "moduletopics.h"
#include "mqttclient.h"
#include "sequencefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QThread>

ModuleSequence::ModuleSequence(
    MqttClient *client, ModulePoller *poller, const ModulePublisher *publisher, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_poller(poller)
    , m_publisher(publisher)
    , m_core(poller->sequenceCore())
{
    connect(m_core, &SequenceCore::entry, this, &ModuleSequence::write);
    connect(
        m_core, &SequenceCore::changed, this, [this](const SequenceProgress &progress, bool force) {
            m_progress = progress;
            publishState(force);
        });
}

void ModuleSequence::subscribe()
{
    const QByteArray base = m_publisher->base();
    if (base.isEmpty() || !m_client->isConnected())
        return;
    for (const char *command : { "run", "pause", "resume", "abort" }) {
        const QByteArray topic = base + "sequence/" + command;
        if (!m_topics.contains(topic)
            && m_client->subscribe(topic, 1, MqttClient::NoLocal | MqttClient::RetainAsPublished))
            m_topics.append(topic);
    }
    // What can be run, for a control room's list: retained, again after every reconnect.
    QJsonArray files;
    for (const QString &name : fileNames(m_poller->settings().sequences))
        files.append(name);
    m_client->publish(base + "sequence/files",
        QJsonDocument(files).toJson(QJsonDocument::Compact), 1, true);
    // A bridge that has run nothing here leaves the retained state of the last one alone
    // ("aborted: the bridge stopped").
    if (m_progress.state != SequenceRunner::State::Idle)
        publishState(true);
}

bool ModuleSequence::isPlainName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_.-]*$"));
    return name.size() <= MaxName && plain.match(name).hasMatch();
}

QStringList ModuleSequence::fileNames(const QString &folder)
{
    QStringList names;
    const QStringList entries
        = QDir(folder).entryList({ QStringLiteral("*.json") }, QDir::Files | QDir::NoSymLinks,
            QDir::Name);
    for (const QString &name : entries) {
        if (isPlainName(name))
            names << name;
    }
    return names;
}

QString ModuleSequence::load(const QString &folder, const QByteArray &name, Sequence *sequence)
{
    const QString text = QString::fromUtf8(name);
    if (name.size() > MaxName || !isPlainName(text)) {
        return QStringLiteral("give the name of a file in the sequence folder (letters, digits, "
                              "\".\", \"-\" and \"_\", at most %1, no path)")
            .arg(MaxName);
    }
    CheckedFile file;
    QString why;
    if (!readFileInFolder(folder, text, SequenceFile::MaxBytes, &file, &why))
        return why;
    return SequenceFile::parse(file.text, sequence);
}

void ModuleSequence::handle(
    const QByteArray &command, const QByteArray &payload, QObject *context, Done done)
{
    if (command != "run") {
        call([command](SequenceCore *core) { return core->steer(command); }, context, done);
        return;
    }
    // The runner checks again: a sequence may have started since its last report.
    if (m_progress.isActive()) {
        done(m_progress.runningText());
        return;
    }
    Sequence sequence;
    const QString why = load(m_poller->settings().sequences, payload, &sequence);
    if (!why.isEmpty()) {
        // The refusal names the file already: 'sequence/run "x.json" refused: <why>'.
        done(why);
        return;
    }
    const QString file = QString::fromUtf8(payload);
    call([sequence, file](SequenceCore *core) { return core->run(sequence, file); }, context, done);
}

void ModuleSequence::call(
    std::function<QString(SequenceCore *)> action, QObject *context, Done done)
{
    SequenceCore *core = m_core;
    if (!core) {
        done(QStringLiteral("the module's poller has ended"));
        return;
    }
    if (core->thread() == thread()) {
        done(action(core));
        return;
    }
    QPointer<QObject> guard(context);
    QMetaObject::invokeMethod(core, [this, core, action, guard, done] {
        const QString why = action(core);
        // Through this object, so that the answer comes after the entries the action made.
        QMetaObject::invokeMethod(
            this,
            [guard, done, why] {
                if (guard)
                    done(why);
            },
            Qt::QueuedConnection);
    });
}

void ModuleSequence::post(std::function<void(SequenceRunner *)> action)
{
    if (SequenceCore *core = m_core)
        QMetaObject::invokeMethod(core, [core, action] { action(core->runner()); });
}

void ModuleSequence::applyExternal(SafetyAction action, const QString &why)
{
    post([action, why](SequenceRunner *runner) { runner->applyExternal(action, why); });
}

void ModuleSequence::brokerLost(const QString &why)
{
    post([why](SequenceRunner *runner) {
        runner->applyExternal(runner->sequence().rule(SafetyCondition::BrokerLost).action, why);
    });
}

void ModuleSequence::abandon(const QString &why)
{
    SequenceCore *core = m_core;
    if (!core)
        return;
    if (core->thread() == thread()) {
        core->abandon(why);
        return;
    }
    if (!core->thread()->isRunning())
        return;
    QMetaObject::invokeMethod(
        core, [core, why] { core->abandon(why); }, Qt::BlockingQueuedConnection);
    // The bridge stops without its event loop: its last entries (here and in the history's
    // publisher) are handed on now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

void ModuleSequence::publishState(bool force)
{
    const QByteArray base = m_publisher->base();
    if (base.isEmpty())
        return;
    const QByteArray key = sequenceStateName(m_progress.state).toLatin1() + ' '
        + QByteArray::number(m_progress.step) + ' '
        + sequencePhaseName(m_progress.phase).toLatin1();
    if (!force && key == m_lastKey && m_lastState.isValid() && m_lastState.elapsed() < StateEveryMs)
        return;
    m_lastKey = key;
    m_lastState.start();
    m_client->publish(base + telemetry::SequenceStateTopic, m_progress.toJson(), 1, true);
}

void ModuleSequence::write(bool alarm, const QString &text)
{
    const QString line
        = QStringLiteral("module %1: sequence: %2").arg(m_poller->settings().name, printable(text));
    if (alarm)
        qCWarning(lcBridge).noquote() << line;
    else
        qCInfo(lcBridge).noquote() << line;
}
