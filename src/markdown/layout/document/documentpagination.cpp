#include "markdown/layout/document/documentpagination.h"

#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/nodes/layoutimagenode_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"

#include "ui/themecontroller.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace kestrune {

namespace {

// Lengths closer than this are the same place (layout positions are fractional).
constexpr qreal tolerance = 0.5;

// The lines of a text, in document coordinates, as wide as the text.
void appendLines(const LayoutTextNode &text, QList<QRectF> &lines)
{
    const QPointF origin = text.mapToDocument({0, 0});
    for (const auto &[start, length] : text.lineRanges()) {
        // A place inside the line: its start may also end the line before.
        const QRectF cursor = text.cursorRect(start + std::max(0, (length - 1) / 2));
        if (cursor.height() <= 0)
            continue;
        lines.append(QRectF(origin.x(), origin.y() + cursor.top(), text.size().width(), cursor.height()));
    }
}

// Where a page may end inside a node (the tops and bottoms of its nodes and lines of text), and
// what must not be cut (lines of text and pictures), in document coordinates.
struct BreakPlaces
{
    QList<qreal> candidates;
    QList<std::pair<qreal, qreal>> solid;

    void collect(const LayoutNode &node)
    {
        const qreal top = node.mapToDocument({0, 0}).y();
        const qreal bottom = top + node.size().height();
        candidates.append(top);
        candidates.append(bottom);
        if (const auto *text = dynamic_cast<const LayoutTextNode *>(&node)) {
            QList<QRectF> lines;
            appendLines(*text, lines);
            for (const QRectF &line : std::as_const(lines)) {
                candidates.append(line.bottom());
                solid.append({line.top(), line.bottom()});
            }
            return;
        }
        if (dynamic_cast<const LayoutImageNode *>(&node))
            solid.append({top, bottom});
        for (int i = 0; i < node.childCount(); ++i) {
            if (const LayoutNode *child = node.child(i))
                collect(*child);
        }
    }

    bool cuts(qreal y) const
    {
        return std::any_of(solid.cbegin(), solid.cend(), [y](const std::pair<qreal, qreal> &extent) {
            return extent.first + tolerance < y && y < extent.second - tolerance;
        });
    }
};

void appendTextLines(const LayoutNode &node, QList<QRectF> &lines)
{
    if (const auto *text = dynamic_cast<const LayoutTextNode *>(&node)) {
        appendLines(*text, lines);
        return;
    }
    for (int i = 0; i < node.childCount(); ++i) {
        if (const LayoutNode *child = node.child(i))
            appendTextLines(*child, lines);
    }
}

} // namespace

DocumentPagination::DocumentPagination(const QList<BlockNode> &blocks, const MarkdownEnvironment &environment,
                                       QSizeF contentSize)
    : m_document(std::make_unique<LayoutDocument>()), m_contentSize(contentSize)
{
    MarkdownEnvironment paper = environment;
    paper.scrollsSideways = false;
    m_document->setEnvironment(paper);
    // Paper is white, whatever the window shows.
    m_document->setAppearance(Appearance::light);
    m_document->setWidth(std::max<qreal>(1, contentSize.width()));
    m_document->setBlocks(blocks);
}

DocumentPagination::~DocumentPagination() = default;

bool DocumentPagination::layoutStep(qint64 budgetMs)
{
    return m_document->layoutUntil(LayoutNode::unbounded, budgetMs);
}

qreal DocumentPagination::layoutProgress() const
{
    const int count = m_document->blockCount();
    return count == 0 ? 1 : qreal(m_document->laidOutBlockCount()) / count;
}

void DocumentPagination::layoutAll(std::chrono::milliseconds imageTimeout)
{
    m_document->layoutAll();
    waitForImages(imageTimeout);
    paginate();
}

