#include "config/GbkText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace {

// ICU's table of Windows' GBK: "€" is 0x80, the user-defined areas are
// private-use characters.
constexpr const char *WindowsCodec = "windows-936";
constexpr const char *WideCodec = "GB18030";

bool isBlank(char byte)
{
    return byte == ' ' || byte == '\t';
}

bool isLeadByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x81 && value <= 0xFE;
}

bool isDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

// The bytes of the text, or nothing when the codec lacks one of its characters.
std::optional<QByteArray> encoded(const char *codec, QStringView text)
{
    QStringEncoder encoder(codec, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

// The text of the bytes, or nothing when some of them read as no character.
std::optional<QString> decoded(const char *codec, QByteArrayView bytes)
{
    QStringDecoder decoder(codec, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QByteArray wideBytes(QStringView text)
{
    QStringEncoder encoder(WideCodec, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

QString wideText(QByteArrayView bytes)
{
    QStringDecoder decoder(WideCodec, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

// The code of a character CP936 lacks. GB18030 gives a few of them two-byte
// codes that CP936 reads as private-use characters (ḿ is A8 BC, CP936's
// U+E7C7); those take GB18030's four-byte code of that private-use
// character, which CP936 never writes.
QByteArray wideCode(QStringView character)
{
    const QByteArray code = wideBytes(character);
    return decoded(WindowsCodec, code).transform(wideBytes).value_or(code);
}

// The character of one code. A four-byte code is read the other way of
// wideCode; any other code is CP936's where CP936 reads it.
QString characterOf(QByteArrayView code)
{
    if (code.size() == 4) {
        const QString character = wideText(code);
        return encoded(WindowsCodec, character)
            .and_then([](const QByteArray &windowsCode) { return decoded(WideCodec, windowsCode); })
            .value_or(character);
    }
    if (std::optional<QString> windows = decoded(WindowsCodec, code))
        return *std::move(windows);
    return wideText(code);
}

// The length of the code at the start of the bytes: four for GB18030's
// four-byte form (a digit second and fourth), two for a lead byte with no
// digit behind it, else one.
qsizetype codeLength(QByteArrayView bytes)
{
    if (bytes.size() < 2 || !isLeadByte(bytes[0]))
        return 1;
    if (!isDigit(bytes[1]))
        return 2;
    return bytes.size() >= 4 && isLeadByte(bytes[2]) && isDigit(bytes[3]) ? 4 : 1;
}

}

QByteArray toGbk(const QString &text)
{
    if (std::optional<QByteArray> windows = encoded(WindowsCodec, text))
        return *std::move(windows);
    QByteArray bytes;
    for (const char32_t character : text.toUcs4()) {
        const auto one = QChar::fromUcs4(character);
        const std::optional<QByteArray> windows = encoded(WindowsCodec, one);
        bytes.append(windows ? *windows : wideCode(one));
    }
    return bytes;
}

QString fromGbk(QByteArrayView bytes)
{
    if (std::optional<QString> windows = decoded(WindowsCodec, bytes))
        return *std::move(windows);
    QString text;
    for (qsizetype at = 0; at < bytes.size();) {
        const QByteArrayView code = bytes.sliced(at, codeLength(bytes.sliced(at)));
        text.append(characterOf(code));
        at += code.size();
    }
    return text;
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
