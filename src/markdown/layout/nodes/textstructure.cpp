#include "markdown/layout/nodes/textstructure_p.h"

#include <algorithm>

namespace kestrune {

int TextStructure::open(const Container &container)
{
    if (m_replayed >= 0) {
        Q_ASSERT(m_replayed < int(m_containers.size()));
        Q_ASSERT(m_containers[size_t(m_replayed)].kind == container.kind);
        return m_replayed++;
    }
    m_containers.push_back(container);
    return int(m_containers.size()) - 1;
}

int TextStructure::openBlock(BlockNode::Kind kind, int parent, int position, int nextText)
{
    return open({Container::Kind::block, kind, parent, position, 0, nextText, nullptr});
}

int TextStructure::openListItem(int list, int item, int nextText)
{
    return open({Container::Kind::listItem, BlockNode::Kind::paragraph, list, item, 0, nextText, nullptr});
}

int TextStructure::openTableCell(int table, int row, int column, int nextText)
{
    return open(
        {Container::Kind::tableCell, BlockNode::Kind::paragraph, table, row, column, nextText, nullptr});
}

void TextStructure::forgetNodes(int first, int end)
{
    for (int index = std::max(0, first); index < end && index < int(m_containers.size()); ++index)
        m_containers[size_t(index)].node = nullptr;
}

void TextStructure::clear()
{
    m_containers.clear();
    m_containerOfText.clear();
    m_replayed = -1;
}

int TextStructure::containerOfText(int text) const
{
    return text >= 0 && text < int(m_containerOfText.size()) ? m_containerOfText[size_t(text)] : -1;
}

std::vector<int> TextStructure::chain(int container) const
{
    std::vector<int> containers;
    for (int index = container; index >= 0 && index < containerCount();
         index = m_containers[size_t(index)].parent)
        containers.push_back(index);
    std::reverse(containers.begin(), containers.end());
    return containers;
}

const QList<BlockNode> *TextStructure::childBlocks(int container, const TopLevelBlocks &topLevel) const
{
    const Container &parent = m_containers[size_t(container)];
    if (parent.kind == Container::Kind::listItem) {
        const BlockNode *list = block(parent.parent, topLevel);
        if (list == nullptr)
            return nullptr;
        const auto itemChildren = [&parent](const auto &items) -> const QList<BlockNode> * {
            return parent.position < items.size() ? &items[parent.position].children : nullptr;
        };
        if (const auto *bulleted = list->as<Block::BulletedList>())
            return itemChildren(bulleted->items);
        if (const auto *numbered = list->as<Block::NumberedList>())
            return itemChildren(numbered->items);
        if (const auto *tasks = list->as<Block::TaskList>())
            return itemChildren(tasks->items);
        return nullptr;
    }
    if (parent.kind == Container::Kind::block) {
        const BlockNode *quote = block(container, topLevel);
        if (quote != nullptr && quote->kind() == BlockNode::Kind::blockquote)
            return &quote->as<Block::Blockquote>()->children;
        if (quote != nullptr && quote->kind() == BlockNode::Kind::footnoteDefinition)
            return &quote->as<Block::FootnoteDefinition>()->children;
    }
    return nullptr;
}

const BlockNode *TextStructure::block(int container, const TopLevelBlocks &topLevel) const
{
    if (container < 0 || container >= containerCount())
        return nullptr;
    const Container &entry = m_containers[size_t(container)];
    if (entry.kind != Container::Kind::block)
        return block(entry.parent, topLevel);
    const BlockNode *found = nullptr;
    if (entry.parent < 0) {
        found = topLevel(entry.position);
    } else {
        const QList<BlockNode> *siblings = childBlocks(entry.parent, topLevel);
        if (siblings != nullptr && entry.position >= 0 && entry.position < siblings->size())
            found = &(*siblings)[entry.position];
    }
    return found != nullptr && found->kind() == entry.blockKind ? found : nullptr;
}

const RawTableCell *TextStructure::tableCell(int container, const TopLevelBlocks &topLevel) const
{
    if (container < 0 || container >= containerCount())
        return nullptr;
    const Container &cell = m_containers[size_t(container)];
    if (cell.kind != Container::Kind::tableCell)
        return nullptr;
    const BlockNode *table = block(cell.parent, topLevel);
    const auto *rows = table != nullptr ? table->as<Block::Table>() : nullptr;
    if (rows == nullptr || cell.position < 0 || cell.position >= rows->rows.size())
        return nullptr;
    const RawTableRow &row = rows->rows[cell.position];
    return cell.column >= 0 && cell.column < row.cells.size() ? &row.cells[cell.column] : nullptr;
}

} // namespace kestrune