bool DocumentPagination::waitForImages(std::chrono::milliseconds timeout,
                                       const std::function<bool()> &cancelled)
{
    const QDeadlineTimer deadline(timeout);
    while (true) {
        m_document->layoutAll(); // measures anew what arrived, and asks for what it shows now
        if (!m_document->isLoadingImages())
            return true;
        if (deadline.hasExpired() || (cancelled && cancelled()))
            return false;
        QEventLoop loop;
        QTimer expiry;
        expiry.setSingleShot(true);
        QObject::connect(&expiry, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(m_document.get(), &LayoutDocument::imageSettled, &loop, &QEventLoop::quit);
        const qint64 longest = cancelled ? cancelCheckInterval.count() : timeout.count();
        expiry.start(int(std::clamp<qint64>(deadline.remainingTime(), 0, longest)));
        loop.exec();
    }
}

qreal DocumentPagination::documentHeight() const
{
    return m_document->laidOutHeight();
}

qreal DocumentPagination::blockBottom(int block) const
{
    return m_document->blockTop(block) + m_document->blockNode(block)->size().height();
}

bool DocumentPagination::isHeading(int block) const
{
    return m_document->block(block).as<Block::Heading>() != nullptr;
}

bool DocumentPagination::isLoadingImages() const
{
    return m_document->isLoadingImages();
}

bool DocumentPagination::paginate(const std::function<bool()> &cancelled)
{
    m_pages.clear();
    const qreal height = documentHeight();
    const qreal pageHeight = std::max<qreal>(1, m_contentSize.height());
    qreal top = 0;
    while (top < height - tolerance) {
        if (cancelled && cancelled()) {
            m_pages.clear();
            return false;
        }
        const qreal limit = top + pageHeight;
        qreal next = pageBottom(top, limit);
        if (next <= top + tolerance)
            next = limit;
        m_pages.append({top, std::min(next, limit)});
        top = next;
    }
    if (m_pages.isEmpty())
        m_pages.append({0, 0}); // an empty document still prints one blank page
    return true;
}

qreal DocumentPagination::pageBottom(qreal top, qreal limit) const
{
    const int count = m_document->laidOutBlockCount();
    if (count == 0 || limit >= documentHeight())
        return documentHeight();
    // The last block starting at or above the limit.
    const int block = m_document->blockAt(limit);
    int next = block + 1; // the block the next page starts with, if the page ends between blocks
    if (blockBottom(block) > limit + tolerance) {
        const bool startsOnPage = m_document->blockTop(block) > top + tolerance;
        const bool tallerThanPage = blockBottom(block) - m_document->blockTop(block) > m_contentSize.height();
        if (!startsOnPage || tallerThanPage) {
            if (const std::optional<qreal> inside = breakInside(block, top, limit))
                return *inside;
            if (!startsOnPage)
                return limit; // nothing to end the page at but its height
        }
        next = block;
    }
    if (next >= count)
        return documentHeight();
    // A heading goes with the block it heads, unless it started the page.
    while (next > 0 && isHeading(next - 1) && m_document->blockTop(next - 1) > top + tolerance)
        --next;
    return m_document->blockTop(next);
}

std::optional<qreal> DocumentPagination::breakInside(int block, qreal top, qreal limit) const
{
    BreakPlaces places;
    places.collect(*m_document->blockNode(block));
    std::optional<qreal> best;
    for (const qreal y : std::as_const(places.candidates)) {
        if (y <= top + tolerance || y > limit + tolerance || (best && y <= *best) || places.cuts(y))
            continue;
        best = y;
    }
    if (best)
        best = std::min(*best, limit);
    return best;
}

QList<QRectF> DocumentPagination::textLines() const
{
    QList<QRectF> lines;
    for (int block = 0; block < m_document->laidOutBlockCount(); ++block)
        appendTextLines(*m_document->blockNode(block), lines);
    return lines;
}

void DocumentPagination::paintPage(QPainter &painter, int index, const std::function<bool()> &stopped) const
{
    const Page &page = m_pages.at(index);
    const QRectF slice(0, page.top, m_contentSize.width(), page.bottom - page.top);
    painter.save();
    painter.setClipRect(slice.translated(0, -page.top), Qt::IntersectClip);
    painter.translate(0, -page.top);
    LayoutPaintContext context;
    context.painter = &painter;
    context.palette = ThemeController::paletteFor(Appearance::light);
    context.appearance = Appearance::light;
    context.clip = slice;
    context.stopped = stopped;
    m_document->paint(context);
    painter.restore();
}

} // namespace kestrune
