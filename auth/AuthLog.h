#pragma once

#include <QLoggingCategory>

// What the log-in and password windows log.
Q_DECLARE_LOGGING_CATEGORY(lcAuth)
