#pragma once

#include "config/LineBuffer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// The line rules of the sectioned configuration file and the item work on
// its plain content, all on GBK bytes. Each function starts at the top of
// the content.
namespace ConfigLines {

// A line whose trimmed text begins with "[" and ends with "]": it ends the
// section before it.
bool isSectionBoundary(QByteArrayView line);
// The untrimmed line equals "[" + section + "]" with ASCII letters
// upper-cased on both sides.
bool isHeaderOf(QByteArrayView line, QByteArrayView section);

// A line that is no boundary and has at least one byte after its first "=".
struct KeyLine
{
    QByteArrayView key;    // before the first "=", trimmed
    QByteArrayView value;  // after the first "=", untrimmed
};
std::optional<KeyLine> keyLineOf(QByteArrayView line);

// The untrimmed value of the first key line matching key (byte for byte,
// letter case included) in the first section named section; nothing when
// there is no such section or line.
std::optional<QByteArray> findItem(LineBuffer &lines, QByteArrayView section, QByteArrayView key);
// Replaces the value of that key line in place, keeping every byte before
// its first "=". A missing key line becomes the section's last line; a
// missing section is added with its key line at the end.
void putItem(LineBuffer &lines, QByteArrayView section, QByteArrayView key, QByteArrayView value);
// Every boundary's name, "[" and "]" removed and trimmed, in file order.
QList<QByteArray> sectionNames(LineBuffer &lines);

}
