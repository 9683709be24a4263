#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Texts as the configuration file and the digests hold them: the bytes of
// Windows' GBK (CP936, where "€" is 0x80) for every character it has, and
// GB18030's bytes for the others, so that no two texts give the same bytes.
// fromGbk reads such bytes back.
QByteArray toGbk(const QString &text);
QString fromGbk(QByteArrayView bytes);

// The bytes without their leading and trailing blanks: spaces and tabs.
QByteArrayView trimmedBlanks(QByteArrayView bytes);
// The bytes with every ASCII letter upper-cased. Both bytes of a double-byte
// character stay as they are, since a trail byte may lie in 0x61..0x7A.
QByteArray upperAsciiLetters(QByteArrayView bytes);

// The pieces between the separators, in order; a separator at the very end
// adds no empty last piece.
QStringList splitAtSeparator(const QString &text, const QString &separator);
