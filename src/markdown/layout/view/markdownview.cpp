#include "markdown/layout/view/markdownview.h"

#include "markdown/images/networkimageprovider.h"
#include "markdown/layout/document/accessibletextmap_p.h"
#include "markdown/layout/document/blockmatchcounter_p.h"
#include "markdown/layout/document/copiedtextmimedata.h"
#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/document/layoutfind_p.h"
#include "markdown/layout/document/markdownchunker_p.h"
#include "markdown/layout/nodes/layoutscrollnode_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"
#include "markdown/layout/view/codeblockcopybutton.h"
#include "markdown/layout/view/incrementalmarkdownfeed_p.h"
#include "markdown/layout/view/markdownviewaccessible_p.h"
#include "markdown/layout/view/markdownviewfind_p.h"

#include "ui/localization.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace kestrune {

namespace {

// How long one slice of background work may take.
constexpr qint64 sliceMilliseconds = 8;
// How far below the visible part the page is measured before painting.
constexpr qreal lookAhead = 400;
// Blocks further than this above or below the view give up their nodes (the page keeps their
// heights), so a long document holds nodes for a few screens only.
constexpr qreal residentMargin = 2000;

} // namespace

struct MarkdownView::Interaction
{
    LayoutSelection selection;
    LayoutDocument::TextPosition caret; // where assistive technology last placed it or a click did
    std::optional<LayoutDocument::TextPosition> anchor;
    std::optional<QUrl> pressedLink;
    QPointF pressPosition;
    bool dragging = false;
    bool selectingWords = false;
    LayoutScrollNode *draggedScroll = nullptr; // valid while the page is not rebuilt

    static LayoutSelection ordered(LayoutDocument::TextPosition a, LayoutDocument::TextPosition b)
    {
        if (b.node < a.node || (b.node == a.node && b.offset < a.offset))
            std::swap(a, b);
        return {a.node, a.offset, b.node, b.offset};
    }
};

MarkdownView::MarkdownView(QWidget *parent)
    : QAbstractScrollArea(parent), m_document(std::make_unique<LayoutDocument>()),
      m_feed(std::make_unique<IncrementalMarkdownFeed>()), m_interaction(std::make_unique<Interaction>()),
      m_find(std::make_unique<MarkdownViewFind>(*this))
{
    MarkdownViewAccessible::install();
    connect(this, &MarkdownView::selectionChanged, this, &MarkdownView::announceSelection);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    m_codeCopyButton = new CodeBlockCopyButton(viewport());
    connect(m_codeCopyButton, &QToolButton::clicked, this, &MarkdownView::copyHoveredCodeBlock);
    verticalScrollBar()->setSingleStep(20);

    MarkdownEnvironment environment;
    environment.imageProvider = NetworkImageProvider::shared();
    environment.inlineImageProvider = NetworkImageProvider::shared();
    m_document->setEnvironment(environment);
    m_document->setAppearance(appearanceOf(palette()));

    m_backgroundTimer.setSingleShot(true);
    m_backgroundTimer.setInterval(0);
    connect(&m_backgroundTimer, &QTimer::timeout, this, &MarkdownView::backgroundStep);
    watchDocument();
}

void MarkdownView::watchDocument()
{
    connect(m_document.get(), &LayoutDocument::layoutInvalidated, this, [this] {
        dropAccessibleTextMap(); // a text that shows a picture now reads differently
        viewport()->update();
        continueInBackground();
    });
}

PreparedMarkdownPage::Settings MarkdownView::pageSettings(QSize viewSize) const
{
    PreparedMarkdownPage::Settings settings;
    settings.environment = m_document->environment();
    settings.appearance = appearanceOf(palette());
    settings.devicePixelRatio = devicePixelRatioF() * m_zoom;
    const qreal horizontalMargins = m_documentMargins.left() + m_documentMargins.right();
    const qreal viewportWidth = (viewSize.width() - 2 * frameWidth()) / m_zoom;
    settings.pageWidth = std::max<qreal>(1, viewportWidth - horizontalMargins);
    settings.pageWidthBesideScrollBar = std::max<qreal>(
        1, viewportWidth - verticalScrollBar()->sizeHint().width() / m_zoom - horizontalMargins);
    settings.viewportHeight = (viewSize.height() - 2 * frameWidth()) / m_zoom;
    settings.verticalMargins = m_documentMargins.top() + m_documentMargins.bottom();
    settings.measuredHeight = settings.viewportHeight + lookAhead;
    settings.viewThread = thread();
    return settings;
}

