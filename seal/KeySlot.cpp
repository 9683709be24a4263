#include "seal/KeySlot.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace KeySlot {

namespace {

constexpr QLatin1StringView Tag("lumbra-slot-1");
constexpr int IdentifierSize = 16;

QByteArray fromBase64(const QString &text)
{
    const auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

QString header(Argon2Cost cost, const QByteArray &salt, const QByteArray &identifier)
{
    return u"%1$%2,%3,%4$%5$%6"_s.arg(Tag)
        .arg(cost.memoryKiB)
        .arg(cost.passes)
        .arg(cost.lanes)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(identifier.toBase64()));
}

// The slot's header and the account: what the wrapped key is bound to.
QByteArray binding(const QString &slotHeader, const QString &account)
{
    return (slotHeader + u'$' + account).toUtf8();
}

}

bool isSlot(const QString &value)
{
    return value.startsWith(Tag + u'$');
}

QString make(const LibraryKey &key, const PasswordKey &passwordKey, const QString &account)
{
    const QString slotHeader = header(passwordKey.cost(), passwordKey.salt(), key.identifier());
    const QByteArray wrapped = key.wrap(passwordKey.key(), binding(slotHeader, account));
    return slotHeader + u'$' + QString::fromLatin1(wrapped.toBase64());
}

std::optional<Parts> parse(const QString &slot)
{
    const QStringList fields = slot.split(u'$');
    if (fields.size() != 5 || fields[0] != Tag)
        return std::nullopt;
    const QStringList numbers = fields[1].split(u',');
    if (numbers.size() != 3)
        return std::nullopt;
    bool memoryOk = false, passesOk = false, lanesOk = false;
    const Argon2Cost cost{numbers[0].toUInt(&memoryOk), numbers[1].toUInt(&passesOk), numbers[2].toUInt(&lanesOk)};
    Parts parts{cost, fromBase64(fields[2]), fromBase64(fields[3]), fromBase64(fields[4])};
    if (!memoryOk || !passesOk || !lanesOk || parts.salt.size() != PasswordKey::SaltSize
        || parts.keyIdentifier.size() != IdentifierSize || parts.wrapped.size() != SealedValue::Overhead + SecretKey::Size)
        return std::nullopt;
    return parts;
}

std::optional<Opened> open(const QString &slot, const QString &password, const QString &account)
{
    const std::optional<Parts> parts = parse(slot);
    if (!parts)
        return std::nullopt;
    std::optional<PasswordKey> passwordKey = PasswordKey::derive(password, parts->salt, parts->cost);
    if (!passwordKey)
        return std::nullopt;
    const QString slotHeader = slot.first(slot.lastIndexOf(u'$'));
    std::shared_ptr<const LibraryKey> libraryKey = LibraryKey::unwrap(
        passwordKey->key(), parts->wrapped, binding(slotHeader, account), parts->keyIdentifier);
    if (!libraryKey)
        return std::nullopt;
    return Opened{std::move(libraryKey), std::move(*passwordKey)};
}

QByteArray keyIdentifier(const QString &slot)
{
    const std::optional<Parts> parts = parse(slot);
    return parts ? parts->keyIdentifier : QByteArray();
}

}
