#pragma once

#include "markdown/document/blocknode.h"

#include <QList>

struct cmark_node;

namespace kestrune {

// Converts a parser tree into the document model, bottom-up and without
// recursion (see MarkdownParser for the nesting bounds).
class MarkdownConverter
{
public:
    // The blocks of `document`'s children. A tree whose shape the parser never
    // produces (an unknown node type, a list child that is not an item, a table
    // child that is not a row, a row child that is not a cell, a list without a
    // list type) is a programming error and stops the program.
    // Each block's source line is its parser line (from 1) plus `firstLine` - 1: the line the
    // parsed text starts on in a longer one.
    static QList<BlockNode> convertDocument(cmark_node *document, int firstLine = 0);
};

} // namespace kestrune