void MarkdownView::showPrepared(PreparedMarkdownPage &page)
{
    if (page.isNull())
        return;
    m_feed = std::make_unique<IncrementalMarkdownFeed>();
    m_interaction->selection = {};
    m_interaction->caret = {};
    m_interaction->anchor.reset();
    m_interaction->draggedScroll = nullptr;
    m_textReplaced = true;
    dropAccessibleTextMap();
    disconnect(m_document.get(), nullptr, this, nullptr);
    m_document = std::move(page.m_document);
    watchDocument();
    m_document->releaseImageRequests();
    m_find->restart();
    // The scroll bar first: it shows or hides on the next turn of the event loop, and the page
    // was measured for the width it leaves. Laid out before, it would be measured twice.
    updateScrollBar();
    verticalScrollBar()->setValue(0);
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isVisible())
                relayout(); // a hidden view lays out when it is shown and sized
            else
                continueInBackground();
        },
        Qt::QueuedConnection);
}

MarkdownView::~MarkdownView() = default;

void MarkdownView::setMarkdown(const QString &markdown)
{
    // The page shows the first piece before the rest is fed, as setContent shows its blocks.
    auto feed = std::make_unique<IncrementalMarkdownFeed>(markdown);
    const std::optional<QList<BlockNode>> first = feed->parseNext();
    m_feed = std::make_unique<IncrementalMarkdownFeed>();
    showBlocks(first.value_or(QList<BlockNode>()));
    m_feed = std::move(feed);
    continueInBackground();
}

void MarkdownView::setContent(const MarkdownContent &content)
{
    m_feed = std::make_unique<IncrementalMarkdownFeed>();
    showBlocks(content.blocks);
}

void MarkdownView::showBlocks(const QList<BlockNode> &blocks)
{
    m_interaction->selection = {};
    m_interaction->caret = {};
    m_interaction->anchor.reset();
    m_interaction->draggedScroll = nullptr;
    m_textReplaced = true;
    dropAccessibleTextMap();
    m_document->setBlocks(blocks);
    m_find->restart();
    verticalScrollBar()->setValue(0);
    relayout();
    updateCodeCopyButton(m_hoverPoint);
}

const MarkdownEnvironment &MarkdownView::environment() const
{
    return m_document->environment();
}

void MarkdownView::setEnvironment(const MarkdownEnvironment &environment)
{
    m_document->setEnvironment(environment);
    m_interaction->selection = {};
    m_interaction->caret = {};
    m_interaction->draggedScroll = nullptr;
    m_textReplaced = true;
    dropAccessibleTextMap();
    relayout();
}

void MarkdownView::setTheme(const Theme &theme)
{
    MarkdownEnvironment environment = m_document->environment();
    environment.theme = theme;
    setEnvironment(environment);
}

void MarkdownView::setBaseUrl(const std::optional<QUrl> &url)
{
    MarkdownEnvironment environment = m_document->environment();
    environment.baseUrl = url;
    setEnvironment(environment);
}

void MarkdownView::setImageBaseUrl(const std::optional<QUrl> &url)
{
    MarkdownEnvironment environment = m_document->environment();
    environment.imageBaseUrl = url;
    setEnvironment(environment);
}

void MarkdownView::setSoftBreakMode(SoftBreakMode mode)
{
    MarkdownEnvironment environment = m_document->environment();
    environment.softBreakMode = mode;
    setEnvironment(environment);
}

void MarkdownView::setImageProvider(std::shared_ptr<ImageProvider> provider)
{
    MarkdownEnvironment environment = m_document->environment();
    environment.imageProvider = std::move(provider);
    setEnvironment(environment);
}

void MarkdownView::setInlineImageProvider(std::shared_ptr<ImageProvider> provider)
{
    MarkdownEnvironment environment = m_document->environment();
    environment.inlineImageProvider = std::move(provider);
    setEnvironment(environment);
}

void MarkdownView::setDocumentMargins(const QMarginsF &margins)
{
    m_documentMargins = margins;
    relayout();
}

