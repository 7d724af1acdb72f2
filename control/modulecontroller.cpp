#include "modulecontroller.h"

#include "czelkchannelstatusbits.h"
#include "historyjournal.h"
#include "scpi_parser.h"
#include "sequence.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

/// The runner's journal: the module's history, and the second journal when there is one.
class ModuleController::Journal : public SequenceJournal
{
public:
    explicit Journal(EventHistory *history)
        : m_history(history)
    {
    }
    void info(const QString &text) override
    {
        m_history.info(text);
        if (m_extra)
            m_extra->info(text);
    }
    void alarm(const QString &text) override
    {
        m_history.alarm(text);
        if (m_extra)
            m_extra->alarm(text);
    }
    SequenceJournal *m_extra = nullptr;

private:
    HistoryJournal m_history;
};

ModuleController::ModuleController(QObject *parent)
    : QObject(parent)
    , m_journal(std::make_unique<Journal>(&m_history))
{
    m_history.follow(&m_session);
    // Before the runner's own connection: the runner sees the held-off channels of this answer.
    connect(&m_session, &ModuleSession::answerProcessed, this, &ModuleController::onAnswer);
    connect(&m_session, &ModuleSession::linkChanged, this, &ModuleController::onLinkChanged);
    connect(&m_session, &ModuleSession::online, this, &ModuleController::onOnline);
    m_runner = new SequenceRunner(&m_session, this);
    m_runner->setJournal(m_journal.get());
    m_runner->setSender(
        [this](const ChannelCommand &c) { return command(c, CommandSource::Sequence); });
}

ModuleController::~ModuleController()
{
    // The runner writes its last entry while its journal and the history still exist.
    delete m_runner;
    m_runner = nullptr;
}

void ModuleController::setJournal(SequenceJournal *journal)
{
    m_journal->m_extra = journal;
}

QPair<int, int> ModuleController::range(int channel) const
{
    const SCPI_Parser *engine = m_session.link();
    const int count = engine ? engine->module().channelCount() : 0;
    return channel == count ? qMakePair(0, count - 1) : qMakePair(channel, channel);
}

bool ModuleController::isHeldOff(int channel) const
{
    return m_heldOff.value(channel, false);
}

void ModuleController::holdOff(int first, int last)
{
    for (int c = qMax(0, first); c <= last && c < m_heldOff.size(); ++c)
        m_heldOff[c] = true;
}

void ModuleController::onLinkChanged(SCPI_Parser *link)
{
    // Held-off channels stay held across links; what the new link shows starts afresh.
    const int records = link ? link->module().recordCount() : 0;
    while (m_heldOff.size() < records)
        m_heldOff.append(false);
    m_wasOn = QList<bool>(records, false);
}

void ModuleController::onAnswer()
{
    const SCPI_Parser *engine = m_session.link();
    if (!engine)
        return;
    if (engine->queuedCommandCount() == 0)
        m_pendingOffs.clear();
    const Module &module = engine->module();
    const int count = qMin(module.channelCount(), int(m_wasOn.size()));
    for (int c = 0; c < count; ++c) {
        const bool on = module.channel(c).status() & CZelkChannelStatusBits::On;
        if (m_wasOn.at(c) && !on)
            m_heldOff[c] = true;
        m_wasOn[c] = on;
    }
}

void ModuleController::onOnline()
{
    SCPI_Parser *engine = m_session.link();
    if (!engine || m_pendingOffs.isEmpty())
        return;
    const int count = engine->module().channelCount();
    for (const ChannelCommand &off : std::as_const(m_pendingOffs)) {
        // A command for all channels of another count would name channels that are not there.
        if (off.channel <= count)
            m_gate.passOff(off, *engine);
    }
    qCInfo(lcSession) << "offs sent again after the link came back:" << m_pendingOffs.size();
    m_session.releaseCycle();
}

QString ModuleController::admit(CommandSource source)
{
    if (source != CommandSource::Remote)
        return QString();
    const SCPI_Parser *engine = m_session.link();
    return m_gate.admit(engine ? engine->queuedCommandCount() : 0);
}

