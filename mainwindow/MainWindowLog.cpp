#include "mainwindow/MainWindowLog.h"

Q_LOGGING_CATEGORY(lcMainWindow, "lumbra.mainwindow")
