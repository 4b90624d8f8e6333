#include "markdown/document/markdownconverter_p.h"

#include "markdown/document/cmarkgfm_p.h"
#include "markdown/document/markdownparser.h"
#include "markdown/document/nodetype_p.h"
#include "markdown/document/sharedstringpool_p.h"

#include <QByteArray>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kestrune {

namespace {

[[noreturn]] void programmingError(const QByteArray &message)
{
    qFatal("%s", message.constData());
    std::abort();
}

[[noreturn]] void unexpectedChild(const char *expected, cmark_node *node)
{
    programmingError(QByteArray("Expected a ") + expected + " but got a '" +
                     cmark_node_get_type_string(node) + "' instead.");
}

NodeType nodeType(cmark_node *node)
{
    // Nodes owned by an extension are told apart by their type string; the core
    // kinds by their enumeration value, which is cheaper.
    if (cmark_node_get_syntax_extension(node) == nullptr) {
        switch (cmark_node_get_type(node)) {
        case CMARK_NODE_DOCUMENT:
            return NodeType::document;
        case CMARK_NODE_BLOCK_QUOTE:
            return NodeType::blockquote;
        case CMARK_NODE_LIST:
            return NodeType::list;
        case CMARK_NODE_ITEM:
            return NodeType::item;
        case CMARK_NODE_CODE_BLOCK:
            return NodeType::codeBlock;
        case CMARK_NODE_HTML_BLOCK:
            return NodeType::htmlBlock;
        case CMARK_NODE_CUSTOM_BLOCK:
            return NodeType::customBlock;
        case CMARK_NODE_PARAGRAPH:
            return NodeType::paragraph;
        case CMARK_NODE_HEADING:
            return NodeType::heading;
        case CMARK_NODE_THEMATIC_BREAK:
            return NodeType::thematicBreak;
        case CMARK_NODE_TEXT:
            return NodeType::text;
        case CMARK_NODE_SOFTBREAK:
            return NodeType::softBreak;
        case CMARK_NODE_LINEBREAK:
            return NodeType::lineBreak;
        case CMARK_NODE_CODE:
            return NodeType::code;
        case CMARK_NODE_HTML_INLINE:
            return NodeType::html;
        case CMARK_NODE_CUSTOM_INLINE:
            return NodeType::customInline;
        case CMARK_NODE_EMPH:
            return NodeType::emphasis;
        case CMARK_NODE_STRONG:
            return NodeType::strong;
        case CMARK_NODE_LINK:
            return NodeType::link;
        case CMARK_NODE_IMAGE:
            return NodeType::image;
        case CMARK_NODE_FOOTNOTE_DEFINITION:
            return NodeType::footnoteDefinition;
        case CMARK_NODE_FOOTNOTE_REFERENCE:
            return NodeType::footnoteReference;
        default:
            break;
        }
    }
    const char *typeString = cmark_node_get_type_string(node);
    if (const std::optional<NodeType> type = nodeTypeFromRawValue(typeString))
        return *type;
    programmingError(QByteArray("Unknown node type '") + typeString + "' found.");
}

struct PendingItem
{
    bool isTask = false;
    bool isCompleted = false;
    QList<BlockNode> children;
};

// One open container of the walk. A frame beyond the nesting bounds is
// "flattened": it makes no node of its own and its content goes to the nearest
// enclosing frame that does.
//
// Finished children wait on shared stacks, one per kind, until their container
// closes; a frame only remembers where its children begin on each. Content of a
// flattened frame simply stays there for the enclosing frame to take.
struct Frame
{
    cmark_node *node = nullptr;
    NodeType type = NodeType::document;
    bool flattened = false;
    int blockDepth = 0;  // container blocks enclosing this frame's content
    int inlineDepth = 0; // container inlines enclosing this frame's content

    std::size_t blocksBegin = 0;
    std::size_t inlinesBegin = 0;
    std::size_t itemsBegin = 0;
    std::size_t rowsBegin = 0;
    std::size_t cellsBegin = 0;
};

// The elements of `stack` from `begin` on, moved into a list of exactly their
// number and taken off the stack.
template <typename T> QList<T> take(std::vector<T> &stack, std::size_t begin)
{
    QList<T> list;
    list.reserve(qsizetype(stack.size() - begin));
    for (auto it = stack.begin() + std::ptrdiff_t(begin); it != stack.end(); ++it)
        list.emplace_back(std::move(*it));
    stack.erase(stack.begin() + std::ptrdiff_t(begin), stack.end());
    return list;
}

enum class Context
{
    blocks,
    list,
    table,
    row,
    inlines
};

Context contextOf(NodeType type)
{
    switch (type) {
    case NodeType::list:
        return Context::list;
    case NodeType::table:
        return Context::table;
    case NodeType::tableHead:
    case NodeType::tableRow:
        return Context::row;
    case NodeType::document:
    case NodeType::blockquote:
    case NodeType::item:
    case NodeType::taskListItem:
    case NodeType::footnoteDefinition:
        return Context::blocks;
    default:
        return Context::inlines;
    }
}

class Walk
{
public:
    explicit Walk(int firstLine) : m_firstLine(firstLine) {}

