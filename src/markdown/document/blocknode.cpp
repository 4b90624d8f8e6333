#include "markdown/document/blocknode.h"

#include <QHashFunctions>

namespace kestrune {

using ::qHash; // the overloads below would hide those of Qt and of the built-in types

const QList<InlineNode> *BlockNode::inlines() const
{
    if (const auto *paragraph = as<Block::Paragraph>())
        return &paragraph->content;
    if (const auto *heading = as<Block::Heading>())
        return &heading->content;
    return nullptr;
}

// NOLINTNEXTLINE(bugprone-exception-escape): hashes nodes, see qHash(const BlockNode &) below
size_t qHash(const RawListItem &item, size_t seed) noexcept
{
    return qHash(item.children, seed);
}

// NOLINTNEXTLINE(bugprone-exception-escape): hashes nodes, see qHash(const BlockNode &) below
size_t qHash(const RawTaskListItem &item, size_t seed) noexcept
{
    return qHashMulti(seed, item.isCompleted, item.children);
}

size_t qHash(const RawTableCell &cell, size_t seed) noexcept
{
    return qHash(cell.content, seed);
}

size_t qHash(const RawTableRow &row, size_t seed) noexcept
{
    return qHash(row.cells, seed);
}

// std::visit throws only for a valueless variant, and nodes are never left valueless (their
// alternatives do not throw when moved).
// NOLINTNEXTLINE(bugprone-exception-escape)
size_t qHash(const BlockNode &node, size_t seed) noexcept
{
    seed = qHash(static_cast<int>(node.kind()), seed);
    return std::visit(
        [seed](const auto &value) -> size_t {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, Block::Blockquote>) {
                return qHashMulti(seed, int(value.alert), value.children);
            } else if constexpr (std::is_same_v<T, Block::FootnoteDefinition>) {
                return qHashMulti(seed, value.label, value.number, value.children);
            } else if constexpr (std::is_same_v<T, Block::BulletedList> ||
                                 std::is_same_v<T, Block::TaskList>) {
                return qHashMulti(seed, value.isTight, value.items);
            } else if constexpr (std::is_same_v<T, Block::NumberedList>) {
                return qHashMulti(seed, value.isTight, value.start, value.items);
            } else if constexpr (std::is_same_v<T, Block::CodeBlock>) {
                const size_t info = value.fenceInfo ? qHash(*value.fenceInfo, 1) : 0;
                return qHashMulti(seed, info, value.content);
            } else if constexpr (std::is_same_v<T, Block::HtmlBlock> || std::is_same_v<T, Block::Paragraph>) {
                return qHash(value.content, seed);
            } else if constexpr (std::is_same_v<T, Block::Heading>) {
                return qHashMulti(seed, value.level, value.content);
            } else if constexpr (std::is_same_v<T, Block::Table>) {
                size_t alignments = 0;
                for (RawTableColumnAlignment alignment : value.columnAlignments)
                    alignments = qHash(tableColumnAlignmentRawValue(alignment), alignments);
                return qHashMulti(seed, alignments, value.rows);
            } else {
                return seed;
            }
        },
        node.payload());
}

} // namespace kestrune
