#include "markdown/document/cmarkdocumentbuilder_p.h"

#include "markdown/document/cmarkgfm_p.h"

#include <QByteArray>
#include <QHash>
#include <QUrl>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <variant>
#include <vector>

namespace kestrune {

namespace {

// The model children of a node under construction: what kind of list it is decides how each
// child becomes a cmark node.
using ChildList =
    std::variant<const QList<BlockNode> *, const QList<InlineNode> *, const QList<RawListItem> *,
                 const QList<RawTaskListItem> *, const QList<RawTableRow> *, const QList<RawTableCell> *>;

// One node under construction with the list of model children still to add. A
// node is attached to its parent only once it is complete, so cmark's ancestor
// check on every append stays short.
struct Frame
{
    cmark_node *node = nullptr;
    ChildList children;
    qsizetype next = 0;
    const BlockNode *finishing = nullptr; // a block whose node gets more once its children are in

    qsizetype size() const
    {
        return std::visit([](const auto *list) { return list->size(); }, children);
    }
};

template <typename... Visitors> struct Overloaded : Visitors...
{
    using Visitors::operator()...;
};
template <typename... Visitors> Overloaded(Visitors...) -> Overloaded<Visitors...>;

void setText(cmark_node *node, const QString &text, int (*setter)(cmark_node *, const char *))
{
    setter(node, text.toUtf8().constData());
}

using Format = CmarkDocumentBuilder::Format;

// Marks the HTML nodes of footnotes, which the document's end gathers in one section.
char footnoteMark = 0;

// A footnote label in an HTML identifier or link, escaped as the parser's own HTML renderer does.
QString htmlLabel(const QString &label)
{
    QString escaped = QString::fromLatin1(QUrl::toPercentEncoding(label, "-_.+!*(),%#@?=;:/,+$~'&"));
    return escaped.replace(u'&', QLatin1String("&amp;")).replace(u'\'', QLatin1String("&#x27;"));
}

// A note as CommonMark writes it: "[^label]: " before its first line, the lines after it indented
// by four spaces.
QString footnoteMarkdown(const QString &label, const QString &body)
{
    QString text = QStringLiteral("[^") + label + QStringLiteral("]:");
    const QStringList lines = body.endsWith(u'\n') ? body.chopped(1).split(u'\n') : body.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == 0)
            text += lines[i].isEmpty() ? QString() : u' ' + lines[i];
        else
            text += lines[i].isEmpty() ? QStringLiteral("\n") : QStringLiteral("\n    ") + lines[i];
    }
    return text;
}

class Builder
{
public:
    explicit Builder(Format format)
        : m_format(format), m_table(Cmark::extension("table")),
          m_strikethrough(Cmark::extension("strikethrough")), m_tasklist(Cmark::extension("tasklist"))
    {}

    Cmark::NodePtr build(const QList<BlockNode> &blocks)
    {
        Cmark::NodePtr document(cmark_node_new(CMARK_NODE_DOCUMENT));
        if (!document)
            return {};
        m_stack.push_back({document.get(), &blocks, 0});

        while (!m_stack.empty()) {
            Frame &frame = m_stack.back();
            if (frame.next == frame.size()) {
                cmark_node *complete = frame.node;
                if (const BlockNode *block = m_stack.back().finishing)
                    finish(complete, *block);
                m_stack.pop_back();
                if (!m_stack.empty())
                    attach(m_stack.back().node, complete);
                continue;
            }
            // Opening a child grows the stack and moves the frames, so nothing is read from
            // `frame` past this point.
            const qsizetype index = frame.next++;
            cmark_node *parent = frame.node;
            const ChildList children = frame.children;
            std::visit(Overloaded{
                           [&](const QList<BlockNode> *blocks) { addBlock(parent, blocks->at(index)); },
                           [&](const QList<InlineNode> *inlines) { addInline(parent, inlines->at(index)); },
                           [&](const QList<RawListItem> *items) { addListItem(items->at(index)); },
                           [&](const QList<RawTaskListItem> *items) { addTaskListItem(items->at(index)); },
                           [&](const QList<RawTableRow> *rows) { addTableRow(rows->at(index), index == 0); },
                           [&](const QList<RawTableCell> *cells) { addTableCell(cells->at(index)); },
                       },
                       children);
        }
        if (m_format == Format::html)
            gatherFootnotes(document.get());
        return document;
    }

private:
    void open(cmark_node *node, ChildList children, const BlockNode *finishing = nullptr)
    {
        m_stack.push_back({node, children, 0, finishing});
    }

