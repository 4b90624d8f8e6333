#include "markdown/document/markdownjsonwriter.h"

#include <QJsonDocument>
#include <QJsonValue>

namespace kestrune {

namespace {

QJsonObject tagged(const char *caseName, const QJsonValue &payload)
{
    return QJsonObject{{QLatin1String(caseName), payload}};
}

QString alignmentName(RawTableColumnAlignment alignment)
{
    switch (alignment) {
    case RawTableColumnAlignment::left:
        return QStringLiteral("left");
    case RawTableColumnAlignment::center:
        return QStringLiteral("center");
    case RawTableColumnAlignment::right:
        return QStringLiteral("right");
    case RawTableColumnAlignment::none:
        break;
    }
    return QStringLiteral("none");
}

QJsonObject inlineToJson(const InlineNode &node)
{
    return std::visit(
        [](const auto &value) -> QJsonObject {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, Inline::Text>)
                return tagged("text", value.text);
            else if constexpr (std::is_same_v<T, Inline::Code>)
                return tagged("code", value.code);
            else if constexpr (std::is_same_v<T, Inline::Html>)
                return tagged("html", value.html);
            else if constexpr (std::is_same_v<T, Inline::Emphasis>)
                return tagged("emphasis",
                              QJsonObject{{"children", MarkdownJsonWriter::inlinesToJson(value.children)}});
            else if constexpr (std::is_same_v<T, Inline::Strong>)
                return tagged("strong",
                              QJsonObject{{"children", MarkdownJsonWriter::inlinesToJson(value.children)}});
            else if constexpr (std::is_same_v<T, Inline::Strikethrough>)
                return tagged("strikethrough",
                              QJsonObject{{"children", MarkdownJsonWriter::inlinesToJson(value.children)}});
            else if constexpr (std::is_same_v<T, Inline::Link>)
                return tagged("link",
                              QJsonObject{{"destination", value.destination},
                                          {"children", MarkdownJsonWriter::inlinesToJson(value.children)}});
            else if constexpr (std::is_same_v<T, Inline::Image>)
                return tagged("image",
                              QJsonObject{{"source", value.source},
                                          {"children", MarkdownJsonWriter::inlinesToJson(value.children)}});
            else if constexpr (std::is_same_v<T, Inline::FootnoteReference>)
                return tagged("footnoteReference",
                              QJsonObject{{"label", value.label}, {"number", value.number}});
            else if constexpr (std::is_same_v<T, Inline::SoftBreak>)
                return tagged("softBreak", QJsonObject());
            else
                return tagged("lineBreak", QJsonObject());
        },
        node.payload());
}

QJsonObject blockToJson(const BlockNode &node)
{
    return std::visit(
        [](const auto &value) -> QJsonObject {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, Block::Blockquote>) {
                QJsonObject payload{{"children", MarkdownJsonWriter::blocksToJson(value.children)}};
                if (value.alert != AlertKind::none)
                    payload.insert("alert", alertKindRawValue(value.alert));
                return tagged("blockquote", payload);
            } else if constexpr (std::is_same_v<T, Block::FootnoteDefinition>) {
                return tagged("footnoteDefinition",
                              QJsonObject{{"label", value.label},
                                          {"number", value.number},
                                          {"children", MarkdownJsonWriter::blocksToJson(value.children)}});
            } else if constexpr (std::is_same_v<T, Block::BulletedList> ||
                                 std::is_same_v<T, Block::NumberedList>) {
                QJsonArray items;
                for (const RawListItem &item : value.items)
                    items.append(QJsonObject{{"children", MarkdownJsonWriter::blocksToJson(item.children)}});
                QJsonObject payload{{"isTight", value.isTight}};
                if constexpr (std::is_same_v<T, Block::NumberedList>)
                    payload.insert("start", value.start);
                payload.insert("items", items);
                return tagged(std::is_same_v<T, Block::NumberedList> ? "numberedList" : "bulletedList",
                              payload);
            } else if constexpr (std::is_same_v<T, Block::TaskList>) {
                QJsonArray items;
                for (const RawTaskListItem &item : value.items)
                    items.append(QJsonObject{{"isCompleted", item.isCompleted},
                                             {"children", MarkdownJsonWriter::blocksToJson(item.children)}});
                return tagged("taskList", QJsonObject{{"isTight", value.isTight}, {"items", items}});
            } else if constexpr (std::is_same_v<T, Block::CodeBlock>) {
                return tagged(
                    "codeBlock",
                    QJsonObject{{"fenceInfo", value.fenceInfo ? QJsonValue(*value.fenceInfo) : QJsonValue()},
                                {"content", value.content}});
            } else if constexpr (std::is_same_v<T, Block::HtmlBlock>) {
                return tagged("htmlBlock", QJsonObject{{"content", value.content}});
            } else if constexpr (std::is_same_v<T, Block::Paragraph>) {
                return tagged("paragraph",
                              QJsonObject{{"content", MarkdownJsonWriter::inlinesToJson(value.content)}});
            } else if constexpr (std::is_same_v<T, Block::Heading>) {
                return tagged("heading",
                              QJsonObject{{"level", value.level},
                                          {"content", MarkdownJsonWriter::inlinesToJson(value.content)}});
            } else if constexpr (std::is_same_v<T, Block::Table>) {
                QJsonArray alignments;
                for (RawTableColumnAlignment alignment : value.columnAlignments)
                    alignments.append(alignmentName(alignment));
                QJsonArray rows;
                for (const RawTableRow &row : value.rows) {
                    QJsonArray cells;
                    for (const RawTableCell &cell : row.cells)
                        cells.append(
                            QJsonObject{{"content", MarkdownJsonWriter::inlinesToJson(cell.content)}});
                    rows.append(QJsonObject{{"cells", cells}});
                }
                return tagged("table", QJsonObject{{"columnAlignments", alignments}, {"rows", rows}});
            } else {
                return tagged("thematicBreak", QJsonObject());
            }
        },
        node.payload());
}

} // namespace

QJsonArray MarkdownJsonWriter::blocksToJson(const QList<BlockNode> &blocks)
{
    QJsonArray array;
    for (const BlockNode &block : blocks)
        array.append(blockToJson(block));
    return array;
}

QJsonArray MarkdownJsonWriter::inlinesToJson(const QList<InlineNode> &inlines)
{
    QJsonArray array;
    for (const InlineNode &node : inlines)
        array.append(inlineToJson(node));
    return array;
}

QJsonObject MarkdownJsonWriter::toJson(const QList<BlockNode> &blocks)
{
    return QJsonObject{{"blocks", blocksToJson(blocks)}};
}

QByteArray MarkdownJsonWriter::toJsonText(const QList<BlockNode> &blocks)
{
    return QJsonDocument(toJson(blocks)).toJson(QJsonDocument::Indented);
}

} // namespace kestrune
