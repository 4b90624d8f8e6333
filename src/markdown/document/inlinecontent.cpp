#include "markdown/document/inlinecontent.h"

#include <QHashFunctions>

InlineContent::InlineContent(QList<InlineNode> inlines) : inlines(std::move(inlines)) {}

size_t qHash(const InlineContent &content, size_t seed) noexcept
{
    return qHash(content.inlines, seed);
}
