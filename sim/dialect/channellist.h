#pragma once

#include <QByteArray>
#include <QList>

namespace vornsim {

/// The parameters of one command split at top-level commas, with a trailing channel list taken
/// apart: "1000,(@2)" gives the value "1000" and channel 2; "EMCY OFF,(@0-3)" gives "EMCY OFF"
/// and channels 0 to 3; "(@0-3)" (the blank form of a query) gives no value and four channels.
struct Parameters
{
    QList<QByteArray> values; ///< trimmed, in order
    bool hasList = false; ///< a "(@...)" list was present
    bool listValid = true; ///< the list parsed and every entry lies in 0 to count - 1
    QList<int> channels; ///< the addressed indexes in the order given, no duplicates
};

/// Parses `text` as parameters; list entries are checked against `count` (channels, or outputs
/// for the output selection). Entries may be single numbers or ranges "a-b", separated by ','.
Parameters parseParameters(const QByteArray &text, int count);

} // namespace vornsim
