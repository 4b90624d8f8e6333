#pragma once

#include <QString>
#include <QStringView>

namespace kestrune {

// The identifier the preview gives a heading (what "#identifier" links and its headings popup
// go to) before HeadingIdentifierSequence numbers the ones a document repeats, made from the
// heading's Markdown line without parsing it: the words of its text, that
// is its runs of letters and digits, in lower case and joined by "-". As the preview reads the
// text, a link or image counts with its text only, HTML tags count not at all (autolinks do) and
// numeric character references count as the character; code spans count as written.
class HeadingIdentifier
{
public:
    HeadingIdentifier() = delete;

    // `line`: the heading's line, its "#" marks included or not.
    static QString of(QStringView line);
    // The identifier of a heading whose text, markup removed, is `text`.
    static QString fromPlainText(QStringView text);
    // A heading's text (without its "#" marks) as the preview shows it, markup removed.
    static QString plainText(QStringView text);
};

} // namespace kestrune
