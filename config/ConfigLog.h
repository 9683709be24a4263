#pragma once

#include <QLoggingCategory>

// What the configuration and file code logs: the system's details behind a
// failure.
Q_DECLARE_LOGGING_CATEGORY(lcConfig)
