#include "seal/SealedValue.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

namespace {

constexpr char Version = 1;
constexpr int NonceSize = 12;
constexpr int TagSize = 16;

const unsigned char *bytes(QByteArrayView view)
{
    return reinterpret_cast<const unsigned char *>(view.data());
}

unsigned char *bytes(QByteArray &array, qsizetype offset = 0)
{
    return reinterpret_cast<unsigned char *>(array.data() + offset);
}

}

SealedValue::SealedValue(const SecretKey &key)
    : m_key(key)
    , m_context(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free)
{
    // The key schedule is set once; each value then sets only its nonce.
    if (!m_context || EVP_CipherInit_ex(m_context.get(), EVP_aes_256_gcm(), nullptr, m_key.data(), nullptr, 1) != 1)
        m_context.reset();
}

SealedValue::~SealedValue() = default;

QByteArray SealedValue::seal(QByteArrayView plain, QByteArrayView binding)
{
    QByteArray sealed(1 + NonceSize + plain.size() + TagSize, Qt::Uninitialized);
    sealed[0] = Version;
    int length = 0;
    const bool ok = m_context && RAND_bytes(bytes(sealed, 1), NonceSize) == 1
        && EVP_CipherInit_ex(m_context.get(), nullptr, nullptr, nullptr, bytes(sealed, 1), 1) == 1
        && EVP_CipherUpdate(m_context.get(), nullptr, &length, bytes(binding), int(binding.size())) == 1
        && EVP_CipherUpdate(m_context.get(), bytes(sealed, 1 + NonceSize), &length, bytes(plain), int(plain.size())) == 1
        && EVP_CipherFinal_ex(m_context.get(), bytes(sealed, 1 + NonceSize + length), &length) == 1
        && EVP_CIPHER_CTX_ctrl(m_context.get(), EVP_CTRL_GCM_GET_TAG, TagSize,
                               bytes(sealed, sealed.size() - TagSize)) == 1;
    return ok ? sealed : QByteArray();
}

std::optional<QByteArray> SealedValue::open(QByteArrayView sealed, QByteArrayView binding)
{
    if (!m_context || sealed.size() < Overhead || sealed[0] != Version)
        return std::nullopt;
    const QByteArrayView cipher = sealed.sliced(1 + NonceSize, sealed.size() - Overhead);
    QByteArray tag = sealed.last(TagSize).toByteArray();
    QByteArray plain(cipher.size(), Qt::Uninitialized);
    int length = 0;
    const bool ok = EVP_CipherInit_ex(m_context.get(), nullptr, nullptr, nullptr, bytes(sealed.sliced(1)), 0) == 1
        && EVP_CipherUpdate(m_context.get(), nullptr, &length, bytes(binding), int(binding.size())) == 1
        && EVP_CipherUpdate(m_context.get(), bytes(plain), &length, bytes(cipher), int(cipher.size())) == 1
        && EVP_CIPHER_CTX_ctrl(m_context.get(), EVP_CTRL_GCM_SET_TAG, TagSize, tag.data()) == 1
        && EVP_CipherFinal_ex(m_context.get(), bytes(plain, length), &length) == 1;
    // The context is left for encryption or decryption alike: each call sets its direction.
    if (!ok)
        return std::nullopt;
    return plain;
}
