#pragma once

#include "markdown/document/blocknode.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>

namespace kestrune {

// Writes the document model as JSON with the model's case and field names, for
// tools, golden files and bug reports. Every node is an object with one member
// named after its case:
//
//     {"blocks": [{"heading": {"level": 1, "content": [{"text": "Title"}]}},
//                 {"thematicBreak": {}}]}
//
// Cases whose payload is a single unnamed value ("text", "code", "html") hold
// that value directly. Nesting follows the model, which MarkdownParser bounds.
class MarkdownJsonWriter
{
public:
    static QJsonObject toJson(const QList<BlockNode> &blocks);
    static QJsonArray blocksToJson(const QList<BlockNode> &blocks);
    static QJsonArray inlinesToJson(const QList<InlineNode> &inlines);

    // The document as indented JSON text, ending in a line feed.
    static QByteArray toJsonText(const QList<BlockNode> &blocks);
};

} // namespace kestrune
