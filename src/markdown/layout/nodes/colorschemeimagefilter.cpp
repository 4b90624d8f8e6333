#include "markdown/layout/nodes/colorschemeimagefilter_p.h"

#include <QUrl>

namespace kestrune {

namespace {

// The container inline with other children; nothing for the kinds that are not rebuilt.
std::optional<InlineNode> withChildren(const InlineNode &node, const QList<InlineNode> &children)
{
    if (node.as<Inline::Emphasis>())
        return InlineNode(Inline::Emphasis{children});
    if (node.as<Inline::Strong>())
        return InlineNode(Inline::Strong{children});
    if (node.as<Inline::Strikethrough>())
        return InlineNode(Inline::Strikethrough{children});
    if (const auto *link = node.as<Inline::Link>())
        return InlineNode(Inline::Link{link->destination, children});
    return std::nullopt;
}

} // namespace

ColorSchemeImageFilter::ColorSchemeImageFilter(Appearance appearance)
    : m_dropped(appearance == Appearance::light ? ImageScheme::darkOnly : ImageScheme::lightOnly)
{}

ImageScheme ColorSchemeImageFilter::schemeOf(const QString &source)
{
    // Most sources have no fragment at all; they need not be parsed as URLs.
    if (!source.contains(QLatin1Char('#')))
        return ImageScheme::any;
    const QString fragment = QUrl(source).fragment(QUrl::FullyDecoded).toLower();
    if (fragment == QLatin1String("gh-dark-mode-only"))
        return ImageScheme::darkOnly;
    if (fragment == QLatin1String("gh-light-mode-only"))
        return ImageScheme::lightOnly;
    return ImageScheme::any;
}

BlockNode ColorSchemeImageFilter::withoutOtherSchemeImages(const BlockNode &block, Appearance appearance,
                                                           bool *found)
{
    ColorSchemeImageFilter filter(appearance);
    std::optional<BlockNode> filtered = filter.filteredBlock(block);
    if (found)
        *found = filter.m_found;
    return filtered ? *filtered : block;
}

std::optional<QList<InlineNode>> ColorSchemeImageFilter::filteredInlines(const QList<InlineNode> &inlines)
{
    std::optional<QList<InlineNode>> result;
    for (qsizetype i = 0; i < inlines.size(); ++i) {
        const InlineNode &node = inlines[i];
        std::optional<InlineNode> replacement;
        bool drop = false;
        if (const auto *image = node.as<Inline::Image>()) {
            const ImageScheme scheme = schemeOf(image->source);
            m_found = m_found || scheme != ImageScheme::any;
            drop = scheme == m_dropped;
        } else if (const QList<InlineNode> *children = node.children()) {
            if (const std::optional<QList<InlineNode>> filtered = filteredInlines(*children))
                replacement = withChildren(node, *filtered);
        }
        // The copy starts at the first change, with the untouched nodes before it.
        if ((drop || replacement) && !result)
            result = inlines.mid(0, i);
        if (result && !drop)
            result->append(replacement ? *replacement : node);
    }
    return result;
}

std::optional<BlockNode> ColorSchemeImageFilter::filteredBlock(const BlockNode &block)
{
    switch (block.kind()) {
    case BlockNode::Kind::paragraph:
        if (const auto inlines = filteredInlines(block.as<Block::Paragraph>()->content))
            return BlockNode(Block::Paragraph{*inlines});
        return std::nullopt;
    case BlockNode::Kind::heading: {
        const auto &heading = *block.as<Block::Heading>();
        if (const auto inlines = filteredInlines(heading.content))
            return BlockNode(Block::Heading{heading.level, *inlines});
        return std::nullopt;
    }
    case BlockNode::Kind::blockquote:
        if (const auto children = filteredBlocks(block.as<Block::Blockquote>()->children))
            return BlockNode(Block::Blockquote{*children, block.as<Block::Blockquote>()->alert});
        return std::nullopt;
    case BlockNode::Kind::footnoteDefinition: {
        const auto &note = *block.as<Block::FootnoteDefinition>();
        if (const auto children = filteredBlocks(note.children))
            return BlockNode(Block::FootnoteDefinition{note.label, note.number, *children});
        return std::nullopt;
    }
    case BlockNode::Kind::bulletedList:
    case BlockNode::Kind::numberedList:
        return filteredList(block);
    case BlockNode::Kind::taskList:
        return filteredTaskList(*block.as<Block::TaskList>());
    case BlockNode::Kind::table:
        return filteredTable(*block.as<Block::Table>());
    case BlockNode::Kind::codeBlock:
    case BlockNode::Kind::htmlBlock:
    case BlockNode::Kind::thematicBreak:
        break;
    }
    return std::nullopt;
}

std::optional<BlockNode> ColorSchemeImageFilter::filteredList(const BlockNode &block)
{
    const QList<RawListItem> &items = block.kind() == BlockNode::Kind::bulletedList
                                          ? block.as<Block::BulletedList>()->items
                                          : block.as<Block::NumberedList>()->items;
    // Every item is filtered, even after a change, so that `found` covers the whole list.
    bool changed = false;
    QList<RawListItem> filtered;
    for (const RawListItem &item : items) {
        const auto children = filteredBlocks(item.children);
        changed = changed || children;
        filtered.append({children ? *children : item.children});
    }
    if (!changed)
        return std::nullopt;
    if (const auto *list = block.as<Block::BulletedList>())
        return BlockNode(Block::BulletedList{list->isTight, filtered});
    const auto *list = block.as<Block::NumberedList>();
    return BlockNode(Block::NumberedList{list->isTight, list->start, filtered});
}

std::optional<BlockNode> ColorSchemeImageFilter::filteredTaskList(const Block::TaskList &list)
{
    bool changed = false;
    QList<RawTaskListItem> filtered;
    for (const RawTaskListItem &item : list.items) {
        const auto children = filteredBlocks(item.children);
        changed = changed || children;
        filtered.append({item.isCompleted, children ? *children : item.children});
    }
    if (!changed)
        return std::nullopt;
    return BlockNode(Block::TaskList{list.isTight, filtered});
}

std::optional<BlockNode> ColorSchemeImageFilter::filteredTable(const Block::Table &table)
{
    bool changed = false;
    QList<RawTableRow> rows;
    for (const RawTableRow &row : table.rows) {
        RawTableRow filteredRow;
        for (const RawTableCell &cell : row.cells) {
            const auto content = filteredInlines(cell.content);
            changed = changed || content;
            filteredRow.cells.append({content ? *content : cell.content});
        }
        rows.append(filteredRow);
    }
    if (!changed)
        return std::nullopt;
    return BlockNode(Block::Table{table.columnAlignments, rows});
}

std::optional<QList<BlockNode>> ColorSchemeImageFilter::filteredBlocks(const QList<BlockNode> &blocks)
{
    std::optional<QList<BlockNode>> result;
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        const std::optional<BlockNode> filtered = filteredBlock(blocks[i]);
        if (filtered && !result)
            result = blocks.mid(0, i);
        if (result)
            result->append(filtered ? *filtered : blocks[i]);
    }
    return result;
}

} // namespace kestrune
