#pragma once

#include "seal/SealedValue.h"
#include "seal/SecretKey.h"

#include <QByteArray>

#include <memory>

// The key of a sealed library: 256 random bits, made once when the library
// is sealed and never written in the clear. Separate keys derived from it
// seal the values and key the picture fingerprints; its identifier (a keyed
// hash, never the key) tells which library a key slot belongs to.
// Shared read-only between the window and the reader threads.
class LibraryKey
{
public:
    static std::shared_ptr<const LibraryKey> generate();
    static std::shared_ptr<const LibraryKey> fromSecret(const SecretKey &secret);

    // The 32 bytes that a key slot wraps.
    const SecretKey &secret() const;
    // 16 bytes that name this key without revealing it.
    QByteArray identifier() const;
    // The secret sealed under wrappingKey and bound to binding: what a key
    // slot keeps.
    QByteArray wrap(const SecretKey &wrappingKey, QByteArrayView binding) const;
    // The key that wrapped holds under wrappingKey and binding, when its
    // identifier is the one given; null otherwise.
    static std::shared_ptr<const LibraryKey> unwrap(const SecretKey &wrappingKey, QByteArrayView wrapped,
                                                    QByteArrayView binding, QByteArrayView identifier);
    // A sealer for one thread, under the values key.
    std::unique_ptr<SealedValue> sealer() const;
    // HMAC-SHA-256 of picture bytes under the fingerprint key.
    QByteArray fingerprint(QByteArrayView bytes) const;

private:
    explicit LibraryKey(const SecretKey &secret);

    SecretKey m_secret;
    SecretKey m_valueKey;
    SecretKey m_fingerprintKey;
    QByteArray m_identifier;
};
