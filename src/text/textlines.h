#pragma once

#include "text/linebreaks.h"

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

// The lines of a whole text, split where LineBreaks ends a line (a line feed, CR LF, a lone
// carriage return), as the Markdown parser reads them: files written on any system read alike.
// Text after the last line break is the last line, so a text ending with a line break ends with
// an empty line.
QList<QStringView> splitLines(QStringView text);

// Calls visit(line) for every line of the text, split as splitLines splits it.
template <typename Visitor> void forEachLine(QStringView text, Visitor &&visit)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (!LineBreaks::isLineBreak(text[i]))
            continue;
        visit(text.sliced(start, i - start));
        i += LineBreaks::lengthAt(text, i) - 1;
        start = i + 1;
    }
    visit(text.sliced(start));
}

} // namespace TextLines

} // namespace kestrune
