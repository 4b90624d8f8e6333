#include "markdown/document/inlinecontent.h"

#include <QHashFunctions>

namespace kestrune {

using ::qHash; // the overloads below would hide those of Qt and of the built-in types

InlineContent::InlineContent(QList<InlineNode> inlines) : inlines(std::move(inlines)) {}

size_t qHash(const InlineContent &content, size_t seed) noexcept
{
    return qHash(content.inlines, seed);
}

} // namespace kestrune
