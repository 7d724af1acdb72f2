#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

namespace vornsim {

class SimModule;

/// Runs one line of the control port on `module` (see controlCommandHelp()) and returns the
/// answer without line end: "ok", or "error: " and what was wrong. Never throws, whatever the
/// line holds.
QByteArray runControlCommand(SimModule &module, const QByteArray &line);

/// Runs one line of the control port on one of `modules`: "@N COMMAND" on the N-th (from 0),
/// a line without the prefix on the first.
QByteArray runControlCommand(const std::vector<SimModule *> &modules, const QByteArray &line);

/// One line per command of the control port, for --help and the error of an unknown command.
QString controlCommandHelp();

/// A channel word of the control port and the command line: a number from 0 to
/// `channelCount` - 1, or "all". False with the reason in `error` otherwise.
bool parseChannelWord(
    const QByteArray &word, int channelCount, QList<int> *channels, QString *error);

/// A load: a resistance above 0 in ohms and an optional leakage of 0 or more in A per V (empty
/// `leakage` for none). False with the reason in `error` otherwise.
bool parseLoadValues(const QByteArray &ohms, const QByteArray &leakage, double *ohmsValue,
    double *leakageValue, QString *error);

} // namespace vornsim
