#pragma once

#include <QList>
#include <QString>

class Module;
struct Sequence;

/// Whether \a sequence can start (or resume) on \a module: the channels it names are there
/// (when it names none, all of the module's), none of them is kept from coming on by a safety
/// condition, and no step goes beyond a channel's nominal voltage. Returns why not, or an empty
/// text; \a channels gets the channels the sequence runs on.
QString checkSequenceOnModule(const Sequence &sequence, const Module &module, QList<int> *channels);
