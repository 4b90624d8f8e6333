#pragma once

#include "markdown/document/blocknode.h"

#include <QList>
#include <QString>

namespace kestrune {

// The headings of a parsed document in reading order, nested ones (in quotes and list items)
// included, each with the identifier links to "#identifier" and MarkdownView::scrollToHeading
// find it by: unique in the document, as the page numbers them (HeadingIdentifierSequence). Read
// from the model alone, so it is known before the page is laid out.
class HeadingOutline
{
public:
    struct Heading
    {
        int level = 1; // 1 to 6
        QString text;  // without its markup
        QString identifier;
        // The top-level block it is, or lies in (as MarkdownView::ReadingPosition counts them).
        int blockIndex = 0;
        friend bool operator==(const Heading &, const Heading &) = default;
    };

    static QList<Heading> of(const QList<BlockNode> &blocks);
    // The identifier of a heading with this content, before it is made unique in its document.
    static QString identifier(const QList<InlineNode> &content);

private:
    static void collect(const QList<BlockNode> &blocks, int blockIndex, QList<Heading> &headings);
};

} // namespace kestrune
