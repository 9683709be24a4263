#pragma once

#include "config/Session.h"

#include <QString>

#include <memory>
#include <optional>

// The password check of an account and the keys it gives. An account's
// "口令" value is either the MD5 digest of its password (a plain account)
// or a key slot (KeySlot), which only its own password opens.

// What a right password opens: for a key slot the library key and the
// password's key; for a digest nothing more.
struct OpenedPassword
{
    std::shared_ptr<const LibraryKey> libraryKey;
    std::optional<PasswordKey> passwordKey;
};

// Checks a password against an account's stored value: a digest as
// passwordMatches does, a key slot by opening it, which costs an Argon2id
// derivation (about a quarter second: keep it off the GUI thread). Nothing
// for a wrong password, another account's slot or a damaged slot.
std::optional<OpenedPassword> checkPassword(const QString &password, const QString &storedValue,
                                            const QString &account);

// The same answer at once, for every keystroke: a slot is taken as opened
// by the password typed at log-in, which is what opened it.
bool passwordMatchesAtOnce(const QString &password, const QString &storedValue, const TypedPassword &typedAtLogIn);

// Reads the account's value and checks the password; the keys of the
// log-in when it is right: a slot's library key and password key, the
// password's key for a digest and any password but the default one (so
// that a slot can be made once a library key is at hand), nothing more for
// the default password. One Argon2id derivation but for the default
// password on a digest: run it in a worker.
std::optional<SessionKeys> keysOfLogIn(const QString &configFilePath, const QString &account,
                                       const QString &password);

// The value to store for a new password and the keys that go with it: a
// slot of the library key at hand, or of a new one; the digest for the
// default password while there is no library key (a plain library stays
// plain). One Argon2id derivation for a slot.
struct PasswordValue
{
    QString value;
    SessionKeys keys;
};
PasswordValue valueForPassword(const QString &password, const QString &account,
                               std::shared_ptr<const LibraryKey> libraryKey);
