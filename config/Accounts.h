#pragma once

#include "config/ConfigError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <expected>
#include <optional>

// The accounts in the configuration file: one section per account, named
// after it, holding the password value (an MD5 digest or a key slot) under
// the key "口令". The file is always opened with ConfigFilePassword.

extern const QString ConfigFilePassword;
// The key "口令" of the password value.
extern const QString PasswordItemKey;
// A section that is no account.
extern const QString CategorySection;

// The built-in default account, each list an item followed by the separator:
// the administrator, whose password "3196" the log-in box holds at start.
extern const QString DefaultListSeparator;
extern const QString DefaultUserNames;
extern const QString DefaultUserDigests;
// The administrator's published password.
extern const QString DefaultPassword;

// The file's sections, the first "分类信息" left out; why, when the file
// cannot be opened.
std::expected<QStringList, ConfigError> loadUserNames(const QString &configFilePath);
// Writes each name's digest, the digest at the same position; names
// without a digest are left out. Why the first that failed was not written.
std::expected<void, ConfigError> writeAccounts(const QString &configFilePath, const QStringList &names,
                                               const QStringList &digests);
// The account's stored digest; empty when there is none.
std::expected<QString, ConfigError> readUserDigest(const QString &configFilePath, const QString &name);
std::expected<void, ConfigError> writeUserDigest(const QString &configFilePath, const QString &name,
                                                 const QString &digest);

// The accounts offered for log-in: the file's, or, when it holds none, the
// built-in default account, which is then written to it.
struct OfferedAccounts
{
    QStringList names;
    // Why the default account, needed, could not be written.
    std::optional<ConfigError> defaultNotWritten;
};
OfferedAccounts offerAccounts(const QString &configFilePath);

// How many accounts with a password digest the stored bytes of an account
// file hold; why, when they do not open as an account file of this program.
std::expected<int, ConfigError> accountsWithDigest(QByteArrayView storedFile);
// The identifiers of the library keys that the key slots in those bytes
// record, one per account with a slot; empty for a file without slots or
// one that does not open.
QList<QByteArray> slotKeyIdentifiers(QByteArrayView storedFile);