void MarkdownView::setTextSelectionEnabled(bool enabled)
{
    m_selectionEnabled = enabled;
    if (!enabled)
        clearSelection();
}

void MarkdownView::find(const SearchPattern &query)
{
    const qreal top = std::max<qreal>(0, viewTop());
    m_find->start(query, m_document->laidOutBlockCount() > 0 ? m_document->blockAt(top) : 0, 0);
}

void MarkdownView::findFrom(const SearchPattern &query, QStringView source, int line, int column)
{
    if (query.isEmpty()) {
        clearFind();
        return;
    }
    // The place may lie in a piece of a long text not parsed yet.
    while (m_feed->hasMore())
        feedNextPiece();
    const auto [block, index] = MarkdownViewFind::sourcePlace(*m_document, query, source, line, column);
    m_find->start(query, block, index);
}

void MarkdownView::findNext()
{
    m_find->step(MarkdownViewFind::Direction::forward);
}

void MarkdownView::findPrevious()
{
    m_find->step(MarkdownViewFind::Direction::backward);
}

void MarkdownView::clearFind()
{
    m_find->clear();
}

SearchPattern MarkdownView::findQuery() const
{
    return m_find->query();
}

FindStatus MarkdownView::findStatus() const
{
    return m_find->status();
}

bool MarkdownView::isFeeding() const
{
    return m_feed->hasMore();
}

void MarkdownView::ensureVisible(const QRectF &documentRect)
{
    updateScrollBar();
    QScrollBar *bar = verticalScrollBar();
    const qreal top = (documentRect.top() + m_documentMargins.top()) * m_zoom;
    const qreal bottom = (documentRect.bottom() + m_documentMargins.top()) * m_zoom;
    if (top >= bar->value() && bottom <= bar->value() + viewport()->height())
        return;
    // A third of the way down, where the eye looks first.
    bar->setValue(int(std::round(top - viewport()->height() / 3.0)));
    layoutVisible();
}

bool MarkdownView::hasSelection() const
{
    return !m_interaction->selection.isEmpty();
}

QString MarkdownView::selectedText() const
{
    return m_document->text(m_interaction->selection);
}

void MarkdownView::selectAll()
{
    if (!m_selectionEnabled)
        return;
    m_interaction->selection = m_document->allText();
    viewport()->update();
    Q_EMIT selectionChanged();
}

void MarkdownView::clearSelection()
{
    if (m_interaction->selection.isEmpty())
        return;
    m_interaction->selection = {};
    viewport()->update();
    Q_EMIT selectionChanged();
}

void MarkdownView::copy() const
{
    const CopiedText text = m_document->copiedText(m_interaction->selection);
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setMimeData(copiedTextMimeData(text));
}

void MarkdownView::updateCodeCopyButton(std::optional<QPointF> viewportPoint)
{
    m_hoverPoint = viewportPoint;
    const std::optional<LayoutDocument::CodeBlockArea> area =
        viewportPoint ? m_document->codeBlockAt(documentPoint(*viewportPoint)) : std::nullopt;
    if (!area) {
        m_codeCopyButton->hide();
        return;
    }
    const QRectF frame = area->frame;
    const QRectF inView((frame.left() + m_documentMargins.left()) * m_zoom,
                        (frame.top() - viewTop()) * m_zoom, frame.width() * m_zoom, frame.height() * m_zoom);
    // Kept in sight while the block's top is scrolled away.
    m_codeCopyButton->showFor(inView.intersected(QRectF(viewport()->rect())), area->block);
}

void MarkdownView::copyHoveredCodeBlock()
{
    // The block under the button now: the page may have been built anew since it was shown.
    const std::optional<LayoutDocument::CodeBlockArea> area =
        m_document->codeBlockAt(documentPoint(QRectF(m_codeCopyButton->geometry()).center()));
    const CopiedText text = area ? m_document->codeBlockText(area->block) : CopiedText();
    if (text.isEmpty())
        return;
    QGuiApplication::clipboard()->setMimeData(copiedTextMimeData(text));
    m_codeCopyButton->showCopied();
}

bool MarkdownView::isLayoutComplete() const
{
    return !m_feed->hasMore() && m_document->isComplete();
}

