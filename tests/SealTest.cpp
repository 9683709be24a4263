#include "seal/KeySlot.h"
#include "seal/LibraryKey.h"
#include "seal/RecoveryKey.h"
#include "seal/TypedPassword.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The cheapest cost a slot may name, so that the tests derive quickly.
constexpr Argon2Cost Cheap{8192, 1, 1};

PasswordKey cheapKey(const QString &password)
{
    return *PasswordKey::derive(password, QByteArray(PasswordKey::SaltSize, 's'), Cheap);
}

}

TEST(SealTest, ASealedValueOpensOnlyWithItsKeyAndBindingAndIsFreshEachTime)
{
    const auto key = LibraryKey::generate();
    const auto other = LibraryKey::generate();
    const QByteArray plain = "照片 marker bytes"_ba;
    const QByteArray sealed = key->sealer()->seal(plain, "lumbra/name/7");
    EXPECT_EQ(sealed.size(), plain.size() + SealedValue::Overhead);
    EXPECT_FALSE(sealed.contains("marker"));
    EXPECT_NE(key->sealer()->seal(plain, "lumbra/name/7"), sealed) << "a fresh nonce per value";
    EXPECT_EQ(key->sealer()->open(sealed, "lumbra/name/7"), plain);
    EXPECT_FALSE(key->sealer()->open(sealed, "lumbra/name/8")) << "moved to another row";
    EXPECT_FALSE(key->sealer()->open(sealed, "lumbra/category/7")) << "moved to another field";
    EXPECT_FALSE(other->sealer()->open(sealed, "lumbra/name/7"));
    QByteArray altered = sealed;
    altered[20] = char(altered[20] ^ 1);
    EXPECT_FALSE(key->sealer()->open(altered, "lumbra/name/7"));
    EXPECT_FALSE(key->sealer()->open(sealed.chopped(1), "lumbra/name/7"));
    // One sealer opens many values, in either direction, one after another.
    auto sealer = key->sealer();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(sealer->open(sealer->seal(QByteArray(i, 'x'), "b"), "b"), QByteArray(i, 'x'));
    EXPECT_NE(key->fingerprint(plain), other->fingerprint(plain)) << "fingerprints are keyed";
    EXPECT_NE(key->identifier(), other->identifier());
}

TEST(SealTest, ASlotOpensWithItsPasswordForItsAccountOnly)
{
    const auto key = LibraryKey::generate();
    const QString slot = KeySlot::make(*key, cheapKey(u"口令€"_s), u"管理员"_s);
    EXPECT_TRUE(KeySlot::isSlot(slot));
    EXPECT_FALSE(KeySlot::isSlot(u"6c4bb406b3e7cd5447f7a76fd7008806"_s));
    EXPECT_FALSE(slot.contains(u'\n'));
    EXPECT_EQ(KeySlot::keyIdentifier(slot), key->identifier());
    const auto opened = KeySlot::open(slot, u"口令€"_s, u"管理员"_s);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->libraryKey->secret(), key->secret());
    EXPECT_EQ(opened->passwordKey.salt(), cheapKey(u"x"_s).salt());
    EXPECT_FALSE(KeySlot::open(slot, u"口令"_s, u"管理员"_s)) << "wrong password";
    EXPECT_FALSE(KeySlot::open(slot, u"口令€"_s, u"张三"_s)) << "moved to another account";
    QString otherIdentifier = slot;
    otherIdentifier.replace(QString::fromLatin1(key->identifier().toBase64()),
                            QString::fromLatin1(LibraryKey::generate()->identifier().toBase64()));
    EXPECT_FALSE(KeySlot::open(otherIdentifier, u"口令€"_s, u"管理员"_s)) << "the identifier is bound in";
    EXPECT_FALSE(KeySlot::open(QString(slot).replace(u"8192,1,1"_s, u"9999999,1,1"_s), u"口令€"_s, u"管理员"_s))
        << "a cost beyond the bounds is refused";
    EXPECT_FALSE(KeySlot::parse(slot.chopped(4)));
}

TEST(SealTest, TheDefaultCostTakesItsTimeAndItsMemory)
{
    const PasswordKey key = PasswordKey::derive(u"3196"_s);
    EXPECT_EQ(key.cost(), Argon2Cost{});
    EXPECT_GE(key.cost().memoryKiB, 65536u);
    EXPECT_NE(PasswordKey::derive(u"3196"_s).salt(), key.salt()) << "a fresh salt per derivation";
}

TEST(SealTest, TheRecoveryKeyReadsAsTypedAndOpensItsSlotOnly)
{
    const auto key = LibraryKey::generate();
    const RecoveryKey recovery = RecoveryKey::generate();
    EXPECT_EQ(recovery.text().size(), 8 * 4 + 7);
    const QString slot = recovery.wrap(*key);
    QString typed = recovery.text().toLower().replace(u'-', u' ').replace(u'0', u'o').replace(u'1', u'l');
    const auto parsed = RecoveryKey::parse(u"  "_s + typed + u"\n"_s);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->text(), recovery.text());
    ASSERT_TRUE(parsed->open(slot));
    EXPECT_EQ(parsed->open(slot)->identifier(), key->identifier());
    EXPECT_FALSE(RecoveryKey::generate().open(slot));
    EXPECT_FALSE(RecoveryKey::parse(recovery.text().chopped(1)));
    EXPECT_FALSE(RecoveryKey::parse(recovery.text().replace(0, 1, u"U"_s)));
    EXPECT_FALSE(parsed->open(QString(slot).replace(u"lumbra-recovery-1"_s, u"lumbra-recovery-2"_s)));
}

TEST(SealTest, ATypedPasswordIsRecognisedWithoutBeingKept)
{
    const TypedPassword typed(u"新口令"_s);
    EXPECT_TRUE(typed.matches(u"新口令"_s));
    EXPECT_FALSE(typed.matches(u"新口"_s));
    EXPECT_FALSE(TypedPassword().matches(u""_s));
}
