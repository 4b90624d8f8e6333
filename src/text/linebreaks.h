#pragma once

#include <QStringView>

namespace kestrune {

// Where the lines of a text end, as the Markdown parser, every find and search and every reader of
// the project files (TextLines, RegularFileReader::forEachLine) count them: a line feed, a
// carriage return followed by a line feed (one line end of two characters) and a carriage return
// alone each end a line. Other Unicode separators (U+2028, U+0085, ...) are text within a line.
namespace LineBreaks {

inline bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// The length of the line end at `position`: 2 for CR LF, 1 for a line feed or a lone carriage
// return, 0 where no line ends (the text's end included).
qsizetype lengthAt(QStringView text, qsizetype position);

// Whether a line ends with the character at `position`: a line feed, or a carriage return that
// no line feed follows. Scanning character by character, each line end is counted once.
inline bool endsLineAt(QStringView text, qsizetype position)
{
    const QChar c = text[position];
    return c == u'\n' || (c == u'\r' && (position + 1 == text.size() || text[position + 1] != u'\n'));
}

// The start of the line holding `position`, and its end (where its line break starts, or the
// text's end).
qsizetype lineStart(QStringView text, qsizetype position);
qsizetype lineEnd(QStringView text, qsizetype position);

// How many line ends the text holds.
int count(QStringView text);

// Where line `line` (from 0) starts; the text's end for a line past its last.
qsizetype offsetOfLine(QStringView text, int line);

} // namespace LineBreaks

} // namespace kestrune
