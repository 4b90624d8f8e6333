#include "text/nativepath.h"

#include <algorithm>

namespace kestrune {

namespace {

// Raw bytes 0x80 to 0xFF (never valid on their own) map to U+F780 to U+F7FF.
constexpr char32_t byteEscapeBase = 0xF700;
constexpr char32_t firstEscape = byteEscapeBase + 0x80;
constexpr char32_t lastEscape = byteEscapeBase + 0xFF;

bool isEscape(char32_t codePoint)
{
    return codePoint >= firstEscape && codePoint <= lastEscape;
}

// The length of the well-formed UTF-8 sequence at `index` and its code point into `codePoint`;
// 0 when the byte there does not begin one (overlong forms, surrogates and code points above
// U+10FFFF are not well-formed).
int sequenceAt(QByteArrayView bytes, qsizetype index, char32_t &codePoint)
{
    const auto lead = quint8(bytes[index]);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    int length = 0;
    quint8 lowest = 0x80; // the range of the second byte, narrowed for some lead bytes
    quint8 highest = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0)
            lowest = 0xA0;
        else if (lead == 0xED)
            highest = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0)
            lowest = 0x90;
        else if (lead == 0xF4)
            highest = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() - index < length)
        return 0;
    for (int offset = 1; offset < length; ++offset) {
        const auto byte = quint8(bytes[index + offset]);
        if (byte < (offset == 1 ? lowest : 0x80) || byte > (offset == 1 ? highest : 0xBF))
            return 0;
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    return length;
}

void appendCodePoint(QString &text, char32_t codePoint)
{
    if (QChar::requiresSurrogates(codePoint)) {
        text.append(QChar(QChar::highSurrogate(codePoint)));
        text.append(QChar(QChar::lowSurrogate(codePoint)));
    } else {
        text.append(QChar(char16_t(codePoint)));
    }
}

enum class Undecodable
{
    escaped, // to the reserved range, as are the bytes of the reserved code points themselves
    replaced // by U+FFFD; the reserved code points stay themselves
};

QString decodeBytes(QByteArrayView bytes, Undecodable policy)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype index = 0; index < bytes.size();) {
        char32_t codePoint = 0;
        int length = sequenceAt(bytes, index, codePoint);
        if (length > 0 && !(policy == Undecodable::escaped && isEscape(codePoint))) {
            appendCodePoint(text, codePoint);
            index += length;
            continue;
        }
        for (const qsizetype end = index + std::max(length, 1); index < end; ++index) {
            if (policy == Undecodable::escaped)
                text.append(QChar(char16_t(byteEscapeBase + quint8(bytes[index]))));
            else
                text.append(QChar::ReplacementCharacter);
        }
    }
    return text;
}

void appendUtf8(QByteArray &bytes, char32_t codePoint)
{
    if (codePoint < 0x80) {
        bytes.append(char(codePoint));
    } else if (codePoint < 0x800) {
        bytes.append(char(0xC0 | (codePoint >> 6)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        bytes.append(char(0xE0 | (codePoint >> 12)));
        bytes.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    } else {
        bytes.append(char(0xF0 | (codePoint >> 18)));
        bytes.append(char(0x80 | ((codePoint >> 12) & 0x3F)));
        bytes.append(char(0x80 | ((codePoint >> 6) & 0x3F)));
        bytes.append(char(0x80 | (codePoint & 0x3F)));
    }
}

} // namespace

QString NativePath::decode(QByteArrayView bytes)
{
    // Most names are ASCII, which decodes to itself.
    if (std::all_of(bytes.begin(), bytes.end(), [](char byte) { return quint8(byte) < 0x80; }))
        return QString::fromLatin1(bytes);
    return decodeBytes(bytes, Undecodable::escaped);
}

QByteArray NativePath::encode(QStringView path)
{
    if (std::all_of(path.begin(), path.end(), [](QChar unit) { return unit.unicode() < 0x80; }))
        return path.toLatin1();
    QByteArray bytes;
    bytes.reserve(path.size());
    for (qsizetype index = 0; index < path.size(); ++index) {
        const QChar unit = path[index];
        char32_t codePoint = unit.unicode();
        if (unit.isHighSurrogate() && index + 1 < path.size() && path[index + 1].isLowSurrogate())
            codePoint = QChar::surrogateToUcs4(unit, path[++index]);
        else if (unit.isSurrogate())
            codePoint = QChar::ReplacementCharacter; // a lone half has no bytes of its own
        if (isEscape(codePoint))
            bytes.append(char(codePoint - byteEscapeBase));
        else
            appendUtf8(bytes, codePoint);
    }
    return bytes;
}

QString NativePath::displayName(QStringView path)
{
    const bool escapes =
        std::any_of(path.begin(), path.end(), [](QChar unit) { return isEscape(unit.unicode()); });
    if (!escapes)
        return path.toString();
    return decodeBytes(encode(path), Undecodable::replaced);
}

} // namespace kestrune
