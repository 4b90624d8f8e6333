#include "markdown/layout/view/markdownviewfind_p.h"

#include "markdown/document/markdownparser.h"
#include "markdown/layout/document/blockmatchcounter_p.h"
#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/view/markdownview.h"
#include "text/linebreaks.h"

#include <algorithm>
#include <new>

namespace kestrune {

MarkdownViewFind::MarkdownViewFind(MarkdownView &view) : m_view(view)
{
    QObject::connect(&m_counts, &LayoutFind::progressed, &m_counts, [this] { onProgress(); });
}

MarkdownViewFind::~MarkdownViewFind() = default;

void MarkdownViewFind::start(const SearchPattern &query, int block, int index)
{
    if (query.isEmpty()) {
        clear();
        return;
    }
    m_current.reset();
    m_pending.reset();
    m_firstFrom = block;
    m_firstIndex = index;
    m_counts.start(query, m_view.layoutDocument().blockLists());
    m_view.viewport()->update();
    onProgress();
}

void MarkdownViewFind::step(Direction direction)
{
    const std::optional<LayoutFind::Match> from = m_pending ? m_pending : m_current;
    std::optional<LayoutFind::Match> target;
    if (from)
        target = neighbour(*from, direction);
    else if (const std::optional<LayoutFind::Match> first =
                 m_counts.firstFrom(std::max(0, m_firstFrom), m_firstIndex))
        target = direction == Direction::forward ? first : m_counts.previous(*first);
    if (target) {
        m_firstFrom = -1;
        m_firstIndex = 0;
        goToMatch(*target, direction);
    }
}

void MarkdownViewFind::clear()
{
    if (!m_counts.isActive())
        return;
    m_counts.clear();
    m_current.reset();
    m_pending.reset();
    m_firstFrom = -1;
    m_firstIndex = 0;
    m_view.viewport()->update();
    Q_EMIT m_view.findStatusChanged();
}

FindStatus MarkdownViewFind::status() const
{
    FindStatus status;
    status.total = m_counts.total();
    status.current = m_current ? m_counts.ordinal(*m_current) : 0;
    status.complete = isCounted();
    return status;
}

bool MarkdownViewFind::isCounted() const
{
    return m_counts.isComplete() && !m_view.isFeeding();
}

void MarkdownViewFind::restart()
{
    if (!m_counts.isActive())
        return;
    const SearchPattern query = m_counts.query();
    m_current.reset();
    m_pending.reset();
    m_counts.start(query, m_view.layoutDocument().blockLists());
}

void MarkdownViewFind::addBlocks(const QList<BlockNode> &blocks)
{
    m_counts.addBlocks(blocks);
}

void MarkdownViewFind::continuePending()
{
    if (const std::optional<LayoutFind::Match> pending = m_pending;
        pending && pending->block < m_view.layoutDocument().laidOutBlockCount())
        goToMatch(*pending, m_pendingDirection);
}

std::optional<LayoutFindHighlight> MarkdownViewFind::highlight(Appearance appearance) const
{
    if (!m_counts.isActive())
        return std::nullopt;
    const LayoutDocument &document = m_view.layoutDocument();
    const Theme &theme = document.environment().theme;
    LayoutFindHighlight highlight;
    highlight.query = m_counts.query();
    highlight.match = theme.findMatch.resolve(appearance);
    highlight.current = theme.currentFindMatch.resolve(appearance);
    if (m_current && m_current->block < document.laidOutBlockCount()) {
        const QList<LayoutDocument::TextMatch> matches =
            document.findMatches(m_current->block, highlight.query);
        if (m_current->index < matches.size()) {
            const LayoutDocument::TextMatch &match = matches.at(m_current->index);
            highlight.currentNode = match.node;
            highlight.currentStart = match.start;
        }
    }
    return highlight;
}

void MarkdownViewFind::onProgress()
{
    if (m_firstFrom >= 0) {
        if (const std::optional<LayoutFind::Match> first = m_counts.firstFrom(m_firstFrom, m_firstIndex)) {
            m_firstFrom = -1;
            m_firstIndex = 0;
            goToMatch(*first, Direction::forward);
        } else if (isCounted()) {
            // Nothing after the reading position: the first match of the document, if any.
            m_firstFrom = -1;
            m_firstIndex = 0;
            if (const std::optional<LayoutFind::Match> first = m_counts.firstFrom(0))
                goToMatch(*first, Direction::forward);
        }
    }
    Q_EMIT m_view.findStatusChanged();
}

std::optional<LayoutFind::Match> MarkdownViewFind::neighbour(LayoutFind::Match match,
                                                             Direction direction) const
{
    return direction == Direction::forward ? m_counts.next(match) : m_counts.previous(match);
}

void MarkdownViewFind::goToMatch(LayoutFind::Match match, Direction direction)
{
    const LayoutDocument &document = m_view.layoutDocument();
    const bool forward = direction == Direction::forward;
    // A block whose matches the page does not show (an image's alternative text) passes the
    // turn on; bounded, as every block it passes is then counted from the page.
    for (int tries = 0; tries < document.blockCount(); ++tries) {
        if (match.block >= document.laidOutBlockCount()) {
            m_pending = match;
            m_pendingDirection = direction;
            m_view.continueInBackground();
            Q_EMIT m_view.findStatusChanged();
            return;
        }
        m_pending.reset();
        const QList<LayoutDocument::TextMatch> matches = document.findMatches(match.block, m_counts.query());
        m_counts.setLayoutCount(match.block, int(matches.size()));
        // Going on, a match the model counted beyond those the page shows passes on to the
        // next block; going back, it is the last one shown.
        if (!matches.isEmpty() && (!forward || match.index < matches.size())) {
            match.index = std::clamp(match.index, 0, int(matches.size()) - 1);
            m_current = match;
            const LayoutDocument::TextMatch &shown = matches.at(match.index);
            m_view.ensureVisible(document.textRect(shown.node, shown.start, shown.end));
            m_view.viewport()->update();
            Q_EMIT m_view.findStatusChanged();
            return;
        }
        const LayoutFind::Match here{match.block, forward ? std::max(0, int(matches.size()) - 1) : 0};
        const std::optional<LayoutFind::Match> next = neighbour(here, direction);
        if (!next)
            break;
        match = *next;
    }
    m_current.reset();
    m_view.viewport()->update();
    Q_EMIT m_view.findStatusChanged();
}

std::pair<int, int> MarkdownViewFind::sourcePlace(const LayoutDocument &document, const SearchPattern &query,
                                                  QStringView source, int line, int column)
{
    int block = -1;
    int blockLine = 0;
    int index = 0;
    for (const QList<BlockNode> &blocks : document.blockLists()) {
        for (const BlockNode &node : blocks) {
            if (node.sourceLine() > line)
                break;
            ++index;
            if (node.sourceLine() >= 0) {
                block = index - 1;
                blockLine = node.sourceLine();
            }
        }
    }
    if (block < 0)
        return {0, 0}; // before the first block
    // The block's text up to the place, parsed alone, shows what the page shows before it: a
    // link cut short is literal text, so a place inside its target counts the link's text.
    const qsizetype from = LineBreaks::offsetOfLine(source, blockLine);
    const qsizetype lineStart = LineBreaks::offsetOfLine(source, line);
    const qsizetype to = std::min(lineStart + std::max(0, column), LineBreaks::lineEnd(source, lineStart));
    int before = 0;
    if (to > from) {
        try {
            for (const BlockNode &node : MarkdownParser::parse(source.sliced(from, to - from).toString()))
                before += BlockMatchCounter::count(node, query);
        } catch (const std::bad_alloc &) {
            before = 0; // the block's first match, then
        }
    }
    return {block, before};
}

} // namespace kestrune
