#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace kestrune {

// Helpers for the line-oriented reading of project files.
namespace TextLines {

// Decodes UTF-8 strictly: nothing when the bytes are not valid UTF-8. A leading byte-order
// mark is dropped.
std::optional<QString> decodeUtf8(const QByteArray &bytes);

// The tab and every Unicode space separator (category Zs); line breaks are not white space here.
bool isLineWhiteSpace(QChar c);

// The line with white space removed at both ends.
QStringView trimmed(QStringView line);

// Line breaks: U+000A to U+000D, U+0085, U+2028 and U+2029.
inline bool isNewline(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

// The lines of a whole text, split at every newline character except that CR LF is one line
// break: for documents held at once, written on any system. Text after the last line break is the
// last line, so a text ending with a line break ends with an empty line.
QList<QStringView> splitLines(QStringView text);

// Calls visit(line) for every line of the text, split at every newline character.
template <typename Visitor> void forEachLine(QStringView text, Visitor &&visit)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (isNewline(text[i])) {
            visit(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    visit(text.sliced(start));
}

} // namespace TextLines

} // namespace kestrune
