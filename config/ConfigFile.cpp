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

QString readConfigItem(const QString &fileName, const QString &password, const QString &section,
                       const QString &key, const QString &defaultValue)
{
    ProtectedFile file;
    if (!file.open(normalizeConfigFileName(fileName), toGbk(password), ProtectedFile::Mode::Read))
        return defaultValue;
    const std::optional<QByteArray> value = ConfigLines::findItem(file.lines(), toGbk(section), toGbk(key));
    file.close();
    if (!value || isBlankText(*value))
        return defaultValue;
    return fromGbk(*value);
}

bool writeConfigItem(const QString &fileName, const QString &password, const QString &section,
                     const QString &key, const QString &value)
{
    const QByteArray sectionBytes = toGbk(section);
    const QByteArray keyBytes = toGbk(key);
    const QByteArray valueBytes = toGbk(value);
    for (const QByteArray *text : {&sectionBytes, &keyBytes, &valueBytes}) {
        if (isBlankText(*text) || holdsLineBreak(*text))
            return false;
    }
    if (isBlankText(toGbk(fileName)))
        return false;

    ProtectedFile file;
    if (!file.open(normalizeConfigFileName(fileName), toGbk(password), ProtectedFile::Mode::ReadWrite))
        return false;
    ConfigLines::putItem(file.lines(), sectionBytes, keyBytes, valueBytes);
    return file.close().has_value();
}

std::optional<QStringList> listConfigSections(const QString &fileName, const QString &password)
{
    ProtectedFile file;
    if (!file.open(normalizeConfigFileName(fileName), toGbk(password), ProtectedFile::Mode::Read))
        return std::nullopt;
    const QList<QByteArray> names = ConfigLines::sectionNames(file.lines());
    file.close();
    QStringList sections;
    for (const QByteArray &name : names)
        sections.append(fromGbk(name));
    return sections;
}
