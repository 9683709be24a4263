#pragma once

#include "seal/LibraryKey.h"
#include "seal/PasswordKey.h"

#include <QString>

#include <memory>
#include <optional>

// An account's key slot: the library key wrapped (AES-256-GCM) under the
// key of the account's password, with the Argon2id cost and salt, and the
// library key's identifier, in one line of text that is the account's
// "口令" value:
//   lumbra-slot-1$<memory>,<passes>,<lanes>$<salt>$<identifier>$<wrapped>
// (base64 fields). The account's name is bound in, so a slot copied to
// another account does not open.
namespace KeySlot {

// True for a value written as a slot (it need not open).
bool isSlot(const QString &value);

QString make(const LibraryKey &key, const PasswordKey &passwordKey, const QString &account);

// The parts of a slot that opening it needs before the password is tried.
struct Parts
{
    Argon2Cost cost;
    QByteArray salt;
    QByteArray keyIdentifier;
    QByteArray wrapped;
};
std::optional<Parts> parse(const QString &slot);

// Derives the password's key with the slot's salt and cost and unwraps the
// library key; nothing for a wrong password, another account's slot or a
// damaged slot. The password key comes back too, so that the same account
// can be given a new slot without a second derivation.
struct Opened
{
    std::shared_ptr<const LibraryKey> libraryKey;
    PasswordKey passwordKey;
};
std::optional<Opened> open(const QString &slot, const QString &password, const QString &account);

// The library key's identifier the slot records; empty for no slot.
QByteArray keyIdentifier(const QString &slot);

}
