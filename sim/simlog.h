#pragma once

#include <QLoggingCategory>

/// Traces of the module simulator: commands it does not understand, connections, faults.
Q_DECLARE_LOGGING_CATEGORY(lcSim)
