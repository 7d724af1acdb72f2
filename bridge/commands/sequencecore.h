#pragma once

#include "sequencejournal.h"
#include "sequenceprogress.h"
#include "sequencerunner.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class ModuleController;

/// The side of a module's ramp sequences that lives with the module's engine, beside its
/// PollerCore: on the bridge's thread, or on the worker thread of a GPIB board. It steers the
/// runner of the module's controller, as a client of the broker, and is the controller's second
/// journal; run(), steer() and abandon() must be called on its thread (ModuleSequence queues them
/// there). Everything it has to say leaves by signals, so that ModuleSequence on the bridge's
/// thread receives it in order with the module's values: each journal entry, and the progress after
/// every change.
class SequenceCore : public QObject, public SequenceJournal
{
    Q_OBJECT

public:
    /// \a controller is not owned and must outlive this object.
    explicit SequenceCore(ModuleController *controller, QObject *parent = nullptr);
    ~SequenceCore() override;

    /// Starts \a sequence, read from \a file; returns why it can not start, or an empty text.
    QString run(const Sequence &sequence, const QString &file);
    /// \a command is "pause", "resume" or "abort"; returns why it was refused, or an empty text.
    QString steer(const QByteArray &command);
    /// Ends a running sequence without a command, said in the journal.
    void abandon(const QString &why);

    SequenceProgress progress() const;
    /// The controller's runner, for actions the bridge takes on its own (clash, broker lost).
    SequenceRunner *runner() const;

    void info(const QString &text) override { emit entry(false, text); }
    void alarm(const QString &text) override { emit entry(true, text); }

signals:
    void entry(bool alarm, const QString &text);
    /// The state (\a force), the step, the phase or the times changed.
    void changed(const SequenceProgress &progress, bool force);

private:
    ModuleController *m_controller;
    const SequenceRunner *m_runner;
    QString m_file;
};