qreal MarkdownView::documentHeight() const
{
    return m_document->estimatedHeight() * m_feed->heightScale();
}

QString MarkdownView::layoutDump()
{
    while (!isLayoutComplete())
        backgroundStep();
    return m_document->dump();
}

int MarkdownView::blockCount() const
{
    return m_document->blockCount();
}

int MarkdownView::parkedBlockCount() const
{
    return m_document->parkedBlockCount();
}

const AccessibleTextMap &MarkdownView::accessibleTextMap() const
{
    if (!m_accessibleText || m_accessibleText->nodeCount() != m_document->textCount()) {
        m_accessibleText = std::make_unique<AccessibleTextMap>(*m_document);
        ++m_accessibleGeneration;
    }
    return *m_accessibleText;
}

void MarkdownView::dropAccessibleTextMap()
{
    m_accessibleText.reset();
    ++m_accessibleGeneration;
}

const LayoutSelection &MarkdownView::selection() const
{
    return m_interaction->selection;
}

void MarkdownView::setSelection(const LayoutSelection &selection)
{
    if (!m_selectionEnabled)
        return;
    m_interaction->selection = selection;
    m_interaction->anchor.reset();
    viewport()->update();
    Q_EMIT selectionChanged();
}

int MarkdownView::caretOffset() const
{
    return accessibleTextMap().offsetOf(*m_document, m_interaction->caret);
}

void MarkdownView::setCaretOffset(int offset)
{
    m_interaction->caret = accessibleTextMap().positionOf(*m_document, offset);
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent cursor(this, caretOffset());
        QAccessible::updateAccessibility(&cursor);
    }
}

QPointF MarkdownView::viewportPoint(QPointF documentPoint) const
{
    return (documentPoint + QPointF(m_documentMargins.left(), -viewTop())) * m_zoom;
}

void MarkdownView::announceTextChanges()
{
    const int count = m_document->textCount();
    if (!m_textReplaced && count == m_announcedTextNodes)
        return;
    if (!QAccessible::isActive()) {
        m_textReplaced = true; // told as a whole once someone listens
        return;
    }
    dropAccessibleTextMap();
    if (m_textReplaced || count < m_announcedTextNodes) {
        // Pages dropped and built again (another zoom) read as a new text, too.
        const QString text = accessibleTextMap().text();
        QAccessibleTextUpdateEvent update(this, 0, QString(), text);
        QAccessible::updateAccessibility(&update);
        m_announcedLength = int(text.size());
    } else {
        const int lastLength = m_document->textNode(count - 1)->length();
        LayoutSelection added{0, 0, count - 1, lastLength};
        if (m_announcedTextNodes > 0)
            added = {m_announcedTextNodes - 1, m_document->textNode(m_announcedTextNodes - 1)->length(),
                     count - 1, lastLength};
        const QString text =
            m_announcedTextNodes > 0 ? m_document->text(added) : m_document->text(m_document->allText());
        QAccessibleTextInsertEvent insert(this, m_announcedLength, text);
        QAccessible::updateAccessibility(&insert);
        m_announcedLength += int(text.size());
    }
    m_textReplaced = false;
    m_announcedTextNodes = count;
    QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
}

void MarkdownView::announceSelection()
{
    const LayoutSelection &selection = m_interaction->selection;
    if (!selection.isEmpty())
        m_interaction->caret = {selection.endNode, selection.endOffset};
    if (!QAccessible::isActive())
        return;
    const AccessibleTextMap &map = accessibleTextMap();
    const int start =
        selection.isEmpty() ? 0 : map.offsetOf(*m_document, {selection.startNode, selection.startOffset});
    const int end =
        selection.isEmpty() ? 0 : map.offsetOf(*m_document, {selection.endNode, selection.endOffset});
    QAccessibleTextSelectionEvent changed(this, start, end);
    QAccessible::updateAccessibility(&changed);
    QAccessibleTextCursorEvent cursor(this, map.offsetOf(*m_document, m_interaction->caret));
    QAccessible::updateAccessibility(&cursor);
}

QSize MarkdownView::sizeHint() const
{
    return {640, 480};
}

qreal MarkdownView::pageWidth() const
{
    return std::max<qreal>(1, viewport()->width() / m_zoom - m_documentMargins.left() -
                                  m_documentMargins.right());
}

