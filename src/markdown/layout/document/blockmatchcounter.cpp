#include "markdown/layout/document/blockmatchcounter_p.h"

#include "markdown/layout/text/styledtext.h"

#include <type_traits>

namespace kestrune {

namespace {

// The text of inlines as the page shows it: InlineQueries::plainText, except that an image is a
// picture (the page's placeholder character), not its alternative text. The matches counted in
// it are thus those the page finds, in the same order, and a place in the source ranks among
// them as it does on the page.
void appendShownText(const QList<InlineNode> &inlines, QString &text)
{
    for (const InlineNode &node : inlines) {
        if (const auto *t = node.as<Inline::Text>())
            text += t->text;
        else if (const auto *code = node.as<Inline::Code>())
            text += code->code;
        else if (node.kind() == InlineNode::Kind::softBreak || node.kind() == InlineNode::Kind::lineBreak)
            text += QLatin1Char(' ');
        else if (node.kind() == InlineNode::Kind::image)
            text += QChar(StyledText::imagePlaceholder);
        else if (const QList<InlineNode> *children = node.children())
            appendShownText(*children, text);
    }
}

QString shownText(const QList<InlineNode> &inlines)
{
    QString text;
    appendShownText(inlines, text);
    return text;
}

} // namespace

int BlockMatchCounter::count(const BlockNode &block, const SearchPattern &query)
{
    return std::visit(
        [&query](const auto &payload) -> int {
            using Payload = std::decay_t<decltype(payload)>;
            if constexpr (std::is_same_v<Payload, Block::Paragraph> ||
                          std::is_same_v<Payload, Block::Heading>) {
                return int(query.matchCountIn(shownText(payload.content)));
            } else if constexpr (std::is_same_v<Payload, Block::CodeBlock> ||
                                 std::is_same_v<Payload, Block::HtmlBlock>) {
                return int(query.matchCountIn(payload.content));
            } else if constexpr (std::is_same_v<Payload, Block::Blockquote> ||
                                 std::is_same_v<Payload, Block::FootnoteDefinition>) {
                return count(payload.children, query);
            } else if constexpr (std::is_same_v<Payload, Block::Table>) {
                int total = 0;
                for (const RawTableRow &row : payload.rows) {
                    for (const RawTableCell &cell : row.cells)
                        total += int(query.matchCountIn(shownText(cell.content)));
                }
                return total;
            } else if constexpr (std::is_same_v<Payload, Block::ThematicBreak>) {
                return 0;
            } else { // the lists
                int total = 0;
                for (const auto &item : payload.items)
                    total += count(item.children, query);
                return total;
            }
        },
        block.payload());
}

int BlockMatchCounter::count(const QList<BlockNode> &blocks, const SearchPattern &query)
{
    int total = 0;
    for (const BlockNode &block : blocks)
        total += count(block, query);
    return total;
}

} // namespace kestrune
