#pragma once

#include <QByteArrayView>

#include <array>
#include <optional>

// 32 secret bytes that live only in this process's memory: wiped with
// OPENSSL_cleanse when dropped, compared in constant time.
class SecretKey
{
public:
    static constexpr int Size = 32;

    // Fresh bytes from OpenSSL's random generator.
    static SecretKey random();
    // Exactly Size bytes, or nothing.
    static std::optional<SecretKey> fromBytes(QByteArrayView bytes);

    SecretKey(const SecretKey &other);
    SecretKey &operator=(const SecretKey &other);
    ~SecretKey();

    // A key for one purpose, derived from this one with HKDF-SHA-256.
    SecretKey derive(QByteArrayView purpose) const;
    // HMAC-SHA-256 of data under this key.
    QByteArray mac(QByteArrayView data) const;

    const unsigned char *data() const;
    bool operator==(const SecretKey &other) const;

private:
    SecretKey();

    std::array<unsigned char, Size> m_bytes{};
};
