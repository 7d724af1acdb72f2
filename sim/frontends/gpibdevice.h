#pragma once

#include "faults/faultplan.h"
#include "frontends/linebuffer.h"

#include <QByteArray>

namespace vornsim {

class SimModule;

/// One instrument on the simulated GPIB bus: a module, or a silent listener when `module` is
/// null. Holds the module's unread output and the input of an unfinished message.
struct GpibDevice
{
    GpibDevice(SimModule *m, const FaultOptions *faults)
        : module(m)
        , plan(faults)
    {
    }

    SimModule *module = nullptr; ///< not owned; null for a silent listener
    FaultPlan plan;
    LineBuffer input;
    QByteArray output; ///< answer bytes ready to be read
    quint64 generation = 0; ///< bumped on each write, so late answers of old commands are dropped
};

} // namespace vornsim