    QList<BlockNode> run(cmark_node *document)
    {
        m_stack.reserve(32);
        Frame root;
        root.node = document;
        m_stack.push_back(root);
        collectFootnoteLabels(document);

        cmark_node *node = cmark_node_first_child(document);
        for (;;) {
            if (node) {
                if (open(node)) {
                    node = cmark_node_first_child(node);
                    continue;
                }
                node = cmark_node_next(node);
                continue;
            }
            if (m_stack.size() == 1)
                break;
            cmark_node *finished = m_stack.back().node;
            close();
            node = cmark_node_next(finished);
        }
        return take(m_blocks, 0);
    }

private:
    Frame &top() { return m_stack.back(); }

    QString string(const char *text)
    {
        return text ? m_strings.fromUtf8(text, qsizetype(std::strlen(text))) : QString();
    }
    QString literal(cmark_node *node) { return string(cmark_node_get_literal(node)); }
    QString url(cmark_node *node) { return string(cmark_node_get_url(node)); }
    int sourceLine(cmark_node *node) const { return m_firstLine + cmark_node_get_start_line(node) - 1; }

    void push(cmark_node *node, NodeType type, bool flattened, int blockDepth, int inlineDepth)
    {
        Frame frame;
        frame.node = node;
        frame.type = type;
        frame.flattened = flattened;
        frame.blockDepth = blockDepth;
        frame.inlineDepth = inlineDepth;
        frame.blocksBegin = m_blocks.size();
        frame.inlinesBegin = m_inlines.size();
        frame.itemsBegin = m_items.size();
        frame.rowsBegin = m_rows.size();
        frame.cellsBegin = m_cells.size();
        m_stack.push_back(frame);
    }

    // Handles a node on the way down. Returns true when a frame was opened for
    // its children.
    bool open(cmark_node *node)
    {
        const NodeType type = nodeType(node);
        Frame &parent = top();
        switch (contextOf(parent.type)) {
        case Context::blocks:
            return openBlock(node, type);
        case Context::list: {
            if (type != NodeType::item && type != NodeType::taskListItem)
                unexpectedChild("list item", node);
            const int blockDepth = parent.blockDepth;
            push(node, type, parent.flattened, blockDepth, 0);
            return true;
        }
        case Context::table:
            if (type != NodeType::tableRow && type != NodeType::tableHead)
                unexpectedChild("table row", node);
            push(node, type, false, parent.blockDepth, 0);
            return true;
        case Context::row:
            if (type != NodeType::tableCell)
                unexpectedChild("table cell", node);
            push(node, type, false, parent.blockDepth, 0);
            return true;
        case Context::inlines:
            return openInline(node, type);
        }
        return false;
    }

    bool openBlock(cmark_node *node, NodeType type)
    {
        const int depth = top().blockDepth;
        switch (type) {
        case NodeType::blockquote:
        case NodeType::list:
        case NodeType::footnoteDefinition: {
            const bool flattened = depth >= MarkdownParser::maxBlockDepth;
            push(node, type, flattened, flattened ? depth : depth + 1, 0);
            return true;
        }
        case NodeType::paragraph:
        case NodeType::heading:
        case NodeType::table:
            push(node, type, false, depth, 0);
            return true;
        case NodeType::codeBlock: {
            Block::CodeBlock block;
            if (const char *info = cmark_node_get_fence_info(node))
                block.fenceInfo = string(info);
            block.content = literal(node);
            m_blocks.emplace_back(std::move(block), sourceLine(node));
            return false;
        }
        case NodeType::htmlBlock:
            m_blocks.emplace_back(Block::HtmlBlock{literal(node)}, sourceLine(node));
            return false;
        case NodeType::thematicBreak:
            m_blocks.emplace_back(Block::ThematicBreak{}, sourceLine(node));
            return false;
        default:
            return false; // custom blocks, and inline or item kinds out of place
        }
    }

