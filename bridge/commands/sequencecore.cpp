#include "sequencecore.h"

#include "modulecontroller.h"

SequenceCore::SequenceCore(ModuleController *controller, QObject *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_runner(controller->runner())
{
    controller->setJournal(this);
    connect(
        m_runner, &SequenceRunner::stateChanged, this, [this] { emit changed(progress(), true); });
    connect(m_runner, &SequenceRunner::progressChanged, this,
        [this] { emit changed(progress(), false); });
}

SequenceCore::~SequenceCore()
{
    m_controller->setJournal(nullptr);
}

QString SequenceCore::run(const Sequence &sequence, const QString &file)
{
    if (m_runner->isActive())
        return progress().runningText();
    m_file = file;
    const QString why = m_controller->startSequence(sequence, CommandSource::Remote);
    if (!why.isEmpty()) {
        emit changed(progress(), true);
        return QStringLiteral("sequence \"%1\" can not start: %2").arg(file, why);
    }
    return QString();
}

QString SequenceCore::steer(const QByteArray &command)
{
    if (!m_runner->isActive())
        return QStringLiteral("no sequence is running");
    if (command == "pause")
        return m_controller->pauseSequence(CommandSource::Remote);
    if (command == "resume")
        return m_controller->resumeSequence(CommandSource::Remote);
    if (command == "abort")
        return m_controller->abortSequence(CommandSource::Remote);
    return QStringLiteral("unknown sequence command (run, pause, resume or abort)");
}

SequenceRunner *SequenceCore::runner() const
{
    return m_controller->runner();
}

void SequenceCore::abandon(const QString &why)
{
    m_controller->runner()->abandon(why);
}

SequenceProgress SequenceCore::progress() const
{
    SequenceProgress p;
    p.state = m_runner->state();
    p.phase = m_runner->phase();
    p.step = m_runner->stepIndex();
    p.steps = m_runner->stepCount();
    p.file = m_file;
    p.name = m_runner->sequence().name;
    p.elapsedMs = m_runner->elapsedMs();
    p.remainingMs = m_runner->remainingMs();
    p.channels = m_runner->channels();
    p.waiting = m_runner->waitingForModule();
    p.reason = m_runner->reason();
    return p;
}
