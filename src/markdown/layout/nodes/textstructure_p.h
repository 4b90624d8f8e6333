#pragma once

#include "markdown/document/blocknode.h"

#include <QtGlobal>

#include <functional>
#include <vector>

namespace kestrune {

class LayoutNode;

// Where each selectable text of a page sits among the blocks, list items and table cells of its
// document, recorded while the page is built, so that a copy can give lists their markers and
// tables their columns. A container names its place by position (the how-manieth child of its
// parent), not by pointer: the blocks a page is built from are often temporary copies, while the
// document's own blocks stay put and are found again by walking down the positions.
class TextStructure
{
public:
    struct Container
    {
        enum class Kind : quint8
        {
            block,
            listItem,
            tableCell,
        };
        Kind kind = Kind::block;
        BlockNode::Kind blockKind = BlockNode::Kind::paragraph;
        int parent = -1;
        // A block's place among its parent's blocks (a top-level block's index in the page), an
        // item's in its list, a cell's row.
        int position = 0;
        int column = 0;             // a cell's
        int firstText = 0;          // document index of the first text made inside
        LayoutNode *node = nullptr; // what a block was built into
    };

    // The top-level block of the page at an index; nullptr when there is none.
    using TopLevelBlocks = std::function<const BlockNode *(int)>;

    // Each returns the new container's index; `nextText` is the document index the next
    // selectable text will get.
    int openBlock(BlockNode::Kind kind, int parent, int position, int nextText);
    int openListItem(int list, int item, int nextText);
    int openTableCell(int table, int row, int column, int nextText);
    void setNode(int container, LayoutNode *node) { m_containers[size_t(container)].node = node; }
    // The next selectable text lies in `container` (-1: in none).
    void addText(int container)
    {
        if (m_replayed < 0)
            m_containerOfText.push_back(container);
    }
    // A block built again after it was parked opens the containers it opened the first time, in
    // the same order: from `firstContainer` on they are taken back instead of added, until
    // endReplay().
    void beginReplay(int firstContainer) { m_replayed = firstContainer; }
    void endReplay() { m_replayed = -1; }
    // Forgets what the containers from `first` to `end` were built into.
    void forgetNodes(int first, int end);
    void clear();

    int containerCount() const { return int(m_containers.size()); }
    const Container &container(int index) const { return m_containers[size_t(index)]; }
    int containerOfText(int text) const;
    // The containers from the outermost down to `container`.
    std::vector<int> chain(int container) const;

    // The document's block a block container was built from, or the list or table of an item or
    // a cell; nullptr when the positions lead nowhere or to a block of another kind.
    const BlockNode *block(int container, const TopLevelBlocks &topLevel) const;
    // The model of a cell container's cell.
    const RawTableCell *tableCell(int container, const TopLevelBlocks &topLevel) const;

private:
    int open(const Container &container);
    // The blocks below an item or a quote container.
    const QList<BlockNode> *childBlocks(int container, const TopLevelBlocks &topLevel) const;

    std::vector<Container> m_containers;
    std::vector<int> m_containerOfText;
    int m_replayed = -1; // the next container taken back while replaying
};

} // namespace kestrune
