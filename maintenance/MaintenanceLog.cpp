#include "maintenance/MaintenanceLog.h"

Q_LOGGING_CATEGORY(lcMaintenance, "lumbra.maintenance")
