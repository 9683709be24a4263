#include "auth/AuthLog.h"

Q_LOGGING_CATEGORY(lcAuth, "lumbra.auth")
