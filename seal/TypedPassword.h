#pragma once

#include <QByteArray>
#include <QString>

// A password typed at log-in, kept as a keyed hash under a random key of
// this process only, so that a password typed later is compared with it at
// once, without a slow derivation and without keeping the password.
class TypedPassword
{
public:
    TypedPassword() = default;
    explicit TypedPassword(const QString &password);

    bool isSet() const;
    bool matches(const QString &typed) const;

private:
    QByteArray m_mac;
};
