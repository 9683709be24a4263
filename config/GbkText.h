#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Texts as the configuration file holds them: GBK bytes. They pass through
// the GB18030 codec, which gives GBK's bytes for every GBK character and
// loses no other character.
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
