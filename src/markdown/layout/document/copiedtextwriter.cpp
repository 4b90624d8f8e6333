#include "markdown/layout/document/copiedtextwriter_p.h"

#include "markdown/document/markdowncontent.h"
#include "markdown/layout/nodes/layouttextcontent_p.h"
#include "markdown/layout/style/notestyles.h"

#include <algorithm>

namespace kestrune {

namespace {

using Container = TextStructure::Container;

QString withoutFinalLineFeeds(QString text)
{
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

// Backslashes before what Markdown would read as markup: emphasis, code, links, tables, and
// what starts a heading or a list at the start of a line.
QString escapedMarkdown(const QString &text)
{
    static const QString markup = QStringLiteral("\\`*_[]<>|~");
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool lineStart = i == 0 || text.at(i - 1) == u'\n';
        if (lineStart) {
            qsizetype digits = i;
            while (digits < text.size() && text.at(digits).isDigit())
                ++digits;
            if (digits > i && digits < text.size() && (text.at(digits) == u'.' || text.at(digits) == u')')) {
                escaped.append(QStringView(text).sliced(i, digits - i)).append(QLatin1Char('\\'));
                i = digits - 1;
                continue;
            }
        }
        const QChar c = text.at(i);
        if (markup.contains(c) || (lineStart && (c == u'#' || c == u'-' || c == u'+' || c == u'=')))
            escaped.append(QLatin1Char('\\'));
        escaped.append(c);
    }
    return escaped;
}

QString fenceFor(const QString &code)
{
    int longest = 0;
    int run = 0;
    for (QChar c : code) {
        run = c == u'`' ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return QString(std::max(3, longest + 1), QLatin1Char('`'));
}

QString alignmentCell(RawTableColumnAlignment alignment)
{
    switch (alignment) {
    case RawTableColumnAlignment::left:
        return QStringLiteral(":--");
    case RawTableColumnAlignment::center:
        return QStringLiteral(":-:");
    case RawTableColumnAlignment::right:
        return QStringLiteral("--:");
    case RawTableColumnAlignment::none:
        break;
    }
    return QStringLiteral("---");
}

} // namespace

CopiedTextWriter::CopiedTextWriter(const TextStructure &structure, int textCount, TextContents texts,
                                   TextStructure::TopLevelBlocks topLevel, Formats formats)
    : m_structure(structure), m_textCount(textCount), m_texts(std::move(texts)),
      m_topLevel(std::move(topLevel)), m_writesMarkdown(formats == Formats::plainTextAndMarkdown)
{}

CopiedTextWriter::Leaf CopiedTextWriter::leafOf(int text, const LayoutSelection &selection) const
{
    const int length = m_texts(text).length();
    const int from = text == selection.startNode ? std::clamp(selection.startOffset, 0, length) : 0;
    const int to = text == selection.endNode ? std::clamp(selection.endOffset, from, length) : length;
    return {text, from, to, m_structure.containerOfText(text)};
}

CopiedText CopiedTextWriter::write(const LayoutSelection &selection)
{
    m_plain.clear();
    m_markdown.clear();
    m_open.clear();
    m_plainStarts.clear();
    m_fence.clear();
    m_table = -1;
    m_row = -1;
    if (selection.isEmpty() || m_textCount == 0)
        return {};

    // Written a text at a time, in document order: nothing of the selection is held but what
    // is written.
    const int first = std::max(0, selection.startNode);
    const int last = std::min(selection.endNode, m_textCount - 1);
    if (first > last)
        return {};
    if (first == last) {
        const Leaf only = leafOf(first, selection);
        if (only.from > 0 || only.to < m_texts(first).length()) {
            const QString text = m_texts(first).plainText(only.from, only.to);
            m_plainStarts.push_back(0);
            return {text, markdownText(only, text)};
        }
    }
    for (int index = first; index <= last; ++index)
        writeLeaf(leafOf(index, selection), index == first);
    closeLevels(0);
    if (!m_writesMarkdown)
        m_markdown.clear();
    return {m_plain, m_markdown};
}

CopiedText CopiedTextWriter::codeBlock(int index)
{
    if (index < 0 || index >= m_structure.containerCount())
        return {};
    const Container &code = container(index);
    if (code.kind != Container::Kind::block || code.blockKind != BlockNode::Kind::codeBlock ||
        m_structure.containerOfText(code.firstText) != index || code.firstText >= m_textCount)
        return {};
    const QString text = m_texts(code.firstText).plainText(0, -1);
    const BlockNode *block = m_structure.block(index, m_topLevel);
    const QString info =
        block != nullptr ? block->as<Block::CodeBlock>()->fenceInfo.value_or(QString()) : QString();
    const QString fence = fenceFor(text);
    return {text, fence + info + QLatin1Char('\n') + text + QLatin1Char('\n') + fence};
}

void CopiedTextWriter::writeLeaf(const Leaf &leaf, bool first)
{
    const std::vector<int> chain = m_structure.chain(leaf.container);
    size_t common = 0;
    while (common < chain.size() && common < m_open.size() && m_open[common] == chain[common])
        ++common;
    bool newLine = true;
    if (!first) {
        if (common == chain.size() && common == m_open.size()) {
            // Another text of the same block.
            m_plain += QLatin1Char('\n') + plainIndentation(common);
            m_markdown += QLatin1Char('\n') + continuation(common);
            writeText(leaf);
            return;
        }
        const int previous = common < m_open.size() ? m_open[common] : -1;
        closeLevels(common);
        newLine = writeSeparator(previous, chain, common);
    }
    openLevels(chain, common, leaf, first, newLine);
    writeText(leaf);
}

bool CopiedTextWriter::writeSeparator(int previous, const std::vector<int> &chain, size_t common)
{
    const int next = common < chain.size() ? chain[common] : -1;
    const auto kindOf = [this](int index) {
        return index >= 0 ? std::optional(container(index).kind) : std::nullopt;
    };
    if (kindOf(previous) == Container::Kind::tableCell && kindOf(next) == Container::Kind::tableCell) {
        if (container(next).position == m_row)
            return false;
        finishTableRow();
        m_plain += QLatin1Char('\n');
        m_markdown += QLatin1Char('\n');
        return true;
    }
    const bool betweenItems =
        kindOf(previous) == Container::Kind::listItem && kindOf(next) == Container::Kind::listItem;
    const bool tight = betweenItems
                           ? isTightListItem(previous)
                           : common > 0 && container(chain[common - 1]).kind == Container::Kind::listItem &&
                                 isTightListItem(chain[common - 1]);
    m_plain += QLatin1Char('\n');
    m_markdown += QLatin1Char('\n');
    if (!tight) {
        QString blank = continuation(common);
        while (blank.endsWith(QLatin1Char(' ')))
            blank.chop(1);
        m_markdown += blank + QLatin1Char('\n');
    }
    return true;
}

void CopiedTextWriter::openLevels(const std::vector<int> &chain, size_t from, const Leaf &leaf, bool first,
                                  bool newLine)
{
    if (newLine) {
        m_plain += plainIndentation(from);
        m_markdown += continuation(from);
    }
    for (size_t depth = from; depth < chain.size(); ++depth) {
        const int index = chain[depth];
        const Container &opened = container(index);
        // The first text opens the containers whose start it is; every later one, all it opens.
        const bool entered = !first || (opened.firstText == leaf.text && leaf.from == 0);
        m_open.push_back(index);
        switch (opened.kind) {
        case Container::Kind::listItem:
            openListItem(index, entered, first);
            break;
        case Container::Kind::tableCell:
            openTableCell(opened);
            break;
        case Container::Kind::block:
            openBlock(index, depth, entered);
            break;
        }
    }
}

void CopiedTextWriter::openListItem(int index, bool entered, bool first)
{
    const Marker itemMarker = marker(index);
    if (entered) {
        m_plain += itemMarker.plain + QLatin1Char(' ');
        m_markdown += itemMarker.markdown + QLatin1Char(' ');
    } else if (!first) {
        m_plain += QString(itemMarker.plainWidth, QLatin1Char(' '));
        m_markdown += QString(itemMarker.markdownWidth, QLatin1Char(' '));
    }
}

void CopiedTextWriter::openTableCell(const Container &cell)
{
    if (cell.position != m_row) {
        m_row = cell.position;
        m_plain += QString(cell.column, QLatin1Char('\t'));
        m_markdown += QStringLiteral("| ");
        for (int column = 0; column < cell.column; ++column)
            m_markdown += QStringLiteral(" | ");
    } else {
        m_plain += QLatin1Char('\t');
        m_markdown += QStringLiteral(" | ");
    }
    m_nextColumn = cell.column + 1;
}

void CopiedTextWriter::openBlock(int index, size_t depth, bool entered)
{
    switch (container(index).blockKind) {
    case BlockNode::Kind::blockquote:
        if (entered) {
            m_markdown += QStringLiteral("> ");
            const BlockNode *quote = m_structure.block(index, m_topLevel);
            const AlertKind alert =
                quote != nullptr ? quote->as<Block::Blockquote>()->alert : AlertKind::none;
            if (alert != AlertKind::none) {
                // The title is drawn only; the plain text (what screen readers read) names it.
                m_plain += NoteStyles::alertTitle(alert) + u'\n' + plainIndentation(m_open.size());
                m_markdown += alertKindMarker(alert) + u'\n' + continuation(m_open.size());
            }
        }
        break;
    case BlockNode::Kind::footnoteDefinition:
        if (entered) {
            const BlockNode *note = m_structure.block(index, m_topLevel);
            const QString label = note != nullptr ? note->as<Block::FootnoteDefinition>()->label : QString();
            m_markdown += QStringLiteral("[^") + label + QStringLiteral("]: ");
            if (note != nullptr)
                m_plain +=
                    QString::number(note->as<Block::FootnoteDefinition>()->number) + QStringLiteral(". ");
        }
        break;
    case BlockNode::Kind::heading:
        if (entered) {
            const BlockNode *heading = m_structure.block(index, m_topLevel);
            const int level = heading != nullptr ? heading->as<Block::Heading>()->level : 1;
            m_markdown += QString(level, QLatin1Char('#')) + QLatin1Char(' ');
        }
        break;
    case BlockNode::Kind::codeBlock: {
        const BlockNode *code = m_structure.block(index, m_topLevel);
        const QString text = code != nullptr ? code->as<Block::CodeBlock>()->content : QString();
        m_fence = fenceFor(text);
        const QString info =
            code != nullptr ? code->as<Block::CodeBlock>()->fenceInfo.value_or(QString()) : QString();
        m_markdown += m_fence + info + QLatin1Char('\n') + continuation(m_open.size());
        break;
    }
    case BlockNode::Kind::table:
        m_table = index;
        m_tableDepth = depth;
        m_row = -1;
        m_alignmentRowWritten = false;
        break;
    default:
        break;
    }
}

void CopiedTextWriter::closeLevels(size_t keep)
{
    while (m_open.size() > keep) {
        const Container &closed = container(m_open.back());
        m_open.pop_back();
        if (closed.kind != Container::Kind::block)
            continue;
        if (closed.blockKind == BlockNode::Kind::codeBlock && !m_fence.isEmpty()) {
            m_markdown += QLatin1Char('\n') + continuation(m_open.size()) + m_fence;
            m_fence.clear();
        } else if (closed.blockKind == BlockNode::Kind::table) {
            finishTableRow();
            m_table = -1;
        }
    }
}

void CopiedTextWriter::finishTableRow()
{
    if (m_table < 0 || m_row < 0)
        return;
    for (int column = m_nextColumn; column < columnCount(); ++column)
        m_markdown += QStringLiteral(" | ");
    m_markdown += QStringLiteral(" |");
    m_row = -1;
    if (m_alignmentRowWritten)
        return;
    m_alignmentRowWritten = true;
    const BlockNode *block = m_structure.block(m_table, m_topLevel);
    const auto *table = block != nullptr ? block->as<Block::Table>() : nullptr;
    QStringList cells;
    for (int column = 0; column < columnCount(); ++column)
        cells.append(alignmentCell(table != nullptr ? table->columnAlignments.value(column)
                                                    : RawTableColumnAlignment::none));
    m_markdown += QLatin1Char('\n') + continuation(m_tableDepth + 1) + QStringLiteral("| ") +
                  cells.join(QStringLiteral(" | ")) + QStringLiteral(" |");
}

int CopiedTextWriter::columnCount() const
{
    const BlockNode *block = m_structure.block(m_table, m_topLevel);
    const auto *table = block != nullptr ? block->as<Block::Table>() : nullptr;
    int count = table != nullptr ? int(table->columnAlignments.size()) : 0;
    if (table != nullptr) {
        for (const RawTableRow &row : table->rows)
            count = std::max(count, int(row.cells.size()));
    }
    return std::max(count, m_nextColumn);
}

void CopiedTextWriter::writeText(const Leaf &leaf)
{
    m_plainStarts.push_back(m_plain.size());
    QString plain = m_texts(leaf.text).plainText(leaf.from, leaf.to);
    QString markdown = markdownText(leaf, plain);
    if (!m_open.empty() && container(m_open.back()).kind == Container::Kind::tableCell) {
        plain.replace(QLatin1Char('\n'), QLatin1Char(' '));
        markdown.replace(QLatin1Char('\n'), QLatin1Char(' '));
        markdown.replace(QStringLiteral("\\|"), QStringLiteral("|"));
        markdown.replace(QLatin1Char('|'), QStringLiteral("\\|"));
    } else {
        markdown.replace(QLatin1Char('\n'), QLatin1Char('\n') + continuation(m_open.size()));
    }
    m_plain += plain;
    m_markdown += markdown;
}

QString CopiedTextWriter::markdownText(const Leaf &leaf, const QString &plain) const
{
    if (!m_writesMarkdown)
        return {};
    if (leaf.container < 0)
        return escapedMarkdown(plain);
    const Container &owner = container(leaf.container);
    if (owner.kind == Container::Kind::block &&
        (owner.blockKind == BlockNode::Kind::codeBlock || owner.blockKind == BlockNode::Kind::htmlBlock))
        return plain;
    if (leaf.from > 0 || leaf.to < m_texts(leaf.text).length())
        return escapedMarkdown(plain);
    // A whole text: its inlines as written, emphasis and links kept.
    const QList<InlineNode> *inlines = nullptr;
    if (owner.kind == Container::Kind::tableCell) {
        if (const RawTableCell *cell = m_structure.tableCell(leaf.container, m_topLevel))
            inlines = &cell->content;
    } else if (const BlockNode *block = m_structure.block(leaf.container, m_topLevel)) {
        inlines = block->inlines();
    }
    if (inlines == nullptr)
        return escapedMarkdown(plain);
    return withoutFinalLineFeeds(
        MarkdownContent(QList<BlockNode>{Block::Paragraph{*inlines}}).renderCommonMark());
}

QString CopiedTextWriter::continuation(size_t depth) const
{
    QString prefix;
    for (size_t level = 0; level < depth && level < m_open.size(); ++level) {
        const Container &open = container(m_open[level]);
        if (open.kind == Container::Kind::listItem)
            prefix += QString(marker(m_open[level]).markdownWidth, QLatin1Char(' '));
        else if (open.kind == Container::Kind::block && open.blockKind == BlockNode::Kind::blockquote)
            prefix += QStringLiteral("> ");
        else if (open.kind == Container::Kind::block && open.blockKind == BlockNode::Kind::footnoteDefinition)
            prefix += QStringLiteral("    ");
    }
    return prefix;
}

QString CopiedTextWriter::plainIndentation(size_t depth) const
{
    int width = 0;
    for (size_t level = 0; level < depth && level < m_open.size(); ++level) {
        if (container(m_open[level]).kind == Container::Kind::listItem)
            width += marker(m_open[level]).plainWidth;
    }
    return QString(width, QLatin1Char(' '));
}

CopiedTextWriter::Marker CopiedTextWriter::marker(int item) const
{
    const Container &entry = container(item);
    const BlockNode *list = m_structure.block(entry.parent, m_topLevel);
    const auto make = [](QString plain, QString markdown, int markdownWidth) {
        const int plainWidth = int(plain.size()) + 1;
        return Marker{std::move(plain), std::move(markdown), plainWidth, markdownWidth};
    };
    if (list != nullptr) {
        if (const auto *numbered = list->as<Block::NumberedList>()) {
            const QString number = QString::number(numbered->start + entry.position) + QLatin1Char('.');
            return make(number, number, int(number.size()) + 1);
        }
        if (const auto *tasks = list->as<Block::TaskList>()) {
            const bool done =
                entry.position < tasks->items.size() && tasks->items[entry.position].isCompleted;
            const QString box = done ? QStringLiteral("[x]") : QStringLiteral("[ ]");
            return make(box, QStringLiteral("- ") + box, 2);
        }
    }
    return make(QStringLiteral("•"), QStringLiteral("-"), 2);
}

bool CopiedTextWriter::isTightListItem(int item) const
{
    const BlockNode *list = m_structure.block(container(item).parent, m_topLevel);
    if (list == nullptr)
        return true;
    if (const auto *bulleted = list->as<Block::BulletedList>())
        return bulleted->isTight;
    if (const auto *numbered = list->as<Block::NumberedList>())
        return numbered->isTight;
    return list->as<Block::TaskList>()->isTight;
}

} // namespace kestrune
