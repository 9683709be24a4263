#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for setting up and checking files byte for
// byte. A read of a missing file gives no bytes; a failed write is reported
// as a test failure and gives false.
QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);