QPointF MarkdownView::documentPoint(QPointF viewportPoint) const
{
    return viewportPoint / m_zoom - QPointF(m_documentMargins.left(), -viewTop());
}

qreal MarkdownView::viewTop() const
{
    return verticalScrollBar()->value() / m_zoom - m_documentMargins.top();
}

qreal MarkdownView::viewHeight() const
{
    return viewport()->height() / m_zoom;
}

void MarkdownView::scrollToDocumentY(qreal y)
{
    verticalScrollBar()->setValue(int(std::round((y + m_documentMargins.top()) * m_zoom)));
}

qreal MarkdownView::zoom() const
{
    return m_zoom;
}

void MarkdownView::setZoom(qreal zoom)
{
    zoom = std::clamp<qreal>(zoom, 0.25, 4);
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    // The same text stays at the top of the view.
    const qreal top = std::max<qreal>(0, viewTop());
    const int block = m_document->laidOutBlockCount() > 0 ? m_document->blockAt(top) : 0;
    const qreal offset = m_document->laidOutBlockCount() > 0 ? top - m_document->blockTop(block) : 0;
    m_zoom = zoom;
    m_document->setDevicePixelRatio(devicePixelRatioF() * m_zoom);
    m_interaction->draggedScroll = nullptr;
    m_document->setWidth(pageWidth());
    m_document->layoutThrough(block);
    m_document->layoutUntil(m_document->blockTop(block) + offset + viewHeight() + lookAhead);
    updateScrollBar();
    if (top > 0)
        scrollToDocumentY(m_document->blockTop(block) + offset);
    layoutVisible();
    continueInBackground();
}

MarkdownView::ReadingPosition MarkdownView::readingPosition() const
{
    ReadingPosition position;
    const QScrollBar *scrollBar = verticalScrollBar();
    position.fraction = scrollBar->maximum() > 0 ? qreal(scrollBar->value()) / scrollBar->maximum() : 0;
    if (m_document->laidOutBlockCount() == 0)
        return position;
    const qreal top = std::max<qreal>(0, viewTop());
    position.blockIndex = m_document->blockAt(top);
    position.offset = top - m_document->blockTop(position.blockIndex);
    position.block = m_document->block(position.blockIndex);
    return position;
}

void MarkdownView::setReadingPosition(const ReadingPosition &position)
{
    m_document->setWidth(pageWidth());
    const int count = m_document->blockCount();
    int found = -1;
    if (position.block) {
        // Outwards from the old place: text added or removed above it moves it only a little.
        for (int distance = 0; found < 0 && distance < count; ++distance) {
            for (const int index : {position.blockIndex - distance, position.blockIndex + distance}) {
                if (index >= 0 && index < count && m_document->block(index) == *position.block) {
                    found = index;
                    break;
                }
            }
        }
    }
    if (found >= 0) {
        m_document->layoutThrough(found);
        m_document->layoutUntil(m_document->blockTop(found) + position.offset + viewHeight() + lookAhead);
        updateScrollBar();
        scrollToDocumentY(m_document->blockTop(found) + position.offset);
    } else {
        updateScrollBar();
        verticalScrollBar()->setValue(int(std::round(position.fraction * verticalScrollBar()->maximum())));
    }
    layoutVisible();
    continueInBackground();
}

void MarkdownView::relayout()
{
    m_document->setDevicePixelRatio(devicePixelRatioF() * m_zoom);
    // Scrolled already (to a reading position kept across a reload): stay at the same text.
    if (verticalScrollBar()->value() > 0 && pageWidth() != m_document->width()) {
        rebuildKeepingPosition();
        return;
    }
    m_document->setWidth(pageWidth());
    layoutVisible();
    continueInBackground();
}

void MarkdownView::keepResidentAroundView()
{
    if (m_interaction->draggedScroll)
        return; // its block keeps its node until the drag ends
    const qreal top = viewTop();
    m_document->setResidentRange(top - residentMargin, top + viewHeight() + lookAhead + residentMargin);
}

void MarkdownView::layoutVisible()
{
    keepResidentAroundView();
    const qreal bottom = viewTop() + viewHeight() + lookAhead;
    m_document->layoutUntil(bottom);
    updateScrollBar();
    viewport()->update();
    announceTextChanges();
}

