#pragma once

#include <QLoggingCategory>

// What the main window and its picture operations log.
Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)
