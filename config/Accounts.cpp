#include "config/Accounts.h"

#include "config/ConfigFile.h"
#include "config/ConfigLines.h"
#include "config/GbkText.h"
#include "config/ProtectedFileFormat.h"

using namespace Qt::StringLiterals;

const QString ConfigFilePassword = u"qomtar"_s;
const QString PasswordKey = u"口令"_s;
const QString CategorySection = u"分类信息"_s;
const QString DefaultListSeparator = u"★§☆"_s;
const QString DefaultUserNames = u"管理员★§☆"_s;
const QString DefaultUserDigests = u"6c4bb406b3e7cd5447f7a76fd7008806★§☆"_s;

QStringList loadUserNames(const QString &configFilePath)
{
    QStringList userNames = listConfigSections(configFilePath, ConfigFilePassword).value_or(QStringList());
    userNames.removeOne(CategorySection);
    return userNames;
}

bool writeAccounts(const QString &configFilePath, const QStringList &names, const QStringList &digests)
{
    const qsizetype count = std::min(names.size(), digests.size());
    bool written = true;
    for (qsizetype i = 0; i < count; ++i)
        written = writeConfigItem(configFilePath, ConfigFilePassword, names[i], PasswordKey, digests[i]) && written;
    return written;
}

QString readUserDigest(const QString &configFilePath, const QString &name)
{
    return readConfigItem(configFilePath, ConfigFilePassword, name, PasswordKey);
}

bool writeUserDigest(const QString &configFilePath, const QString &name, const QString &digest)
{
    return writeConfigItem(configFilePath, ConfigFilePassword, name, PasswordKey, digest);
}

OfferedAccounts offerAccounts(const QString &configFilePath)
{
    OfferedAccounts offered{loadUserNames(configFilePath), false};
    if (!offered.names.isEmpty())
        return offered;
    offered.names = splitAtSeparator(DefaultUserNames, DefaultListSeparator);
    const QStringList digests = splitAtSeparator(DefaultUserDigests, DefaultListSeparator);
    offered.defaultNotWritten = !writeAccounts(configFilePath, offered.names, digests);
    return offered;
}

std::optional<int> accountsWithDigest(QByteArrayView storedFile)
{
    std::expected<QByteArray, ProtectedFileError> plain =
        ProtectedFileFormat::decode(storedFile, toGbk(ConfigFilePassword));
    if (!plain)
        return std::nullopt;
    LineBuffer lines(std::move(*plain));
    QList<QByteArray> names = ConfigLines::sectionNames(lines);
    names.removeOne(toGbk(CategorySection));
    const QByteArray key = toGbk(PasswordKey);
    return int(std::count_if(names.begin(), names.end(), [&](const QByteArray &name) {
        const std::optional<QByteArray> digest = ConfigLines::findItem(lines, name, key);
        return digest && !trimmedBlanks(*digest).isEmpty();
    }));
}