void MarkdownView::feedNextPiece()
{
    if (const std::optional<QList<BlockNode>> blocks = m_feed->parseNext()) {
        m_document->appendBlocks(*blocks);
        m_find->addBlocks(*blocks);
    }
}

void MarkdownView::continueInBackground()
{
    if (!isLayoutComplete())
        m_backgroundTimer.start();
}

void MarkdownView::backgroundStep()
{
    if (m_feed->hasMore()) {
        feedNextPiece();
    } else {
        keepResidentAroundView();
        m_document->layoutUntil(LayoutNode::unbounded, sliceMilliseconds);
    }
    updateScrollBar();
    // Blocks that came into view while their measuring was pending get painted now.
    const qreal bottom = viewTop() + viewHeight();
    if (m_document->laidOutHeight() <= bottom + lookAhead)
        viewport()->update();
    m_find->continuePending();
    announceTextChanges();
    if (isLayoutComplete())
        Q_EMIT layoutCompleted();
    else
        m_backgroundTimer.start();
}

void MarkdownView::updateScrollBar()
{
    const qreal total = (documentHeight() + m_documentMargins.top() + m_documentMargins.bottom()) * m_zoom;
    QScrollBar *bar = verticalScrollBar();
    bar->setPageStep(viewport()->height());
    bar->setRange(0, std::max(0, int(std::ceil(total)) - viewport()->height()));
}

void MarkdownView::rebuildKeepingPosition()
{
    const qreal top = viewTop();
    const int block = m_document->blockAt(top);
    const qreal offset = top - m_document->blockTop(block);
    m_interaction->draggedScroll = nullptr;
    m_document->setWidth(pageWidth());
    m_document->layoutThrough(block);
    m_document->layoutUntil(m_document->blockTop(block) + viewHeight() + lookAhead);
    updateScrollBar();
    scrollToDocumentY(m_document->blockTop(block) + offset);
    layoutVisible();
    continueInBackground();
}

void MarkdownView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRectF dirty = event->rect();
    const QPointF origin(m_documentMargins.left(), -viewTop());
    const QRectF clip(dirty.topLeft() / m_zoom - origin, dirty.size() / m_zoom);
    if (clip.bottom() > m_document->laidOutHeight() && !m_document->isComplete()) {
        m_document->layoutUntil(clip.bottom() + lookAhead);
        updateScrollBar();
        QMetaObject::invokeMethod(this, &MarkdownView::announceTextChanges, Qt::QueuedConnection);
    }
    painter.scale(m_zoom, m_zoom);
    painter.translate(origin);
    LayoutPaintContext context;
    context.painter = &painter;
    context.palette = palette();
    context.appearance = appearanceOf(palette());
    context.clip = clip;
    context.selection = &m_interaction->selection;
    const std::optional<LayoutFindHighlight> highlight = m_find->highlight(context.appearance);
    if (highlight)
        context.find = &*highlight;
    m_document->paint(context);
}

void MarkdownView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (pageWidth() != m_document->width())
        rebuildKeepingPosition();
    else
        layoutVisible();
    updateCodeCopyButton(m_hoverPoint);
}

void MarkdownView::scrollContentsBy(int, int)
{
    keepResidentAroundView();
    const qreal bottom = viewTop() + viewHeight() + lookAhead;
    if (bottom > m_document->laidOutHeight() && !m_document->isComplete()) {
        m_document->layoutUntil(bottom);
        updateScrollBar();
        announceTextChanges();
    }
    updateCodeCopyButton(m_hoverPoint);
    viewport()->update();
}

bool MarkdownView::viewportEvent(QEvent *event)
{
    // Moving onto the copy button leaves the viewport for its child; the button stays.
    if (event->type() == QEvent::Leave && !m_codeCopyButton->underMouse())
        updateCodeCopyButton(std::nullopt);
    return QAbstractScrollArea::viewportEvent(event);
}

void MarkdownView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        if (m_document->setAppearance(appearanceOf(palette()))) {
            m_interaction->selection = {};
            dropAccessibleTextMap();
            rebuildKeepingPosition();
        }
        viewport()->update();
    }
}

