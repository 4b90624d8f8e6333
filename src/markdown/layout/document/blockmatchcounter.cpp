#include "markdown/layout/document/blockmatchcounter_p.h"

#include "markdown/layout/nodes/inlinequeries_p.h"

#include <type_traits>

namespace kestrune {

int BlockMatchCounter::count(const BlockNode &block, const SearchPattern &query)
{
    return std::visit(
        [&query](const auto &payload) -> int {
            using Payload = std::decay_t<decltype(payload)>;
            if constexpr (std::is_same_v<Payload, Block::Paragraph> ||
                          std::is_same_v<Payload, Block::Heading>) {
                return int(query.matchCountIn(InlineQueries::shownText(payload.content)));
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
                        total += int(query.matchCountIn(InlineQueries::shownText(cell.content)));
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
