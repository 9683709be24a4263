#include "config/GbkText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr const char *CodecName = "GB18030";

bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t';
}

bool isLeadByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x81 && value <= 0xFE;
}

}

QByteArray toGbk(const QString &text)
{
    QStringEncoder encoder(CodecName);
    return encoder.encode(text);
}

QString fromGbk(QByteArrayView bytes)
{
    QStringDecoder decoder(CodecName);
    return decoder.decode(bytes);
}

QByteArrayView trimmedBlanks(QByteArrayView bytes)
{
    qsizetype first = 0;
    qsizetype last = bytes.size();
    while (first < last && isBlank(bytes[first]))
        ++first;
    while (last > first && isBlank(bytes[last - 1]))
        --last;
    return bytes.sliced(first, last - first);
}

QByteArray upperAsciiLetters(QByteArrayView bytes)
{
    QByteArray upper = bytes.toByteArray();
    for (qsizetype i = 0; i < upper.size(); ++i) {
        // A lead byte carries its trail byte; the four-byte GB18030 forms
        // pair up the same way, their second and fourth bytes being digits.
        if (isLeadByte(upper[i]) && i + 1 < upper.size())
            ++i;
        else if (upper[i] >= 'a' && upper[i] <= 'z')
            upper[i] = char(upper[i] - 'a' + 'A');
    }
    return upper;
}

QStringList splitAtSeparator(const QString &text, const QString &separator)
{
    QStringList pieces = text.split(separator);
    if (!pieces.isEmpty() && pieces.constLast().isEmpty())
        pieces.removeLast();
    return pieces;
}