void MarkdownView::activateLink(const QUrl &url)
{
    Q_EMIT linkActivated(url);
    if (url.scheme().isEmpty() && url.path().isEmpty() && url.hasFragment() &&
        scrollToHeading(url.fragment(QUrl::FullyDecoded)))
        return;
    // A relative link has nothing to resolve against here; the desktop would resolve it against
    // the working directory. Whoever sets a base URL or handles linkActivated opens it.
    if (m_openLinks && !url.isRelative())
        QDesktopServices::openUrl(url);
}

bool MarkdownView::scrollToHeading(const QString &identifier, int occurrence)
{
    m_document->setWidth(pageWidth());
    const std::optional<qreal> top = m_document->headingTop(identifier, occurrence);
    if (!top)
        return false;
    updateScrollBar();
    scrollToDocumentY(*top);
    return true;
}

void MarkdownView::updateCursor(QPointF viewportPoint)
{
    const LayoutHit hit = m_document->hitTest(documentPoint(viewportPoint));
    const QUrl hovered = hit.link && !hit.onScrollIndicator ? *hit.link : QUrl();
    if (hovered != m_hoveredLink) {
        m_hoveredLink = hovered;
        Q_EMIT linkHovered(hovered);
    }
    if (hit.link && !hit.onScrollIndicator)
        viewport()->setCursor(Qt::PointingHandCursor);
    else if (hit.text && hit.text->documentIndex() >= 0 && m_selectionEnabled && !hit.onScrollIndicator)
        viewport()->setCursor(Qt::IBeamCursor);
    else
        viewport()->unsetCursor();
}

void MarkdownView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    Interaction &state = *m_interaction;
    const QPointF point = documentPoint(event->position());
    const LayoutHit hit = m_document->hitTest(point);
    state.pressPosition = event->position();
    state.dragging = false;
    state.selectingWords = false;
    state.pressedLink = hit.link;
    state.draggedScroll = nullptr;
    if (hit.scroll && hit.onScrollIndicator) {
        state.draggedScroll = hit.scroll;
        const QPointF local = point - hit.scroll->mapToDocument(QPointF(0, 0));
        if (!hit.scroll->indicatorThumb().contains(local))
            hit.scroll->scrollTo(hit.scroll->offsetForThumbCenter(local.x()));
        viewport()->update();
        return;
    }
    if (!m_selectionEnabled)
        return;
    state.anchor = m_document->positionAt(point);
    if (state.anchor && !(event->modifiers() & Qt::ShiftModifier)) {
        state.caret = *state.anchor;
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent cursor(this, caretOffset());
            QAccessible::updateAccessibility(&cursor);
        }
    }
    if (event->modifiers() & Qt::ShiftModifier && !state.selection.isEmpty() && state.anchor) {
        // Extend from the far end of the current selection.
        const LayoutSelection &s = state.selection;
        state.selection = Interaction::ordered({s.startNode, s.startOffset}, *state.anchor);
        state.anchor = LayoutDocument::TextPosition{s.startNode, s.startOffset};
        state.dragging = true;
        viewport()->update();
        Q_EMIT selectionChanged();
        return;
    }
    if (!state.selection.isEmpty()) {
        state.selection = {};
        viewport()->update();
        Q_EMIT selectionChanged();
    }
}