    bool openInline(cmark_node *node, NodeType type)
    {
        switch (type) {
        case NodeType::text:
            m_inlines.emplace_back(Inline::Text{literal(node)});
            return false;
        case NodeType::softBreak:
            m_inlines.emplace_back(Inline::SoftBreak{});
            return false;
        case NodeType::lineBreak:
            m_inlines.emplace_back(Inline::LineBreak{});
            return false;
        case NodeType::code:
            m_inlines.emplace_back(Inline::Code{literal(node)});
            return false;
        case NodeType::html:
            m_inlines.emplace_back(Inline::Html{literal(node)});
            return false;
        case NodeType::footnoteReference: {
            // The parser replaced the label with the note's number.
            const int number = std::atoi(cmark_node_get_literal(node) ? cmark_node_get_literal(node) : "0");
            m_inlines.emplace_back(Inline::FootnoteReference{footnoteLabel(number), number});
            return false;
        }
        case NodeType::emphasis:
        case NodeType::strong:
        case NodeType::strikethrough:
        case NodeType::link:
        case NodeType::image: {
            const Frame &parent = top();
            const bool flattened = parent.inlineDepth >= MarkdownParser::maxInlineDepth;
            push(node, type, flattened, parent.blockDepth,
                 flattened ? parent.inlineDepth : parent.inlineDepth + 1);
            return true;
        }
        default:
            return false; // custom inlines, attributes and anything out of place
        }
    }

    // Finishes the top frame and hands its node to the enclosing frame.
    void close()
    {
        const Frame frame = m_stack.back();
        m_stack.pop_back();
        if (frame.flattened)
            return;

        switch (frame.type) {
        case NodeType::blockquote:
            m_blocks.emplace_back(makeBlockquote(take(m_blocks, frame.blocksBegin)), sourceLine(frame.node));
            break;
        case NodeType::footnoteDefinition: {
            const int number = ++m_closedFootnotes;
            m_blocks.emplace_back(
                Block::FootnoteDefinition{footnoteLabel(number), number, take(m_blocks, frame.blocksBegin)},
                sourceLine(frame.node));
            break;
        }
        case NodeType::item:
        case NodeType::taskListItem: {
            PendingItem item;
            item.isTask = frame.type == NodeType::taskListItem;
            item.isCompleted = item.isTask && cmark_gfm_extensions_get_tasklist_item_checked(frame.node);
            item.children = take(m_blocks, frame.blocksBegin);
            m_items.push_back(std::move(item));
            break;
        }
        case NodeType::list:
            m_blocks.emplace_back(makeList(frame), sourceLine(frame.node));
            break;
        case NodeType::paragraph:
            m_blocks.emplace_back(Block::Paragraph{take(m_inlines, frame.inlinesBegin)},
                                  sourceLine(frame.node));
            break;
        case NodeType::heading:
            m_blocks.emplace_back(
                Block::Heading{cmark_node_get_heading_level(frame.node), take(m_inlines, frame.inlinesBegin)},
                sourceLine(frame.node));
            break;
        case NodeType::table:
            m_blocks.emplace_back(makeTable(frame), sourceLine(frame.node));
            break;
        case NodeType::tableHead:
        case NodeType::tableRow:
            m_rows.emplace_back(RawTableRow{take(m_cells, frame.cellsBegin)});
            break;
        case NodeType::tableCell:
            m_cells.emplace_back(RawTableCell{take(m_inlines, frame.inlinesBegin)});
            break;
        case NodeType::emphasis:
            m_inlines.emplace_back(Inline::Emphasis{take(m_inlines, frame.inlinesBegin)});
            break;
        case NodeType::strong:
            m_inlines.emplace_back(Inline::Strong{take(m_inlines, frame.inlinesBegin)});
            break;
        case NodeType::strikethrough:
            m_inlines.emplace_back(Inline::Strikethrough{take(m_inlines, frame.inlinesBegin)});
            break;
        case NodeType::link:
            m_inlines.emplace_back(Inline::Link{url(frame.node), take(m_inlines, frame.inlinesBegin)});
            break;
        case NodeType::image:
            m_inlines.emplace_back(Inline::Image{url(frame.node), take(m_inlines, frame.inlinesBegin)});
            break;
        default:
            break;
        }
    }

    // The parser moved the notes something refers to to the end of the document, in the order
    // of their numbers, and keeps a note's label where only its renderers read it: the
    // CommonMark renderer writes it verbatim as the first line, "[^label]:".
    void collectFootnoteLabels(cmark_node *document)
    {
        for (cmark_node *child = cmark_node_last_child(document);
             child && nodeType(child) == NodeType::footnoteDefinition; child = cmark_node_previous(child)) {
            m_footnoteLabels.prepend(renderedFootnoteLabel(child));
        }
    }

