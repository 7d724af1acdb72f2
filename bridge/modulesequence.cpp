#include "modulesequence.h"

#include "modulecommands.h"
#include "modulepoller.h"
#include "modulepublisher.h"
#include "mqttclient.h"
#include "sequencefile.h"
#include "sequencerunner.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>

namespace {

QString stateName(SequenceRunner::State state)
{
    static const char *const names[]
        = { "idle", "running", "paused", "stopping", "finished", "aborted" };
    return QString::fromLatin1(names[int(state)]);
}

QString phaseName(SequenceRunner::Phase phase)
{
    static const char *const names[] = { "", "ramping", "holding", "ramping down" };
    return QString::fromLatin1(names[int(phase)]);
}

double seconds(qint64 ms)
{
    return std::round(double(ms) / 100.0) / 10.0;
}

} // namespace

ModuleSequence::ModuleSequence(
    MqttClient *client, ModulePoller *poller, const ModulePublisher *publisher, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_poller(poller)
    , m_publisher(publisher)
    , m_runner(new SequenceRunner(poller->session(), this))
{
    m_runner->setJournal(this);
    connect(m_runner, &SequenceRunner::stateChanged, this, [this] { publishState(true); });
    connect(m_runner, &SequenceRunner::progressChanged, this, [this] { publishState(false); });
}

ModuleSequence::~ModuleSequence()
{
    // The runner writes its last entry while this journal still exists.
    delete m_runner;
}

void ModuleSequence::subscribe()
{
    const QByteArray base = m_publisher->base();
    if (base.isEmpty() || !m_client->isConnected())
        return;
    const QByteArray pattern = base + "sequence/+";
    if (m_pattern != pattern
        && m_client->subscribe(pattern, 1, MqttClient::NoLocal | MqttClient::RetainAsPublished))
        m_pattern = pattern;
    publishState(true);
}

QString ModuleSequence::sequencePath(const QString &folder, const QByteArray &name, QString *why)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_.-]*$"));
    const QString text = QString::fromUtf8(name);
    if (name.size() > MaxName || !plain.match(text).hasMatch()) {
        *why = QStringLiteral("give the name of a file in the sequence folder (letters, digits, "
                              "\".\", \"-\" and \"_\", at most %1, no path)")
                   .arg(MaxName);
        return QString();
    }
    const QString root = QDir(folder).canonicalPath();
    if (root.isEmpty()) {
        *why = QStringLiteral("the sequence folder %1 is not there").arg(folder);
        return QString();
    }
    const QFileInfo file(root + QLatin1Char('/') + text);
    const QString target = file.canonicalFilePath();
    if (target.isEmpty()) {
        *why = QStringLiteral("no sequence \"%1\" in the sequence folder").arg(text);
        return QString();
    }
    // A link in the folder must not lead out of it.
    if (!target.startsWith(root + QLatin1Char('/')) || !QFileInfo(target).isFile()) {
        *why = QStringLiteral("\"%1\" is no file of the sequence folder").arg(text);
        return QString();
    }
    return target;
}

QString ModuleSequence::handle(const QByteArray &command, const QByteArray &payload)
{
    if (command == "run")
        return run(payload);
    if (!m_runner->isActive())
        return QStringLiteral("no sequence is running");
    QString why;
    if (command == "pause") {
        if (m_runner->state() != SequenceRunner::State::Running)
            return QStringLiteral("the sequence is not running (%1)")
                .arg(stateName(m_runner->state()));
        m_runner->pause();
    } else if (command == "resume") {
        if (!m_runner->resume(&why))
            return why.isEmpty() ? QStringLiteral("the sequence is not paused") : why;
    } else if (command == "abort") {
        m_runner->abort();
    } else {
        return QStringLiteral("unknown sequence command (run, pause, resume or abort)");
    }
    return QString();
}

QString ModuleSequence::run(const QByteArray &name)
{
    if (m_runner->isActive())
        return QStringLiteral("sequence \"%1\" is running (step %2 of %3); abort it first")
            .arg(m_file)
            .arg(m_runner->stepIndex() + 1)
            .arg(m_runner->stepCount());
    QString why;
    const QString path = sequencePath(m_poller->settings().sequences, name, &why);
    if (path.isEmpty())
        return why;
    Sequence sequence;
    why = SequenceFile::load(path, &sequence);
    if (!why.isEmpty())
        return QStringLiteral("sequence \"%1\" refused: %2").arg(QString::fromUtf8(name), why);
    m_file = QString::fromUtf8(name);
    if (!m_runner->start(sequence, &why)) {
        publishState(true);
        return QStringLiteral("sequence \"%1\" can not start: %2").arg(m_file, why);
    }
    return QString();
}

void ModuleSequence::abandon(const QString &why)
{
    m_runner->abandon(why);
}

QByteArray ModuleSequence::stateJson() const
{
    QJsonArray channels;
    for (int c : m_runner->channels())
        channels.append(c);
    const bool started = m_runner->state() != SequenceRunner::State::Idle;
    const qint64 remaining = m_runner->remainingMs();
    QJsonObject o {
        { QStringLiteral("state"), stateName(m_runner->state()) },
        { QStringLiteral("file"), m_file },
        { QStringLiteral("name"), m_runner->sequence().name },
        { QStringLiteral("step"), started ? m_runner->stepIndex() + 1 : 0 },
        { QStringLiteral("steps"), m_runner->stepCount() },
        { QStringLiteral("phase"), phaseName(m_runner->phase()) },
        { QStringLiteral("elapsed"), seconds(m_runner->elapsedMs()) },
        { QStringLiteral("remaining"),
            remaining >= 0 ? QJsonValue(seconds(remaining)) : QJsonValue() },
        { QStringLiteral("channels"), channels },
        { QStringLiteral("waiting"), m_runner->waitingForModule() },
        { QStringLiteral("reason"), m_runner->reason() },
    };
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

void ModuleSequence::publishState(bool force)
{
    const QByteArray base = m_publisher->base();
    if (base.isEmpty())
        return;
    const QByteArray key = stateName(m_runner->state()).toLatin1() + ' '
        + QByteArray::number(m_runner->stepIndex()) + ' ' + phaseName(m_runner->phase()).toLatin1();
    if (!force && key == m_lastKey && m_lastState.isValid() && m_lastState.elapsed() < StateEveryMs)
        return;
    m_lastKey = key;
    m_lastState.start();
    m_client->publish(base + "sequence/state", stateJson(), 1, true);
}

void ModuleSequence::info(const QString &text)
{
    qCInfo(lcBridge).noquote() << QStringLiteral("module %1: sequence: %2")
                                      .arg(m_poller->settings().name, printable(text));
    m_historyJournal.info(text);
}

void ModuleSequence::alarm(const QString &text)
{
    qCWarning(lcBridge).noquote() << QStringLiteral("module %1: sequence: %2")
                                         .arg(m_poller->settings().name, printable(text));
    m_historyJournal.alarm(text);
}