QString ModuleController::command(const ChannelCommand &c, CommandSource source, int *dropped)
{
    if (dropped)
        *dropped = 0;
    SCPI_Parser *engine = m_session.link();
    // The bridge takes commands only for a module it has seen whole; the operator at the panel
    // may command as soon as the link is there.
    const bool reachable = engine && (source == CommandSource::Operator || m_session.isOnline());
    const auto [first, last] = range(c.channel);
    if (c.isOff()) {
        // Even an off that cannot reach the module holds its channels off and ends the
        // sequence: whoever sent it wanted them off.
        holdOff(first, last);
        if (reachable) {
            const int gone = m_gate.passOff(c, *engine);
            if (dropped)
                *dropped = gone;
            m_pendingOffs.append(c);
            m_session.releaseCycle();
        } else {
            m_pendingOffs.append(c);
        }
        // After the off, so that the sequence's own commands follow it rather than being dropped.
        if (source != CommandSource::Sequence && m_runner->isActive()) {
            for (int ch : m_runner->channels()) {
                if (ch >= first && ch <= last) {
                    m_runner->switchedOffByOthers(
                        c.describe(engine ? engine->module().channelCount() : -1));
                    break;
                }
            }
        }
        return reachable ? QString() : tr("module offline");
    }
    if (!reachable)
        return tr("module offline");
    if (const QString why = admit(source); !why.isEmpty())
        return why;
    const bool switchOn = c.kind == ChannelCommand::Kind::On && c.flag;
    if (source == CommandSource::Sequence) {
        const Module &module = engine->module();
        for (int ch = first; ch <= last; ++ch) {
            if (!isHeldOff(ch))
                continue;
            const bool raises = c.kind == ChannelCommand::Kind::Voltage
                && std::abs(double(c.value)) > std::abs(double(module.channel(ch).voltageSet()));
            if (switchOn || raises)
                return tr("channel %1 was switched off by someone else: the sequence neither "
                          "switches it on nor raises its voltage")
                    .arg(ch);
        }
    } else if (switchOn) {
        // The operator's explicit on: the channel may come on again.
        for (int ch = qMax(0, first); ch <= last && ch < m_heldOff.size(); ++ch)
            m_heldOff[ch] = false;
    }
    c.apply(*engine);
    m_session.releaseCycle();
    return QString();
}

bool ModuleController::consoleLine(const QString &line)
{
    SCPI_Parser *engine = m_session.link();
    if (!engine)
        return false;
    static const QRegularExpression switching(
        QStringLiteral(R"(:VOLT(?:AGE)?\s+(ON|OFF|EMCY\s+OFF)\s*,\s*\(@(\d+)(?:-(\d+))?\))"),
        QRegularExpression::CaseInsensitiveOption);
    bool off = false;
    QList<QPair<int, int>> offs;
    QRegularExpressionMatchIterator it = switching.globalMatch(line);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const int first = m.captured(2).toInt();
        const int last = m.captured(3).isEmpty() ? first : m.captured(3).toInt();
        if (m.captured(1).compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0) {
            for (int c = first; c <= last && c < m_heldOff.size(); ++c)
                m_heldOff[c] = false;
            continue;
        }
        off = true;
        holdOff(first, last);
        offs.append({ first, last });
    }
    engine->enqueueConsoleLine(line);
    if (off)
        engine->promoteLastCommand();
    m_session.releaseCycle();
    for (const auto &[first, last] : std::as_const(offs)) {
        const QList<int> channels = m_runner->channels();
        const bool touches = std::any_of(channels.begin(), channels.end(),
            [first = first, last = last](int c) { return c >= first && c <= last; });
        if (m_runner->isActive() && touches) {
            m_runner->switchedOffByOthers(tr("an off from the console"));
            break;
        }
    }
    return true;
}

QString ModuleController::startSequence(const Sequence &sequence, CommandSource source)
{
    if (const QString why = admit(source); !why.isEmpty())
        return why;
    // Starting a sequence switches its channels on: the operator's explicit on for them.
    const QList<bool> before = m_heldOff;
    const int records = int(m_heldOff.size());
    QList<int> channels = sequence.channels;
    if (channels.isEmpty())
        for (int c = 0; c < records; ++c)
            channels.append(c);
    for (int c : channels)
        if (c >= 0 && c < records)
            m_heldOff[c] = false;
    QString why;
    if (!m_runner->start(sequence, &why)) {
        m_heldOff = before;
        return why;
    }
    return QString();
}

QString ModuleController::pauseSequence(CommandSource source)
{
    if (!m_runner->isActive())
        return tr("no sequence is running");
    if (m_runner->state() != SequenceRunner::State::Running)
        return tr("the sequence is not running");
    if (const QString why = admit(source); !why.isEmpty())
        return why;
    m_runner->pause();
    return QString();
}

QString ModuleController::resumeSequence(CommandSource source)
{
    if (m_runner->state() != SequenceRunner::State::Paused)
        return tr("the sequence is not paused");
    if (const QString why = admit(source); !why.isEmpty())
        return why;
    QString why;
    if (!m_runner->resume(&why))
        return why;
    return QString();
}

QString ModuleController::abortSequence(CommandSource)
{
    if (!m_runner->isActive())
        return tr("no sequence is running");
    m_runner->abort();
    return QString();
}
