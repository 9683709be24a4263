#pragma once

#include "config/ConfigError.h"

#include <QByteArray>
#include <QByteArrayView>

#include <expected>

// How a protected file lies on disk:
//
//   offset  size  field
//        0     8  magic "LUMBRAPF"
//        8     2  format version, big-endian: 1
//       10     2  key derivation, big-endian: 1 = PBKDF2-HMAC-SHA256
//       12     4  PBKDF2 iterations, big-endian
//       16    16  random salt
//       32    12  random AES-GCM nonce
//       44     n  AES-256-GCM ciphertext of the whole plain content
//     44+n    16  GCM tag
//
// The 44 header bytes are the cipher's associated data, so a changed header
// fails to open just as changed ciphertext does.
namespace ProtectedFileFormat {

inline constexpr QByteArrayView Magic = "LUMBRAPF";
inline constexpr quint16 Version = 1;
inline constexpr quint16 Pbkdf2Sha256 = 1;
// The file password is built into every copy of the program, so iterations
// protect nothing here: the secrets in the file (key slots) carry their own
// Argon2id cost. New files take the fewest that every build reads, which
// keeps a cold open, and so the start, well under a millisecond.
inline constexpr quint32 MinIterations = 1'000;
inline constexpr quint32 DefaultIterations = MinIterations;
inline constexpr quint32 MaxIterations = 2'000'000;
inline constexpr qsizetype SaltSize = 16;
inline constexpr qsizetype NonceSize = 12;
inline constexpr qsizetype HeaderSize = 44;
inline constexpr qsizetype TagSize = 16;
// Far above any configuration file; larger files are not read at all.
inline constexpr qsizetype MaxFileSize = 16 * 1024 * 1024;

// Enciphers plain with a fresh salt and nonce; TooLarge for more than a
// file holds, CipherFailed when OpenSSL fails.
std::expected<QByteArray, ConfigError> encode(QByteArrayView plain, QByteArrayView password,
                                              quint32 iterations = DefaultIterations);
// Authenticates and deciphers stored bytes into the plain content; no
// unauthenticated byte comes back. Foreign, Truncated, Rejected or
// CipherFailed when it cannot.
std::expected<QByteArray, ConfigError> decode(QByteArrayView stored, QByteArrayView password);

}