void MarkdownView::mouseMoveEvent(QMouseEvent *event)
{
    Interaction &state = *m_interaction;
    const QPointF point = documentPoint(event->position());
    if (!(event->buttons() & Qt::LeftButton)) {
        updateCursor(event->position());
        updateCodeCopyButton(event->position());
        return;
    }
    if (state.draggedScroll) {
        const QPointF local = point - state.draggedScroll->mapToDocument(QPointF(0, 0));
        if (state.draggedScroll->scrollTo(state.draggedScroll->offsetForThumbCenter(local.x())))
            viewport()->update();
        return;
    }
    if (!m_selectionEnabled || !state.anchor)
        return;
    if (!state.dragging &&
        (event->position() - state.pressPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    state.dragging = true;
    // Dragging past the edges scrolls.
    if (event->position().y() < 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + int(event->position().y()));
    else if (event->position().y() > viewport()->height())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + int(event->position().y()) -
                                      viewport()->height());
    if (const std::optional<LayoutDocument::TextPosition> focus =
            m_document->positionAt(documentPoint(event->position()))) {
        LayoutSelection selection = Interaction::ordered(*state.anchor, *focus);
        if (state.selectingWords) {
            const LayoutSelection first =
                m_document->wordSelection({selection.startNode, selection.startOffset});
            const LayoutSelection last = m_document->wordSelection({selection.endNode, selection.endOffset});
            selection = {first.startNode, first.startOffset, last.endNode, last.endOffset};
        }
        state.selection = selection;
        viewport()->update();
        Q_EMIT selectionChanged();
    }
}

void MarkdownView::mouseReleaseEvent(QMouseEvent *event)
{
    Interaction &state = *m_interaction;
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    state.draggedScroll = nullptr;
    if (!state.dragging && state.pressedLink) {
        const LayoutHit hit = m_document->hitTest(documentPoint(event->position()));
        if (hit.link == state.pressedLink)
            activateLink(*state.pressedLink);
    }
    if (state.dragging && !state.selection.isEmpty() && QGuiApplication::clipboard()->supportsSelection())
        QGuiApplication::clipboard()->setText(selectedText(), QClipboard::Selection);
    state.dragging = false;
    state.pressedLink.reset();
}

void MarkdownView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_selectionEnabled) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    Interaction &state = *m_interaction;
    const std::optional<LayoutDocument::TextPosition> position =
        m_document->positionAt(documentPoint(event->position()));
    if (!position)
        return;
    state.selection = m_document->wordSelection(*position);
    state.anchor = *position;
    state.selectingWords = true;
    state.pressedLink.reset();
    viewport()->update();
    Q_EMIT selectionChanged();
}

void MarkdownView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (const int notches = event->angleDelta().y() / 120; notches != 0)
            Q_EMIT zoomStepRequested(notches);
        event->accept();
        return;
    }
    const QPoint pixels = event->pixelDelta();
    const QPoint degrees = event->angleDelta();
    qreal dx = !pixels.isNull() ? pixels.x() : degrees.x() / 120.0 * 40;
    qreal dy = !pixels.isNull() ? pixels.y() : degrees.y() / 120.0 * 40;
    if (event->modifiers() & Qt::ShiftModifier && dx == 0) {
        dx = dy;
        dy = 0;
    }
    if (dx != 0) {
        const LayoutHit hit = m_document->hitTest(documentPoint(event->position()));
        if (hit.scroll && hit.scroll->scrollBy(-dx)) {
            viewport()->update();
            event->accept();
            return;
        }
        if (dy == 0) {
            event->ignore();
            return;
        }
    }
    QAbstractScrollArea::wheelEvent(event);
}

void MarkdownView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        event->accept();
        return;
    }
    QScrollBar *bar = verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Home:
        bar->setValue(bar->minimum());
        return;
    case Qt::Key_End:
        m_document->layoutAll();
        updateScrollBar();
        bar->setValue(bar->maximum());
        return;
    case Qt::Key_Space:
        bar->triggerAction(event->modifiers() & Qt::ShiftModifier ? QAbstractSlider::SliderPageStepSub
                                                                  : QAbstractSlider::SliderPageStepAdd);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void MarkdownView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *copyAction =
        menu.addAction(QCoreApplication::translate("QWidgetTextControl", "&Copy"), this, &MarkdownView::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    // The Markdown as the text itself, for editors that take plain text only.
    QAction *copyMarkdownAction =
        menu.addAction(Localization::text("markdown.copy_as_markdown"), this, [this] {
            const QString markdown = m_document->copiedText(m_interaction->selection).markdown;
            if (!markdown.isEmpty())
                QGuiApplication::clipboard()->setText(markdown);
        });
    copyMarkdownAction->setEnabled(hasSelection());
    QAction *selectAllAction = menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Select All"),
                                              this, &MarkdownView::selectAll);
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    selectAllAction->setEnabled(m_selectionEnabled);
    if (const LayoutHit hit = m_document->hitTest(documentPoint(event->pos())); hit.link) {
        const QUrl url = *hit.link;
        menu.addSeparator();
        menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Copy &Link Location"), this,
                       [url] { QGuiApplication::clipboard()->setText(url.toString()); });
    }
    menu.exec(event->globalPos());
}

bool MarkdownView::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

} // namespace kestrune