    static cmark_node *newCustom(cmark_node_type type, const QString &onEnter, const QString &onExit = {})
    {
        cmark_node *node = cmark_node_new(type);
        setText(node, onEnter, cmark_node_set_on_enter);
        setText(node, onExit, cmark_node_set_on_exit);
        return node;
    }

    static cmark_node *newParagraph(cmark_node *content)
    {
        cmark_node *paragraph = cmark_node_new(CMARK_NODE_PARAGRAPH);
        attach(paragraph, content);
        return paragraph;
    }

    void addBlockquote(const BlockNode &block, const Block::Blockquote &quote)
    {
        if (quote.alert != AlertKind::none && m_format == Format::html) {
            const QString name = alertKindRawValue(quote.alert);
            open(newCustom(CMARK_NODE_CUSTOM_BLOCK,
                           QStringLiteral("<div class=\"markdown-alert markdown-alert-") + name +
                               QStringLiteral("\">\n<p class=\"markdown-alert-title\">") +
                               alertKindTitle(quote.alert) + QStringLiteral("</p>"),
                           QStringLiteral("</div>")),
                 &quote.children);
            return;
        }
        open(cmark_node_new(CMARK_NODE_BLOCK_QUOTE), &quote.children,
             quote.alert == AlertKind::none ? nullptr : &block);
    }

    void addFootnoteDefinition(cmark_node *parent, const BlockNode &block,
                               const Block::FootnoteDefinition &note)
    {
        switch (m_format) {
        case Format::commonMark: {
            // The parser's renderer cannot be handed a note it did not parse: the note's body is
            // rendered on its own and indented under its label.
            const QString body = CmarkDocumentBuilder::render(note.children, Format::commonMark);
            addLeaf(parent, newCustom(CMARK_NODE_CUSTOM_BLOCK, footnoteMarkdown(note.label, body)));
            return;
        }
        case Format::html: {
            cmark_node *node =
                newCustom(CMARK_NODE_CUSTOM_BLOCK,
                          QStringLiteral("<li id=\"fn-") + htmlLabel(note.label) + QStringLiteral("\">"),
                          QStringLiteral("</li>"));
            cmark_node_set_user_data(node, &footnoteMark);
            open(node, &note.children, &block);
            return;
        }
        case Format::plainText:
            open(cmark_node_new(CMARK_NODE_CUSTOM_BLOCK), &note.children, &block);
            return;
        }
    }

    void addFootnoteReference(cmark_node *parent, const Inline::FootnoteReference &reference)
    {
        const int occurrence = ++m_references[reference.label];
        switch (m_format) {
        case Format::commonMark:
            addLeaf(parent,
                    newCustom(CMARK_NODE_CUSTOM_INLINE, QStringLiteral("[^") + reference.label + u']'));
            return;
        case Format::html: {
            const QString label = htmlLabel(reference.label);
            const QString suffix = occurrence > 1 ? u'-' + QString::number(occurrence) : QString();
            addLeaf(parent,
                    newCustom(CMARK_NODE_CUSTOM_INLINE,
                              QStringLiteral("<sup class=\"footnote-ref\"><a href=\"#fn-") + label +
                                  QStringLiteral("\" id=\"fnref-") + label + suffix + QStringLiteral("\">") +
                                  QString::number(reference.number) + QStringLiteral("</a></sup>")));
            return;
        }
        case Format::plainText:
            addLeaf(parent, newLiteral(CMARK_NODE_TEXT, u'[' + QString::number(reference.number) + u']'));
            return;
        }
    }

