#include "seal/PasswordKey.h"

#include <argon2.h>
#include <openssl/crypto.h>
#include <openssl/rand.h>

#include <array>

namespace {

// A stored slot may name another cost; one beyond these bounds is refused
// rather than allowed to take the machine's memory or minutes of work.
bool acceptable(Argon2Cost cost)
{
    return cost.memoryKiB >= 8192 && cost.memoryKiB <= 1048576 && cost.passes >= 1 && cost.passes <= 16
        && cost.lanes >= 1 && cost.lanes <= 4;
}

}

PasswordKey::PasswordKey(SecretKey key, QByteArray salt, Argon2Cost cost)
    : m_key(std::move(key))
    , m_salt(std::move(salt))
    , m_cost(cost)
{
}

PasswordKey PasswordKey::derive(const QString &password)
{
    QByteArray salt(SaltSize, Qt::Uninitialized);
    if (RAND_bytes(reinterpret_cast<unsigned char *>(salt.data()), SaltSize) != 1)
        std::abort();
    std::optional<PasswordKey> key = derive(password, salt, Argon2Cost{});
    if (!key)
        std::abort();
    return std::move(*key);
}

std::optional<PasswordKey> PasswordKey::derive(const QString &password, const QByteArray &salt, Argon2Cost cost)
{
    if (!acceptable(cost) || salt.size() != SaltSize)
        return std::nullopt;
    QByteArray utf8 = password.toUtf8();
    std::array<unsigned char, SecretKey::Size> raw{};
    const int result = argon2id_hash_raw(cost.passes, cost.memoryKiB, cost.lanes, utf8.constData(),
                                         std::size_t(utf8.size()), salt.constData(), std::size_t(salt.size()),
                                         raw.data(), raw.size());
    OPENSSL_cleanse(utf8.data(), std::size_t(utf8.size()));
    std::optional<SecretKey> key = SecretKey::fromBytes(QByteArrayView(raw.data(), qsizetype(raw.size())));
    OPENSSL_cleanse(raw.data(), raw.size());
    if (result != ARGON2_OK || !key)
        return std::nullopt;
    return PasswordKey(std::move(*key), salt, cost);
}

const SecretKey &PasswordKey::key() const
{
    return m_key;
}

const QByteArray &PasswordKey::salt() const
{
    return m_salt;
}

Argon2Cost PasswordKey::cost() const
{
    return m_cost;
}
