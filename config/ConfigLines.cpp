#include "config/ConfigLines.h"

#include "config/GbkText.h"

namespace ConfigLines {

namespace {

// Reads lines up to and including the header of section; false at the end.
bool findSectionHeader(LineBuffer &lines, QByteArrayView section)
{
    lines.setPosition(0);
    while (!lines.atEnd()) {
        if (isHeaderOf(lines.readLine(), section))
            return true;
    }
    return false;
}

QByteArray joined(QByteArrayView first, QByteArrayView second, QByteArrayView third)
{
    QByteArray text;
    text.reserve(first.size() + second.size() + third.size());
    text.append(first).append(second).append(third);
    return text;
}

// Appending after a last line without a line break would join the two.
void moveToEndOfLastLine(LineBuffer &lines)
{
    lines.moveToEnd();
    if (lines.lastLineOpen())
        lines.insertLine({});
}

}

bool isSectionBoundary(QByteArrayView line)
{
    const QByteArrayView trimmed = trimmedBlanks(line);
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

bool isHeaderOf(QByteArrayView line, QByteArrayView section)
{
    if (line.size() != section.size() + 2 || line.front() != '[' || line.back() != ']')
        return false;
    return upperAsciiLetters(line.sliced(1, section.size())) == upperAsciiLetters(section);
}

std::optional<KeyLine> keyLineOf(QByteArrayView line)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0 || equals == line.size() - 1 || isSectionBoundary(line))
        return std::nullopt;
    return KeyLine{trimmedBlanks(line.first(equals)), line.sliced(equals + 1)};
}

std::optional<QByteArray> findItem(LineBuffer &lines, QByteArrayView section, QByteArrayView key)
{
    if (!findSectionHeader(lines, section))
        return std::nullopt;
    while (!lines.atEnd()) {
        const QByteArray line = lines.readLine();
        if (isSectionBoundary(line))
            return std::nullopt;
        const std::optional<KeyLine> keyLine = keyLineOf(line);
        if (keyLine && keyLine->key == key)
            return keyLine->value.toByteArray();
    }
    return std::nullopt;
}

void putItem(LineBuffer &lines, QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    if (!findSectionHeader(lines, section)) {
        moveToEndOfLastLine(lines);
        lines.insertLine(joined("[", section, "]"));
        lines.insertLine(joined(key, "=", value));
        return;
    }
    std::optional<qsizetype> insertionPoint;
    while (!lines.atEnd()) {
        const qsizetype start = lines.position();
        const QByteArray line = lines.readLine();
        if (isSectionBoundary(line)) {
            insertionPoint = start;
            break;
        }
        const std::optional<KeyLine> keyLine = keyLineOf(line);
        if (keyLine && keyLine->key == key) {
            // The line and its terminator go; everything before the first
            // "=" comes back byte for byte.
            const qsizetype lineLength = lines.position() - start;
            const QByteArray keyPart = line.first(line.indexOf('='));
            lines.setPosition(start);
            lines.deleteBytes(lineLength);
            lines.setPosition(start);
            lines.insertLine(joined(keyPart, "=", value));
            return;
        }
    }
    if (insertionPoint)
        lines.setPosition(*insertionPoint);
    else
        moveToEndOfLastLine(lines);
    lines.insertLine(joined(key, "=", value));
}

QList<QByteArray> sectionNames(LineBuffer &lines)
{
    QList<QByteArray> names;
    lines.setPosition(0);
    while (!lines.atEnd()) {
        QByteArray line = lines.readLine();
        if (!isSectionBoundary(line))
            continue;
        line.replace("[", "").replace("]", "");
        names.append(trimmedBlanks(line).toByteArray());
    }
    return names;
}

}
