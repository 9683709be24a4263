#include "config/Accounts.h"

#include "config/ConfigFile.h"
#include "config/ConfigLines.h"
#include "config/GbkText.h"
#include "config/ProtectedFileFormat.h"
#include "seal/KeySlot.h"

using namespace Qt::StringLiterals;

const QString ConfigFilePassword = u"qomtar"_s;
const QString PasswordItemKey = u"口令"_s;
const QString CategorySection = u"分类信息"_s;
const QString DefaultListSeparator = u"★§☆"_s;
const QString DefaultUserNames = u"管理员★§☆"_s;
const QString DefaultUserDigests = u"6c4bb406b3e7cd5447f7a76fd7008806★§☆"_s;
const QString DefaultPassword = u"3196"_s;

std::expected<QStringList, ConfigError> loadUserNames(const QString &configFilePath)
{
    std::expected<QStringList, ConfigError> userNames = listConfigSections(configFilePath, ConfigFilePassword);
    if (userNames)
        userNames->removeOne(CategorySection);
    return userNames;
}

std::expected<void, ConfigError> writeAccounts(const QString &configFilePath, const QStringList &names,
                                               const QStringList &digests)
{
    const qsizetype count = std::min(names.size(), digests.size());
    std::expected<void, ConfigError> written;
    for (qsizetype i = 0; i < count; ++i) {
        auto item = writeConfigItem(configFilePath, ConfigFilePassword, names[i], PasswordItemKey, digests[i]);
        if (written && !item)
            written = item;
    }
    return written;
}

std::expected<QString, ConfigError> readUserDigest(const QString &configFilePath, const QString &name)
{
    return readConfigItem(configFilePath, ConfigFilePassword, name, PasswordItemKey);
}

std::expected<void, ConfigError> writeUserDigest(const QString &configFilePath, const QString &name,
                                                 const QString &digest)
{
    return writeConfigItem(configFilePath, ConfigFilePassword, name, PasswordItemKey, digest);
}

// A file that cannot be read offers the default account as an empty one
// does; writing it then tells whether the file can be used at all.
OfferedAccounts offerAccounts(const QString &configFilePath)
{
    OfferedAccounts offered{loadUserNames(configFilePath).value_or(QStringList()), std::nullopt};
    if (!offered.names.isEmpty())
        return offered;
    offered.names = splitAtSeparator(DefaultUserNames, DefaultListSeparator);
    const QStringList digests = splitAtSeparator(DefaultUserDigests, DefaultListSeparator);
    if (auto written = writeAccounts(configFilePath, offered.names, digests); !written)
        offered.defaultNotWritten = written.error();
    return offered;
}

namespace {

// The password values of the accounts in the stored bytes of an account
// file, "分类信息" left out; why, when they do not open.
std::expected<QList<QByteArray>, ConfigError> storedPasswordValues(QByteArrayView storedFile)
{
    std::expected<QByteArray, ConfigError> plain = ProtectedFileFormat::decode(storedFile, toGbk(ConfigFilePassword));
    if (!plain)
        return std::unexpected(plain.error());
    LineBuffer lines(std::move(*plain));
    QList<QByteArray> names = ConfigLines::sectionNames(lines);
    names.removeOne(toGbk(CategorySection));
    const QByteArray key = toGbk(PasswordItemKey);
    QList<QByteArray> values;
    for (const QByteArray &name : std::as_const(names)) {
        if (std::optional<QByteArray> value = ConfigLines::findItem(lines, name, key))
            values << std::move(*value);
    }
    return values;
}

}

std::expected<int, ConfigError> accountsWithDigest(QByteArrayView storedFile)
{
    const std::expected<QList<QByteArray>, ConfigError> values = storedPasswordValues(storedFile);
    if (!values)
        return std::unexpected(values.error());
    return int(std::count_if(values->begin(), values->end(),
                             [](const QByteArray &value) { return !trimmedBlanks(value).isEmpty(); }));
}

QList<QByteArray> slotKeyIdentifiers(QByteArrayView storedFile)
{
    QList<QByteArray> identifiers;
    for (const QByteArray &value : storedPasswordValues(storedFile).value_or(QList<QByteArray>())) {
        const QByteArray identifier = KeySlot::keyIdentifier(fromGbk(value).trimmed());
        if (!identifier.isEmpty())
            identifiers << identifier;
    }
    return identifiers;
}
