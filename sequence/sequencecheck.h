#pragma once

#include <QList>
#include <QString>

class Module;
struct Sequence;

/// Whether \a sequence can start (or resume) on \a module: the channels it names are there
/// (when it names none, all of the module's), none of them is kept from coming on by a safety
/// condition, and every step's target voltage (also one in percent of the nominal voltage) and
/// current lie in each channel's allowed range (Channel::allowedVoltage(), allowedCurrent());
/// a channel whose nominal voltage or current is not a finite number other than 0 takes no
/// sequence. Returns why not, or an empty text; \a channels gets the channels the sequence runs
/// on.
QString checkSequenceOnModule(const Sequence &sequence, const Module &module, QList<int> *channels);
