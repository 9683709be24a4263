#pragma once

#include <QString>

// One run's user and account file: the value that the window flow hands to
// the windows that need it.
struct Session
{
    // Full path of system.dat.
    QString configFilePath;
    // The account that logged in; empty until a log-in.
    QString userName;
};