    // What a quote's or a note's node gets once its children are in: an alert's marker or
    // title, a note's links back to its references or its number.
    void finish(cmark_node *node, const BlockNode &block)
    {
        cmark_node *first = cmark_node_first_child(node);
        const bool firstIsParagraph = first && cmark_node_get_type(first) == CMARK_NODE_PARAGRAPH;
        if (const auto *quote = block.as<Block::Blockquote>()) {
            if (m_format == Format::commonMark) {
                cmark_node *marker = newCustom(CMARK_NODE_CUSTOM_INLINE, alertKindMarker(quote->alert));
                if (firstIsParagraph) {
                    cmark_node_prepend_child(first, cmark_node_new(CMARK_NODE_SOFTBREAK));
                    cmark_node_prepend_child(first, marker);
                } else {
                    cmark_node_prepend_child(node, newParagraph(marker));
                }
            } else {
                cmark_node_prepend_child(
                    node, newParagraph(newLiteral(CMARK_NODE_TEXT, alertKindTitle(quote->alert))));
            }
            return;
        }
        const auto *note = block.as<Block::FootnoteDefinition>();
        if (!note)
            return;
        if (m_format == Format::plainText) {
            const QString number = u'[' + QString::number(note->number) + u']';
            if (firstIsParagraph)
                cmark_node_prepend_child(first, newLiteral(CMARK_NODE_TEXT, number + u' '));
            else
                cmark_node_prepend_child(node, newParagraph(newLiteral(CMARK_NODE_TEXT, number)));
            return;
        }
        const QString label = htmlLabel(note->label);
        QString links;
        const int references = std::max(1, m_references.value(note->label));
        for (int occurrence = 1; occurrence <= references; ++occurrence) {
            const QString suffix = occurrence > 1 ? u'-' + QString::number(occurrence) : QString();
            const QString mark = occurrence > 1 ? QStringLiteral("<sup class=\"footnote-ref\">") +
                                                      QString::number(occurrence) + QStringLiteral("</sup>")
                                                : QString();
            links += QStringLiteral(" <a href=\"#fnref-") + label + suffix +
                     QStringLiteral("\" class=\"footnote-backref\">\u21a9") + mark + QStringLiteral("</a>");
        }
        cmark_node *last = cmark_node_last_child(node);
        if (last && cmark_node_get_type(last) == CMARK_NODE_PARAGRAPH)
            attach(last, newCustom(CMARK_NODE_CUSTOM_INLINE, links));
        else
            attach(node, newCustom(CMARK_NODE_CUSTOM_BLOCK,
                                   QStringLiteral("<p>") + links.mid(1) + QStringLiteral("</p>")));
    }

    // Puts each run of footnotes among the document's blocks in a section of its own.
    static void gatherFootnotes(cmark_node *document)
    {
        cmark_node *child = cmark_node_first_child(document);
        while (child) {
            if (cmark_node_get_user_data(child) != &footnoteMark) {
                child = cmark_node_next(child);
                continue;
            }
            cmark_node *section =
                newCustom(CMARK_NODE_CUSTOM_BLOCK, QStringLiteral("<section class=\"footnotes\">\n<ol>"),
                          QStringLiteral("</ol>\n</section>"));
            cmark_node_insert_before(child, section);
            while (child && cmark_node_get_user_data(child) == &footnoteMark) {
                cmark_node *next = cmark_node_next(child);
                cmark_node_append_child(section, child);
                child = next;
            }
        }
    }

    void addListItem(const RawListItem &item) { open(cmark_node_new(CMARK_NODE_ITEM), &item.children); }

    void addTaskListItem(const RawTaskListItem &item)
    {
        cmark_node *node = cmark_node_new_with_ext(CMARK_NODE_ITEM, m_tasklist);
        cmark_gfm_extensions_set_tasklist_item_checked(node, item.isCompleted);
        open(node, &item.children);
    }

