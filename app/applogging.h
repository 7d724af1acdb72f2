#pragma once

#include <QLoggingCategory>

/// The main window's traces (lost connection, discovery answers).
Q_DECLARE_LOGGING_CATEGORY(lcApp)
