#include "config/DerivedKeyCache.h"

#include "config/OpenSslHandles.h"

#include <openssl/core_names.h>
#include <openssl/params.h>

#include <deque>
#include <mutex>
#include <optional>

namespace {

struct CachedKey
{
    QByteArray password;
    QByteArray salt;
    quint32 iterations = 0;
    QByteArray key;
};

// A handful covers the file of this run and the one just rewritten.
constexpr std::size_t CacheSize = 8;

std::mutex cacheMutex;
std::deque<CachedKey> cachedKeys;

std::optional<QByteArray> derive(QByteArrayView password, QByteArrayView salt, quint32 iterations)
{
    const KdfMethod method(EVP_KDF_fetch(nullptr, OSSL_KDF_NAME_PBKDF2, nullptr));
    if (!method)
        return std::nullopt;
    const KdfContext context(EVP_KDF_CTX_new(method.get()));
    if (!context)
        return std::nullopt;
    // OpenSSL wants a real pointer even for the empty password.
    static char emptyPassword = 0;
    void *passwordData = password.isEmpty() ? &emptyPassword : const_cast<char *>(password.data());
    unsigned int iterationCount = iterations;
    char digestName[] = "SHA256";
    const OSSL_PARAM parameters[] = {
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_PASSWORD, passwordData, std::size_t(password.size())),
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_SALT, const_cast<char *>(salt.data()),
                                          std::size_t(salt.size())),
        OSSL_PARAM_construct_uint(OSSL_KDF_PARAM_ITER, &iterationCount),
        OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digestName, 0),
        OSSL_PARAM_construct_end(),
    };
    QByteArray key(DerivedKeyCache::KeySize, Qt::Uninitialized);
    if (EVP_KDF_derive(context.get(), reinterpret_cast<unsigned char *>(key.data()), std::size_t(key.size()),
                       parameters) != 1)
        return std::nullopt;
    return key;
}

}

std::expected<QByteArray, ConfigError> DerivedKeyCache::key(QByteArrayView password, QByteArrayView salt,
                                                            quint32 iterations)
{
    {
        const std::lock_guard lock(cacheMutex);
        for (const CachedKey &cached : cachedKeys) {
            if (cached.iterations == iterations && cached.salt == salt && cached.password == password)
                return cached.key;
        }
    }
    const std::optional<QByteArray> key = derive(password, salt, iterations);
    if (!key)
        return std::unexpected(ConfigError{ConfigReason::CipherFailed, QStringLiteral("PBKDF2 failed")});
    const std::lock_guard lock(cacheMutex);
    cachedKeys.push_front({password.toByteArray(), salt.toByteArray(), iterations, *key});
    if (cachedKeys.size() > CacheSize)
        cachedKeys.pop_back();
    return *key;
}

void DerivedKeyCache::clear()
{
    const std::lock_guard lock(cacheMutex);
    cachedKeys.clear();
}
