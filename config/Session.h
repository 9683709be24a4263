#pragma once

#include "seal/LibraryKey.h"
#include "seal/PasswordKey.h"
#include "seal/TypedPassword.h"

#include <QString>

#include <memory>
#include <optional>

// The keys of one log-in, shared by every copy of its session: a password
// change or a recovery puts a key here that the main window then uses.
struct SessionKeys
{
    // The library key at hand: from the account's slot, from the recovery
    // key, or made when the library was sealed. Null while none is.
    std::shared_ptr<const LibraryKey> libraryKey;
    // What wraps the library key into this account's slot: the key of the
    // password typed at log-in. Empty while that password is the published
    // default and no slot holds it (its key is derived when needed).
    std::optional<PasswordKey> accountKey;
    // The password that logged in, to check a password typed again.
    TypedPassword typedPassword;
};

// One run's user and account file: the value that the window flow hands to
// the windows that need it.
struct Session
{
    // Full path of system.dat.
    QString configFilePath;
    // The account that logged in; empty until a log-in.
    QString userName;
    std::shared_ptr<SessionKeys> keys = std::make_shared<SessionKeys>();
};
