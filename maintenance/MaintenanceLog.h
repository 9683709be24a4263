#pragma once

#include <QLoggingCategory>

// What backups and restores log.
Q_DECLARE_LOGGING_CATEGORY(lcMaintenance)
