#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace kestrune {

// Splits a long Markdown text into pieces that parse to the same blocks as the whole: each
// piece after the first starts with an ATX heading ("# ...") at the start of a line, outside
// fenced code and outside HTML comments and raw blocks, where every open block has ended.
// Used to show the first screen of a very long document before the rest is parsed.
//
// Link reference definitions are not carried from one piece to the next; documents long
// enough to be split rarely use them. A text that defines footnotes is not split: its notes are
// numbered and gathered at its end over the whole text.
class MarkdownChunker
{
public:
    // The pieces, each at least `minimumSize` characters (but the last, and the first, which is
    // at least `firstMinimumSize` when that is given); the text unsplit when no safe place exists.
    static QList<QStringView> split(QStringView text, qsizetype minimumSize, qsizetype firstMinimumSize = -1);
};

} // namespace kestrune
