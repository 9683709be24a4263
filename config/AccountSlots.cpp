#include "config/AccountSlots.h"

#include "config/Accounts.h"
#include "config/ConfigLines.h"
#include "config/GbkText.h"
#include "config/LineBuffer.h"
#include "config/ProtectedFileFormat.h"
#include "seal/KeySlot.h"

QList<QByteArray> slotKeyIdentifiers(QByteArrayView storedFile)
{
    std::expected<QByteArray, ConfigError> plain = ProtectedFileFormat::decode(storedFile, toGbk(ConfigFilePassword));
    if (!plain)
        return {};
    LineBuffer lines(std::move(*plain));
    const QByteArray key = toGbk(PasswordItemKey);
    QList<QByteArray> identifiers;
    for (const QByteArray &name : ConfigLines::sectionNames(lines)) {
        const std::optional<QByteArray> value = ConfigLines::findItem(lines, name, key);
        const QByteArray identifier = value ? KeySlot::keyIdentifier(fromGbk(*value).trimmed()) : QByteArray();
        if (!identifier.isEmpty())
            identifiers << identifier;
    }
    return identifiers;
}