    QString renderedFootnoteLabel(cmark_node *definition)
    {
        // Rendered with the default allocator, which the buffer's deleter frees with, not the tree's.
        const Cmark::BufferPtr rendered(cmark_render_commonmark_with_mem(definition, CMARK_OPT_DEFAULT, 0,
                                                                         cmark_get_default_mem_allocator()));
        if (!rendered)
            return {};
        const QByteArrayView text(rendered.get());
        // The label ends at the first "]:" that ends a line; the body's lines are indented.
        const qsizetype end = text.indexOf(QByteArrayView("]:\n"));
        if (!text.startsWith("[^") || end < 2)
            return {};
        return QString::fromUtf8(text.sliced(2, end - 2));
    }

    QString footnoteLabel(int number) const
    {
        if (number >= 1 && number <= m_footnoteLabels.size())
            return m_footnoteLabels.at(number - 1);
        return QString::number(number);
    }

    // A quote whose first line is only an alert marker is that alert; the line is dropped and
    // the rest of the quote is its body.
    static Block::Blockquote makeBlockquote(QList<BlockNode> children)
    {
        Block::Blockquote quote{std::move(children)};
        const Block::Paragraph *first =
            quote.children.isEmpty() ? nullptr : quote.children.first().as<Block::Paragraph>();
        if (!first)
            return quote;
        QString line;
        qsizetype end = 0;
        for (; end < first->content.size(); ++end) {
            const InlineNode &node = first->content.at(end);
            if (const auto *text = node.as<Inline::Text>())
                line += text->text;
            else if (node.kind() == InlineNode::Kind::softBreak || node.kind() == InlineNode::Kind::lineBreak)
                break;
            else
                return quote;
        }
        quote.alert = alertKindFromMarker(line);
        if (quote.alert == AlertKind::none)
            return quote;
        const int firstLine = quote.children.first().sourceLine();
        QList<InlineNode> rest = first->content.mid(std::min(end + 1, first->content.size()));
        if (rest.isEmpty())
            quote.children.removeFirst();
        else
            quote.children.first() =
                BlockNode(Block::Paragraph{std::move(rest)}, firstLine < 0 ? -1 : firstLine + 1);
        return quote;
    }

    BlockNode::Payload makeList(const Frame &frame)
    {
        const auto first = m_items.begin() + std::ptrdiff_t(frame.itemsBegin);
        BlockNode::Payload list = listOf(frame.node, first, m_items.end());
        m_items.erase(first, m_items.end());
        return list;
    }

    using ItemIterator = std::vector<PendingItem>::iterator;

    static BlockNode::Payload listOf(cmark_node *node, ItemIterator first, ItemIterator last)
    {
        const bool isTight = cmark_node_get_list_tight(node) != 0;
        const qsizetype count = qsizetype(last - first);
        if (std::any_of(first, last, [](const PendingItem &item) { return item.isTask; })) {
            Block::TaskList list{isTight, {}};
            list.items.reserve(count);
            for (auto item = first; item != last; ++item)
                list.items.emplace_back(RawTaskListItem{item->isCompleted, std::move(item->children)});
            return list;
        }

        QList<RawListItem> items;
        items.reserve(count);
        for (auto item = first; item != last; ++item)
            items.emplace_back(RawListItem{std::move(item->children)});
        switch (cmark_node_get_list_type(node)) {
        case CMARK_ORDERED_LIST:
            return Block::NumberedList{isTight, cmark_node_get_list_start(node), std::move(items)};
        case CMARK_BULLET_LIST:
            return Block::BulletedList{isTight, std::move(items)};
        default:
            programmingError("cmark reported a list node without a list type.");
        }
    }

    Block::Table makeTable(const Frame &frame)
    {
        Block::Table table;
        const uint16_t columns = cmark_gfm_extensions_get_table_columns(frame.node);
        const uint8_t *alignments = cmark_gfm_extensions_get_table_alignments(frame.node);
        table.columnAlignments.reserve(columns);
        for (uint16_t column = 0; column < columns; ++column) {
            const char raw = alignments ? static_cast<char>(alignments[column]) : '\0';
            table.columnAlignments.emplace_back(tableColumnAlignmentFromRawValue(raw));
        }
        table.rows = take(m_rows, frame.rowsBegin);
        return table;
    }

    std::vector<Frame> m_stack;
    std::vector<BlockNode> m_blocks;
    std::vector<InlineNode> m_inlines;
    std::vector<PendingItem> m_items;
    std::vector<RawTableRow> m_rows;
    std::vector<RawTableCell> m_cells;
    SharedStringPool m_strings;
    QList<QString> m_footnoteLabels; // by number, from 1
    int m_closedFootnotes = 0;
    int m_firstLine = 0;
};

} // namespace

QList<BlockNode> MarkdownConverter::convertDocument(cmark_node *document, int firstLine)
{
    if (!document)
        return {};
    return Walk(firstLine).run(document);
}

} // namespace kestrune
