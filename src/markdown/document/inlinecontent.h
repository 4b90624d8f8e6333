#pragma once

#include "markdown/document/inlinenode.h"

#include <QList>

namespace kestrune {

// A run of inline content (a paragraph's, a heading's or a table cell's), as the
// inline views receive it.
class InlineContent
{
public:
    InlineContent() = default;
    explicit InlineContent(QList<InlineNode> inlines);

    QList<InlineNode> inlines;

    friend bool operator==(const InlineContent &, const InlineContent &) = default;
};

size_t qHash(const InlineContent &content, size_t seed = 0) noexcept;

} // namespace kestrune
