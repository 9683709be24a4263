#pragma once

#include "seal/SecretKey.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <optional>

struct evp_cipher_ctx_st;

// AES-256-GCM under one key, with a fresh random 12-byte nonce for every
// value sealed. A sealed value is a version byte, the nonce, the
// ciphertext and the 16-byte tag; the binding (where the value belongs) is
// authenticated as associated data, so a value moved elsewhere fails to
// open. One instance is not shared between threads; it keeps its cipher
// context, so that opening many small values costs little.
class SealedValue
{
public:
    // Bytes a sealed value has on top of its plain bytes.
    static constexpr int Overhead = 1 + 12 + 16;

    explicit SealedValue(const SecretKey &key);
    ~SealedValue();
    SealedValue(const SealedValue &) = delete;
    SealedValue &operator=(const SealedValue &) = delete;

    // Empty only when OpenSSL fails.
    QByteArray seal(QByteArrayView plain, QByteArrayView binding);
    // The plain bytes, or nothing for a wrong key, a wrong binding or an
    // altered or truncated value.
    std::optional<QByteArray> open(QByteArrayView sealed, QByteArrayView binding);

private:
    SecretKey m_key;
    std::unique_ptr<evp_cipher_ctx_st, void (*)(evp_cipher_ctx_st *)> m_context;
};
