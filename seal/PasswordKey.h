#pragma once

#include "seal/SecretKey.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Argon2id's cost: memory in KiB, passes, lanes.
struct Argon2Cost
{
    quint32 memoryKiB = 65536;
    quint32 passes = 4;
    quint32 lanes = 1;

    bool operator==(const Argon2Cost &) const = default;
};

// The key that an account's password gives with Argon2id (the reference
// libargon2) and one random salt: it wraps the library key in that
// account's slot. One derivation takes about a quarter second here, which
// is what each guess at a password costs.
class PasswordKey
{
public:
    static constexpr int SaltSize = 16;

    // With a fresh salt and the default cost.
    static PasswordKey derive(const QString &password);
    // With a given salt and cost, as a stored slot names them; nothing when
    // the cost is out of the range this build accepts or Argon2 fails.
    static std::optional<PasswordKey> derive(const QString &password, const QByteArray &salt, Argon2Cost cost);

    const SecretKey &key() const;
    const QByteArray &salt() const;
    Argon2Cost cost() const;

private:
    PasswordKey(SecretKey key, QByteArray salt, Argon2Cost cost);

    SecretKey m_key;
    QByteArray m_salt;
    Argon2Cost m_cost;
};
