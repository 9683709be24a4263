#include "seal/RecoveryKey.h"

#include <QCryptographicHash>
#include <QStringList>

#include <openssl/crypto.h>
#include <openssl/rand.h>

#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr QLatin1StringView Tag("lumbra-recovery-1");
// Crockford's base 32: no I, L, O or U to misread.
constexpr QLatin1StringView Alphabet("0123456789ABCDEFGHJKMNPQRSTVWXYZ");
constexpr int RandomBytes = 20;
constexpr int Letters = RandomBytes * 8 / 5;
constexpr int GroupSize = 4;

// "ABCD-EFGH-…": the letters in groups of four.
QString grouped(const QString &letters)
{
    QStringList groups;
    for (int i = 0; i < letters.size(); i += GroupSize)
        groups << letters.mid(i, GroupSize);
    return groups.join(u'-');
}

QString encode(const std::array<unsigned char, RandomBytes> &random)
{
    QString letters;
    for (int bit = 0; bit < RandomBytes * 8; bit += 5) {
        int value = 0;
        for (int i = bit; i < bit + 5; ++i)
            value = value << 1 | (random[std::size_t(i / 8)] >> (7 - i % 8) & 1);
        letters += Alphabet[value];
    }
    return grouped(letters);
}

SecretKey wrappingKey(const QString &text)
{
    QByteArray digest = QCryptographicHash::hash(QByteArray("lumbra recovery key ") + text.toLatin1(), QCryptographicHash::Sha256);
    const SecretKey extracted = *SecretKey::fromBytes(digest);
    OPENSSL_cleanse(digest.data(), std::size_t(digest.size()));
    return extracted.derive("lumbra recovery wrapping");
}

}

RecoveryKey::RecoveryKey(const SecretKey &wrappingKey, QString text)
    : m_wrappingKey(wrappingKey)
    , m_text(std::move(text))
{
}

RecoveryKey RecoveryKey::generate()
{
    std::array<unsigned char, RandomBytes> random{};
    if (RAND_priv_bytes(random.data(), RandomBytes) != 1)
        std::abort();
    QString text = encode(random);
    OPENSSL_cleanse(random.data(), random.size());
    return RecoveryKey(wrappingKey(text), text);
}

std::optional<RecoveryKey> RecoveryKey::parse(const QString &typed)
{
    QString letters;
    for (QChar c : typed.toUpper()) {
        if (c.isSpace() || c == u'-')
            continue;
        if (c == u'O')
            c = u'0';
        else if (c == u'I' || c == u'L')
            c = u'1';
        if (!Alphabet.contains(c))
            return std::nullopt;
        letters += c;
    }
    if (letters.size() != Letters)
        return std::nullopt;
    const QString text = grouped(letters);
    return RecoveryKey(wrappingKey(text), text);
}

QString RecoveryKey::text() const
{
    return m_text;
}

QString RecoveryKey::wrap(const LibraryKey &key) const
{
    const QString header = Tag + u'$' + QString::fromLatin1(key.identifier().toBase64());
    return header + u'$' + QString::fromLatin1(key.wrap(m_wrappingKey, header.toLatin1()).toBase64());
}

std::shared_ptr<const LibraryKey> RecoveryKey::open(const QString &slot) const
{
    const QStringList fields = slot.split(u'$');
    if (fields.size() != 3 || fields[0] != Tag)
        return nullptr;
    const QString header = slot.first(slot.lastIndexOf(u'$'));
    return LibraryKey::unwrap(m_wrappingKey, QByteArray::fromBase64(fields[2].toLatin1()), header.toLatin1(),
                              QByteArray::fromBase64(fields[1].toLatin1()));
}
