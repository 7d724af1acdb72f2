#pragma once

#include "channelcommand.h"
#include "commandgate.h"
#include "eventhistory.h"
#include "modulesession.h"
#include "sequencerunner.h"

#include <QList>
#include <QObject>
#include <QString>

struct Sequence;
class SequenceJournal;

/// Who sent a command. The rules of the gate depend on it.
enum class CommandSource {
    /// The operator at the panel: table edits, prompts, menus, dialogs, the console.
    Operator,
    /// A command over the broker (the bridge's set topics and sequence topics).
    Remote,
    /// The module's own sequence runner.
    Sequence,
};

/// The one owner of a module: its session (link, watchdog, reconnection), its event history,
/// its sequence runner and its command gate. The panel, the bridge and the tests hold one per
/// module; windows and MQTT topics are clients of it. It lives on the thread of its session's
/// engine (a GPIB board's worker thread in the bridge).
///
/// Every command that can change a channel's high voltage goes through command() (the runner's
/// own commands too), and the gate applies one set of rules to all of them:
///
/// - An off or emergency off, from anyone, is never refused and never waits behind other
///   commands: it goes to the front of the engine's queue and drops the commands queued there.
/// - Everything else from the broker is refused while CommandGate::MaxQueued commands wait
///   ("busy") and beyond CommandGate::PerSecond a second; the sequence topics (run, pause,
///   resume) are held to the same limits. Abort is never refused.
/// - A channel switched off by anyone or anything (an off or emergency off, a trip, an arc
///   error, the inhibit input, an open safety loop, any off the module reports) is held off:
///   the runner may neither switch it on nor raise its set value until an operator switches it
///   on again (or starts a sequence on it, which switches its channels on).
/// - An off or emergency off that the runner did not send, for one of the running sequence's
///   channels, ends the sequence with its abort action (hold when the file says so); the runner
///   ends it itself on a trip, an arc error, an inhibit, an open safety loop and on any of its
///   channels found off (SequenceRunner).
/// - An off still queued when the link ends is sent again once the module is online on the
///   next link.
class ModuleController : public QObject
{
    Q_OBJECT

public:
    explicit ModuleController(QObject *parent = nullptr);
    ~ModuleController() override;

    ModuleSession *session() { return &m_session; }
    const ModuleSession *session() const { return &m_session; }
    EventHistory *history() { return &m_history; }
    SequenceRunner *runner() { return m_runner; }
    const SequenceRunner *runner() const { return m_runner; }

    /// Passes \a command through the gate to the module's engine. Returns why it was refused, or
    /// an empty text when it was queued; \a dropped gets the queued commands an off dropped. A
    /// command ends a pause between polling cycles, so that it leaves with the next request.
    QString command(const ChannelCommand &command, CommandSource source, int *dropped = nullptr);
    /// A line the operator typed in the SCPI console, queued as a console line. An off or
    /// emergency off in it (":VOLT OFF,(@1)", ":VOLT EMCY OFF,(@0-3)") goes to the front and
    /// counts as the operator's off; an on (":VOLT ON,(@1)") as the operator's on. False while
    /// no link is there.
    bool consoleLine(const QString &line);

    /// Starts \a sequence on the module; returns why it can not, or an empty text.
    QString startSequence(const Sequence &sequence, CommandSource source);
    /// Pauses (holds) the running sequence; returns why not, or an empty text.
    QString pauseSequence(CommandSource source);
    QString resumeSequence(CommandSource source);
    /// Takes the running sequence's abort action. Never refused while a sequence runs.
    QString abortSequence(CommandSource source);

    /// Whether channel \a channel is held off: the runner may not switch it on or raise its set
    /// value (see above).
    bool isHeldOff(int channel) const;

    /// A second journal beside the history: the panel's Sequence window, the bridge's
    /// sequence side. Not owned; null for none.
    void setJournal(SequenceJournal *journal);

signals:
    /// A command was refused; \a why says why.
    void commandRefused(const QString &what, const QString &why);

private:
    class Journal;

    QString admit(CommandSource source);
    void onAnswer();
    void onOnline();
    void onLinkChanged(SCPI_Parser *link);
    void holdOff(int first, int last);
    /// The channel range a command or an answer addresses.
    QPair<int, int> range(int channel) const;

    ModuleSession m_session;
    EventHistory m_history;
    CommandGate m_gate;
    std::unique_ptr<Journal> m_journal;
    /// After the session and the history, so that it ends first (a runner ended while active
    /// writes its last entry).
    SequenceRunner *m_runner = nullptr;
    /// Per channel: held off (see above).
    QList<bool> m_heldOff;
    /// Per channel: the module reported it on in the last answer.
    QList<bool> m_wasOn;
    /// Offs queued and not known to have left; sent again on the next link.
    QList<ChannelCommand> m_pendingOffs;
};
