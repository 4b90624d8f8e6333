#pragma once

// Short spellings for building expected documents in tests.

#include "markdown/document/blocknode.h"

#include <QString>

namespace kestrune {

namespace Build {

inline InlineNode text(const char *value)
{
    return Inline::Text{QString::fromUtf8(value)};
}

inline BlockNode paragraph(QList<InlineNode> content)
{
    return Block::Paragraph{std::move(content)};
}

inline BlockNode paragraph(const char *value)
{
    return paragraph({text(value)});
}

// `depth` block quotes around `innermost`, built without recursion.
inline BlockNode nestedQuotes(int depth, BlockNode innermost)
{
    BlockNode node = std::move(innermost);
    for (int level = 0; level < depth; ++level)
        node = Block::Blockquote{{node}};
    return node;
}

} // namespace Build

} // namespace kestrune
