// Feeds arbitrary bytes to the protected file's decoder and to the
// configuration file's line rules. The first byte picks the part:
//   0  the bytes as a stored file: only an authentic one opens (the seed
//      seed-valid-stored in corpus/ is one, made by another AES-GCM and
//      PBKDF2 implementation)
//   1  "section \x01 key \x01 value \n content": items are read, listed and
//      written on the content, and what was written must read back
//   2  the bytes as plain content: it must survive enciphering unchanged,
//      and any altered byte of the stored file must make it fail to open
#include "config/ConfigLines.h"
#include "config/GbkText.h"
#include "config/ProtectedFileFormat.h"

#include <QList>

#include <cstdio>
#include <cstdlib>

namespace {

const QByteArray Password = "qomtar";

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Only an authentic file opens, and then with all of its content.
void decodeStored(QByteArrayView stored)
{
    using namespace ProtectedFileFormat;
    const std::expected<QByteArray, ConfigError> decoded = decode(stored, Password);
    if (decoded)
        require(decoded->size() == stored.size() - HeaderSize - TagSize, "an open lost content");
}

bool holdsLineBreak(QByteArrayView text)
{
    return text.contains('\r') || text.contains('\n');
}

// What writeConfigItem lets through, and what makes the written line read
// back as the same item.
bool readsBack(QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    for (QByteArrayView text : {section, key, value}) {
        if (trimmedBlanks(text).isEmpty() || holdsLineBreak(text))
            return false;
    }
    QByteArray line = key.toByteArray();
    line.append('=').append(value);
    return trimmedBlanks(key) == key && !key.contains('=') && !ConfigLines::isSectionBoundary(line);
}

void workOnContent(QByteArrayView input)
{
    const qsizetype lineEnd = input.indexOf('\n');
    const QByteArrayView request = lineEnd < 0 ? input : input.first(lineEnd);
    const QByteArrayView content = lineEnd < 0 ? QByteArrayView() : input.sliced(lineEnd + 1);
    const qsizetype first = request.indexOf('\x01');
    const qsizetype second = first < 0 ? -1 : request.indexOf('\x01', first + 1);
    if (second < 0)
        return;
    const QByteArrayView section = request.first(first);
    const QByteArrayView key = request.sliced(first + 1, second - first - 1);
    const QByteArrayView value = request.sliced(second + 1);

    LineBuffer lines(content.toByteArray());
    const QList<QByteArray> names = ConfigLines::sectionNames(lines);
    for (const QByteArray &name : names)
        ConfigLines::findItem(lines, name, key);
    ConfigLines::findItem(lines, section, key);

    ConfigLines::putItem(lines, section, key, value);
    if (!readsBack(section, key, value))
        return;
    require(ConfigLines::findItem(lines, section, key) == value.toByteArray(), "a written item reads back otherwise");
    const QByteArray written = lines.content();
    ConfigLines::putItem(lines, section, key, value);
    require(lines.content() == written, "writing the same item twice changed the file");
}

void roundTrip(QByteArrayView plain)
{
    const std::expected<QByteArray, ConfigError> stored =
        ProtectedFileFormat::encode(plain, Password, ProtectedFileFormat::MinIterations);
    require(stored.has_value(), "enciphering failed");
    const std::expected<QByteArray, ConfigError> decoded = ProtectedFileFormat::decode(*stored, Password);
    require(decoded && *decoded == plain, "the content changed on its way");

    QByteArray altered = *stored;
    const qsizetype at = qsizetype(qHash(plain) % std::size_t(altered.size()));
    altered[at] = char(altered[at] ^ (1 << (plain.size() % 8)));
    require(!ProtectedFileFormat::decode(altered, Password), "an altered file opened");
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView input(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    switch (data[0] % 3) {
    case 0:
        decodeStored(input);
        break;
    case 1:
        workOnContent(input);
        break;
    default:
        roundTrip(input);
        break;
    }
    return 0;
}
