#include "seal/SecretKey.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/kdf.h>
#include <openssl/rand.h>

#include <QByteArray>

#include <cstdlib>
#include <memory>

SecretKey::SecretKey() = default;

SecretKey SecretKey::random()
{
    SecretKey key;
    // Without random bytes no key can be trusted: nothing sensible is left.
    if (RAND_priv_bytes(key.m_bytes.data(), Size) != 1)
        std::abort();
    return key;
}

std::optional<SecretKey> SecretKey::fromBytes(QByteArrayView bytes)
{
    if (bytes.size() != Size)
        return std::nullopt;
    SecretKey key;
    std::copy(bytes.begin(), bytes.end(), key.m_bytes.begin());
    return key;
}

SecretKey::SecretKey(const SecretKey &other) = default;

SecretKey &SecretKey::operator=(const SecretKey &other) = default;

SecretKey::~SecretKey()
{
    OPENSSL_cleanse(m_bytes.data(), m_bytes.size());
}

SecretKey SecretKey::derive(QByteArrayView purpose) const
{
    SecretKey derived;
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> context(EVP_PKEY_CTX_new_id(EVP_PKEY_HKDF, nullptr),
                                                                        EVP_PKEY_CTX_free);
    std::size_t length = Size;
    const bool derivedOk = context && EVP_PKEY_derive_init(context.get()) == 1
        && EVP_PKEY_CTX_set_hkdf_md(context.get(), EVP_sha256()) == 1
        && EVP_PKEY_CTX_set1_hkdf_key(context.get(), m_bytes.data(), Size) == 1
        && EVP_PKEY_CTX_add1_hkdf_info(context.get(), reinterpret_cast<const unsigned char *>(purpose.data()),
                                       int(purpose.size())) == 1
        && EVP_PKEY_derive(context.get(), derived.m_bytes.data(), &length) == 1 && length == std::size_t(Size);
    if (!derivedOk)
        std::abort();
    return derived;
}

QByteArray SecretKey::mac(QByteArrayView data) const
{
    QByteArray out(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    if (!HMAC(EVP_sha256(), m_bytes.data(), Size, reinterpret_cast<const unsigned char *>(data.data()),
              std::size_t(data.size()), reinterpret_cast<unsigned char *>(out.data()), &length))
        std::abort();
    out.truncate(int(length));
    return out;
}

const unsigned char *SecretKey::data() const
{
    return m_bytes.data();
}

bool SecretKey::operator==(const SecretKey &other) const
{
    return CRYPTO_memcmp(m_bytes.data(), other.m_bytes.data(), Size) == 0;
}
