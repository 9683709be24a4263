#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// The accounts in the configuration file: one section per account, named
// after it, holding the password digest under the key "口令". The file is
// always opened with ConfigFilePassword.

extern const QString ConfigFilePassword;
extern const QString PasswordKey;
// A section that is no account.
extern const QString CategorySection;

// The built-in default account, each list an item followed by the separator:
// the administrator, whose password "3196" the log-in box holds at start.
extern const QString DefaultListSeparator;
extern const QString DefaultUserNames;
extern const QString DefaultUserDigests;

// The file's sections, the first "分类信息" left out; none when the file
// cannot be opened.
QStringList loadUserNames(const QString &configFilePath);
// Writes each name's digest, the digest at the same position; names
// without a digest are left out. False when any of them was not written.
bool writeAccounts(const QString &configFilePath, const QStringList &names, const QStringList &digests);
// The account's stored digest; empty when there is none.
QString readUserDigest(const QString &configFilePath, const QString &name);
bool writeUserDigest(const QString &configFilePath, const QString &name, const QString &digest);

// The accounts offered for log-in: the file's, or, when it holds none, the
// built-in default account, which is then written to it.
struct OfferedAccounts
{
    QStringList names;
    // The default account was needed but could not be written.
    bool defaultNotWritten = false;
};
OfferedAccounts offerAccounts(const QString &configFilePath);

// How many accounts with a password digest the stored bytes of an account
// file hold; nothing when they do not open as an account file of this
// program.
std::optional<int> accountsWithDigest(QByteArrayView storedFile);
