#pragma once

#include <QByteArray>
#include <QString>

// The plain content of a protected configuration file, read and written
// directly with the program's file password, for setting up and checking
// files byte for byte.
QByteArray readPlainContent(const QString &path);
void writePlainContent(const QString &path, const QByteArray &plain);
