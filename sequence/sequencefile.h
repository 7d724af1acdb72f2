#pragma once

#include "sequence.h"

#include <QByteArray>
#include <QString>

/// The sequence file: a small JSON object with a "version" field, written and read with Qt's
/// JSON classes. A file that cannot be used is refused whole, with a message that names the
/// key ("steps[2] (step 3).hold": the step also as the window counts it) and the reason, in the
/// program's language with numbers in its locale's form.
///
///     { "version": 1, "name": "...", "channels": "all" | "0-3, 5" | [0, 1],
///       "steps": [ { "voltage": 250 | "percent": 10, "rampSpeed": 50, "current": 0.002,
///                    "hold": 60, "untilStable": true, "tolerance": 5,
///                    "currentChange": 1e-7, "window": 10, "timeout": 600 } ],
///       "safety": { "rampDownSpeed": 100, "abort": "rampDown",
///                   "trip": "rampDown", "arcError": "off", "emergencyOff": "off",
///                   "inhibit": "rampDown", "safetyLoop": "off", "linkLost": "hold",
///                   "timeout": "hold", "current": { "above": 0.003, "action": "off" },
///                   "arcs": { "count": 3, "minutes": 10, "action": "rampDown" } } }
///
/// Actions are "hold", "rampDown", "off", or "ignore" to switch a rule off.
namespace SequenceFile {

/// Files larger than this are refused unread.
constexpr qint64 MaxBytes = 1024 * 1024;

/// Reads \a json into \a sequence. Returns an empty text on success, else the message; the
/// sequence is then left unchanged.
QString parse(const QByteArray &json, Sequence *sequence);
/// The file's text for \a sequence; parse() gives the same sequence back.
QByteArray toJson(const Sequence &sequence);

/// parse() for a file; the message also says when the file cannot be read.
QString load(const QString &path, Sequence *sequence);
/// Writes the file; an empty text on success, else the message.
QString save(const QString &path, const Sequence &sequence);

} // namespace SequenceFile
