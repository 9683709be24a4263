#pragma once

#include <QString>

// MD5 of the password's GBK bytes, without terminator, as 32 lower-case
// hexadecimal digits. The empty password is digested like any other.
QString passwordDigest(const QString &password);

// True when the password's digest equals storedDigest byte for byte. An
// empty stored digest (no password on file) never matches.
bool passwordMatches(const QString &password, const QString &storedDigest);
