#pragma once

#include <QLoggingCategory>

/// Traces of the channel table and the status-bit tables ("vorn.widgets").
Q_DECLARE_LOGGING_CATEGORY(lcWidgets)
