#include "seal/TypedPassword.h"

#include "seal/SecretKey.h"

#include <openssl/crypto.h>

namespace {

const SecretKey &processKey()
{
    static const SecretKey key = SecretKey::random();
    return key;
}

}

TypedPassword::TypedPassword(const QString &password)
    : m_mac(processKey().mac(password.toUtf8()))
{
}

bool TypedPassword::isSet() const
{
    return !m_mac.isEmpty();
}

bool TypedPassword::matches(const QString &typed) const
{
    const QByteArray mac = processKey().mac(typed.toUtf8());
    return isSet() && CRYPTO_memcmp(mac.constData(), m_mac.constData(), std::size_t(mac.size())) == 0;
}
