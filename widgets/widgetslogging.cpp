#include "widgetslogging.h"

Q_LOGGING_CATEGORY(lcWidgets, "vorn.widgets")
