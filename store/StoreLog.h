#pragma once

#include <QLoggingCategory>

// What the picture store logs: the SQLite details behind a failure.
Q_DECLARE_LOGGING_CATEGORY(lcStore)
