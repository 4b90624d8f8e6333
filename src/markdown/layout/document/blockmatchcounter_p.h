#pragma once

#include "markdown/document/blocknode.h"
#include "text/searchpattern.h"

namespace kestrune {

// Counts the matches of a find in a block from the document model alone, so that a whole
// document can be counted off the window's thread before it is laid out. Each text the page
// shows on its own (a paragraph, a heading, a table cell, a code block) is searched apart, as
// the page searches its texts; inlines count as the text the page shows, an image as a picture
// without its alternative text, so the n-th match counted is the n-th the page highlights. The
// page's own count of a laid-out block replaces this one where the two differ (a picture that
// failed to load shows its alternative text).
class BlockMatchCounter
{
public:
    static int count(const BlockNode &block, const SearchPattern &query);

private:
    static int count(const QList<BlockNode> &blocks, const SearchPattern &query);
};

} // namespace kestrune
