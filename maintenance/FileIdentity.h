#pragma once

#include <QString>

// True when both paths name one existing file, however they are spelled
// (links, "." and "..", letter case where the file system ignores it).
bool isSameFile(const QString &first, const QString &second);