    void addTableRow(const RawTableRow &row, bool isHeader)
    {
        cmark_node *node = cmark_node_new_with_ext(CMARK_NODE_TABLE_ROW, m_table);
        if (isHeader)
            cmark_gfm_extensions_set_table_row_is_header(node, 1);
        open(node, &row.cells);
    }

    void addTableCell(const RawTableCell &cell)
    {
        // cmark-gfm 0.29 never frees the per-cell data that creating a
        // cell through the extension allocates, and its renderers do not
        // read it: make a bare cell and only mark it as the table's.
        cmark_node *node = cmark_node_new(CMARK_NODE_TABLE_CELL);
        cmark_node_set_syntax_extension(node, m_table);
        open(node, &cell.content);
    }

    void addLeaf(cmark_node *parent, cmark_node *node) { attach(parent, node); }

    // cmark refuses children its containment rules do not allow; such a node
    // would otherwise leak.
    static void attach(cmark_node *parent, cmark_node *child)
    {
        if (!cmark_node_append_child(parent, child))
            cmark_node_free(child);
    }

    void addBlock(cmark_node *parent, const BlockNode &block)
    {
        std::visit(
            [&](const auto &value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, Block::Blockquote>) {
                    addBlockquote(block, value);
                } else if constexpr (std::is_same_v<T, Block::FootnoteDefinition>) {
                    addFootnoteDefinition(parent, block, value);
                } else if constexpr (std::is_same_v<T, Block::BulletedList> ||
                                     std::is_same_v<T, Block::TaskList>) {
                    // A task list is a bullet list whose items carry the task-list extension.
                    open(newList(CMARK_BULLET_LIST, value.isTight), &value.items);
                } else if constexpr (std::is_same_v<T, Block::NumberedList>) {
                    cmark_node *list = newList(CMARK_ORDERED_LIST, value.isTight);
                    cmark_node_set_list_delim(list, CMARK_PERIOD_DELIM);
                    cmark_node_set_list_start(list, value.start);
                    open(list, &value.items);
                } else if constexpr (std::is_same_v<T, Block::CodeBlock>) {
                    cmark_node *node = cmark_node_new(CMARK_NODE_CODE_BLOCK);
                    if (value.fenceInfo)
                        setText(node, *value.fenceInfo, cmark_node_set_fence_info);
                    setText(node, value.content, cmark_node_set_literal);
                    addLeaf(parent, node);
                } else if constexpr (std::is_same_v<T, Block::HtmlBlock>) {
                    cmark_node *node = cmark_node_new(CMARK_NODE_HTML_BLOCK);
                    setText(node, value.content, cmark_node_set_literal);
                    addLeaf(parent, node);
                } else if constexpr (std::is_same_v<T, Block::Paragraph>) {
                    open(cmark_node_new(CMARK_NODE_PARAGRAPH), &value.content);
                } else if constexpr (std::is_same_v<T, Block::Heading>) {
                    cmark_node *node = cmark_node_new(CMARK_NODE_HEADING);
                    cmark_node_set_heading_level(node, value.level);
                    open(node, &value.content);
                } else if constexpr (std::is_same_v<T, Block::Table>) {
                    open(newTable(value), &value.rows);
                } else {
                    addLeaf(parent, cmark_node_new(CMARK_NODE_THEMATIC_BREAK));
                }
            },
            block.payload());
    }

    void addInline(cmark_node *parent, const InlineNode &node)
    {
        std::visit(
            [&](const auto &value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, Inline::Text>) {
                    addLeaf(parent, newLiteral(CMARK_NODE_TEXT, value.text));
                } else if constexpr (std::is_same_v<T, Inline::Code>) {
                    addLeaf(parent, newLiteral(CMARK_NODE_CODE, value.code));
                } else if constexpr (std::is_same_v<T, Inline::Html>) {
                    addLeaf(parent, newLiteral(CMARK_NODE_HTML_INLINE, value.html));
                } else if constexpr (std::is_same_v<T, Inline::Emphasis>) {
                    open(cmark_node_new(CMARK_NODE_EMPH), &value.children);
                } else if constexpr (std::is_same_v<T, Inline::Strong>) {
                    open(cmark_node_new(CMARK_NODE_STRONG), &value.children);
                } else if constexpr (std::is_same_v<T, Inline::Strikethrough>) {
                    open(cmark_node_new_with_ext(CMARK_NODE_STRIKETHROUGH, m_strikethrough), &value.children);
                } else if constexpr (std::is_same_v<T, Inline::Link>) {
                    cmark_node *link = cmark_node_new(CMARK_NODE_LINK);
                    setText(link, value.destination, cmark_node_set_url);
                    open(link, &value.children);
                } else if constexpr (std::is_same_v<T, Inline::Image>) {
                    cmark_node *image = cmark_node_new(CMARK_NODE_IMAGE);
                    setText(image, value.source, cmark_node_set_url);
                    open(image, &value.children);
                } else if constexpr (std::is_same_v<T, Inline::FootnoteReference>) {
                    addFootnoteReference(parent, value);
                } else if constexpr (std::is_same_v<T, Inline::SoftBreak>) {
                    addLeaf(parent, cmark_node_new(CMARK_NODE_SOFTBREAK));
                } else {
                    addLeaf(parent, cmark_node_new(CMARK_NODE_LINEBREAK));
                }
            },
            node.payload());
    }

    static cmark_node *newLiteral(cmark_node_type type, const QString &text)
    {
        cmark_node *node = cmark_node_new(type);
        setText(node, text, cmark_node_set_literal);
        return node;
    }

    static cmark_node *newList(cmark_list_type type, bool isTight)
    {
        cmark_node *list = cmark_node_new(CMARK_NODE_LIST);
        cmark_node_set_list_type(list, type);
        cmark_node_set_list_tight(list, isTight ? 1 : 0);
        return list;
    }

    cmark_node *newTable(const Block::Table &table) const
    {
        cmark_node *node = cmark_node_new_with_ext(CMARK_NODE_TABLE, m_table);
        const auto columns = static_cast<uint16_t>(
            std::min<qsizetype>(table.columnAlignments.size(), std::numeric_limits<uint16_t>::max()));
        std::vector<uint8_t> alignments(columns);
        for (uint16_t column = 0; column < columns; ++column)
            alignments[column] = uint8_t(tableColumnAlignmentRawValue(table.columnAlignments[column]));
        cmark_gfm_extensions_set_table_columns(node, columns);
        cmark_gfm_extensions_set_table_alignments(node, columns, alignments.data());
        return node;
    }

    Format m_format;
    QHash<QString, int> m_references; // how many references to each label so far
    cmark_syntax_extension *m_table = nullptr;
    cmark_syntax_extension *m_strikethrough = nullptr;
    cmark_syntax_extension *m_tasklist = nullptr;
    std::vector<Frame> m_stack;
};

[[noreturn]] void renderFailed()
{
    qFatal("cmark-gfm rendered no text.");
    std::abort();
}

} // namespace

QString CmarkDocumentBuilder::render(const QList<BlockNode> &blocks, Format format)
{
    const Cmark::NodePtr document = Builder(format).build(blocks);
    if (!document)
        return {};

    Cmark::BufferPtr text;
    switch (format) {
    case Format::commonMark:
        text.reset(cmark_render_commonmark(document.get(), CMARK_OPT_DEFAULT, 0));
        break;
    case Format::plainText:
        text.reset(cmark_render_plaintext(document.get(), CMARK_OPT_DEFAULT, 0));
        break;
    case Format::html:
        text.reset(cmark_render_html(document.get(), CMARK_OPT_DEFAULT, nullptr));
        break;
    }
    if (!text)
        renderFailed();
    QString rendered = QString::fromUtf8(text.get(), qsizetype(std::strlen(text.get())));
    // A note at the end is a custom block, after which the renderer leaves a blank line.
    while (format == Format::commonMark && rendered.endsWith(QLatin1String("\n\n")))
        rendered.chop(1);
    return rendered;
}

} // namespace kestrune
