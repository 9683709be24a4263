#pragma once

#include "config/ConfigError.h"

#include <QByteArray>
#include <QByteArrayView>

#include <expected>

// PBKDF2-HMAC-SHA256 keys for the protected files, remembered within the
// process for the last few (password, salt, iterations) triples: every item
// access opens the file afresh, and only a rewrite brings a new salt.
class DerivedKeyCache
{
public:
    static constexpr qsizetype KeySize = 32;

    // The 32-byte key, derived or remembered; CipherFailed when OpenSSL fails.
    static std::expected<QByteArray, ConfigError> key(QByteArrayView password, QByteArrayView salt,
                                                      quint32 iterations);
    // Forgets every key, so that the next open derives its key again.
    static void clear();
};
