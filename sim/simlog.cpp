#include "simlog.h"

Q_LOGGING_CATEGORY(lcSim, "vorn.sim")
