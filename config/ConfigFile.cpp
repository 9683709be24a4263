#include "config/ConfigFile.h"

#include "config/ConfigLines.h"
#include "config/ConfigPaths.h"
#include "config/GbkText.h"
#include "config/ProtectedFile.h"

namespace {

bool isBlankText(const QByteArray &text)
{
    return trimmedBlanks(text).isEmpty();
}

bool holdsLineBreak(const QByteArray &text)
{
    return text.contains('\r') || text.contains('\n');
}

}

std::expected<QString, ConfigError> readConfigItem(const QString &fileName, const QString &password,
                                                   const QString &section, const QString &key,
                                                   const QString &defaultValue)
{
    ProtectedFile file;
    if (auto opened = file.open(normalizeConfigFileName(fileName), toGbk(password), ProtectedFile::Mode::Read); !opened)
        return std::unexpected(opened.error());
    const std::optional<QByteArray> value = ConfigLines::findItem(file.lines(), toGbk(section), toGbk(key));
    file.close();
    if (!value || isBlankText(*value))
        return defaultValue;
    return fromGbk(*value);
}

std::expected<void, ConfigError> writeConfigItem(const QString &fileName, const QString &password,
                                                 const QString &section, const QString &key, const QString &value)
{
    const QByteArray sectionBytes = toGbk(section);
    const QByteArray keyBytes = toGbk(key);
    const QByteArray valueBytes = toGbk(value);
    for (const QByteArray *text : {&sectionBytes, &keyBytes, &valueBytes}) {
        if (isBlankText(*text) || holdsLineBreak(*text))
            return std::unexpected(ConfigError{ConfigReason::InvalidItem, section + u'/' + key});
    }
    if (isBlankText(toGbk(fileName)))
        return std::unexpected(ConfigError{ConfigReason::InvalidItem, fileName});

    ProtectedFile file;
    if (auto opened = file.open(normalizeConfigFileName(fileName), toGbk(password), ProtectedFile::Mode::ReadWrite);
        !opened)
        return opened;
    ConfigLines::putItem(file.lines(), sectionBytes, keyBytes, valueBytes);
    return file.close();
}

std::expected<QStringList, ConfigError> listConfigSections(const QString &fileName, const QString &password)
{
    ProtectedFile file;
    if (auto opened = file.open(normalizeConfigFileName(fileName), toGbk(password), ProtectedFile::Mode::Read); !opened)
        return std::unexpected(opened.error());
    const QList<QByteArray> names = ConfigLines::sectionNames(file.lines());
    file.close();
    QStringList sections;
    for (const QByteArray &name : names)
        sections.append(fromGbk(name));
    return sections;
}
