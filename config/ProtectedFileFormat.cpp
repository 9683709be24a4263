#include "config/ProtectedFileFormat.h"

#include "config/DerivedKeyCache.h"
#include "config/OpenSslHandles.h"

#include <QtEndian>

#include <openssl/rand.h>

namespace ProtectedFileFormat {

namespace {

constexpr qsizetype VersionOffset = 8;
constexpr qsizetype KdfOffset = 10;
constexpr qsizetype IterationsOffset = 12;
constexpr qsizetype SaltOffset = 16;
constexpr qsizetype NonceOffset = 32;

const unsigned char *bytesOf(QByteArrayView view)
{
    return reinterpret_cast<const unsigned char *>(view.data());
}

unsigned char *bytesOf(QByteArray &array)
{
    return reinterpret_cast<unsigned char *>(array.data());
}

std::unexpected<ConfigError> failure(ConfigReason reason, const char *what)
{
    return std::unexpected(ConfigError{reason, QString::fromLatin1(what)});
}

std::expected<QByteArray, ConfigError> randomBytes(qsizetype count)
{
    QByteArray bytes(count, Qt::Uninitialized);
    if (RAND_bytes(bytesOf(bytes), int(count)) != 1)
        return failure(ConfigReason::CipherFailed, "no random bytes");
    return bytes;
}

QByteArray headerFor(quint32 iterations, const QByteArray &salt, const QByteArray &nonce)
{
    QByteArray header = Magic.toByteArray();
    header.resize(HeaderSize);
    qToBigEndian<quint16>(Version, header.data() + VersionOffset);
    qToBigEndian<quint16>(Pbkdf2Sha256, header.data() + KdfOffset);
    qToBigEndian<quint32>(iterations, header.data() + IterationsOffset);
    header.replace(SaltOffset, SaltSize, salt);
    header.replace(NonceOffset, NonceSize, nonce);
    return header;
}

// Starts an AES-256-GCM context with key, nonce and the header as
// associated data; encrypting or decrypting as the caller says.
CipherContext startCipher(bool encrypting, const QByteArray &key, QByteArrayView nonce, QByteArrayView header)
{
    CipherContext context(EVP_CIPHER_CTX_new());
    if (!context)
        return nullptr;
    const int mode = encrypting ? 1 : 0;
    int unused = 0;
    if (EVP_CipherInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr, mode) != 1
        || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, int(NonceSize), nullptr) != 1
        || EVP_CipherInit_ex(context.get(), nullptr, nullptr, bytesOf(key), bytesOf(nonce), mode) != 1
        || EVP_CipherUpdate(context.get(), nullptr, &unused, bytesOf(header), int(header.size())) != 1)
        return nullptr;
    return context;
}

}

std::expected<QByteArray, ConfigError> encode(QByteArrayView plain, QByteArrayView password, quint32 iterations)
{
    if (plain.size() > MaxFileSize - HeaderSize - TagSize)
        return failure(ConfigReason::TooLarge, "more content than a protected file holds");
    const std::expected<QByteArray, ConfigError> salt = randomBytes(SaltSize);
    if (!salt)
        return std::unexpected(salt.error());
    const std::expected<QByteArray, ConfigError> nonce = randomBytes(NonceSize);
    if (!nonce)
        return std::unexpected(nonce.error());
    const std::expected<QByteArray, ConfigError> key = DerivedKeyCache::key(password, *salt, iterations);
    if (!key)
        return std::unexpected(key.error());
    const QByteArray header = headerFor(iterations, *salt, *nonce);
    const CipherContext context = startCipher(true, *key, *nonce, header);
    if (!context)
        return failure(ConfigReason::CipherFailed, "no cipher");

    QByteArray stored = header;
    stored.resize(HeaderSize + plain.size() + TagSize);
    unsigned char *out = bytesOf(stored) + HeaderSize;
    int written = 0;
    int finalWritten = 0;
    if (EVP_EncryptUpdate(context.get(), out, &written, bytesOf(plain), int(plain.size())) != 1
        || EVP_EncryptFinal_ex(context.get(), out + written, &finalWritten) != 1
        || written + finalWritten != plain.size()
        || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, int(TagSize), out + plain.size()) != 1)
        return failure(ConfigReason::CipherFailed, "encryption failed");
    return stored;
}

std::expected<QByteArray, ConfigError> decode(QByteArrayView stored, QByteArrayView password)
{
    if (stored.size() > MaxFileSize || !Magic.startsWith(stored.first(std::min(stored.size(), Magic.size()))))
        return failure(ConfigReason::Foreign, "no protected file");
    if (stored.size() < HeaderSize + TagSize)
        return failure(ConfigReason::Truncated, "shorter than its header and tag");
    const QByteArrayView header = stored.first(HeaderSize);
    const auto iterations = qFromBigEndian<quint32>(header.data() + IterationsOffset);
    if (qFromBigEndian<quint16>(header.data() + VersionOffset) != Version
        || qFromBigEndian<quint16>(header.data() + KdfOffset) != Pbkdf2Sha256
        || iterations < MinIterations || iterations > MaxIterations)
        return failure(ConfigReason::Foreign, "a version or key derivation this program does not know");

    const std::expected<QByteArray, ConfigError> key =
        DerivedKeyCache::key(password, header.sliced(SaltOffset, SaltSize), iterations);
    if (!key)
        return std::unexpected(key.error());
    const CipherContext context = startCipher(false, *key, header.sliced(NonceOffset, NonceSize), header);
    if (!context)
        return failure(ConfigReason::CipherFailed, "no cipher");

    const QByteArrayView ciphertext = stored.sliced(HeaderSize, stored.size() - HeaderSize - TagSize);
    QByteArray tag = stored.last(TagSize).toByteArray();
    QByteArray plain(ciphertext.size(), Qt::Uninitialized);
    int written = 0;
    int finalWritten = 0;
    if (EVP_DecryptUpdate(context.get(), bytesOf(plain), &written, bytesOf(ciphertext), int(ciphertext.size())) != 1
        || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, int(TagSize), tag.data()) != 1
        || EVP_DecryptFinal_ex(context.get(), bytesOf(plain) + written, &finalWritten) != 1)
        return failure(ConfigReason::Rejected, "not authentic: another password, or altered bytes");
    return plain;
}

}
