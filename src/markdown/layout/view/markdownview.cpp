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
#include "markdown/layout/view/markdowntextcontrol_p.h"
#include "markdown/layout/view/markdownviewaccessible_p.h"
#include "markdown/layout/view/markdownviewannouncer_p.h"
#include "markdown/layout/view/markdownviewfind_p.h"

#include <QDesktopServices>
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

// The environment with one of its settings changed.
template <typename Setting, typename Value>
MarkdownEnvironment with(MarkdownEnvironment environment, Setting MarkdownEnvironment::*setting,
                         Value &&value)
{
    environment.*setting = std::forward<Value>(value);
    return environment;
}

} // namespace

MarkdownView::MarkdownView(QWidget *parent)
    : QAbstractScrollArea(parent), m_document(std::make_unique<LayoutDocument>()),
      m_feed(std::make_unique<IncrementalMarkdownFeed>()), m_find(std::make_unique<MarkdownViewFind>(*this)),
      m_announcer(std::make_unique<MarkdownViewAnnouncer>(*this))
{
    MarkdownViewAccessible::install();
    connect(this, &MarkdownView::selectionChanged, this, [this] { m_announcer->announceSelection(); });
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    m_control = std::make_unique<MarkdownTextControl>(*this);
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
        m_announcer->dropTextMap(); // a text that shows a picture now reads differently
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
    m_control->forgetText();
    m_announcer->textReplaced();
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
    m_control->forgetText();
    m_announcer->textReplaced();
    m_document->setBlocks(blocks);
    m_find->restart();
    verticalScrollBar()->setValue(0);
    relayout();
    m_control->followPage();
}

const MarkdownEnvironment &MarkdownView::environment() const
{
    return m_document->environment();
}

void MarkdownView::setEnvironment(const MarkdownEnvironment &environment)
{
    m_document->setEnvironment(environment);
    m_control->forgetLayout();
    m_announcer->textReplaced();
    relayout();
}

void MarkdownView::setTheme(const Theme &theme)
{
    setEnvironment(with(environment(), &MarkdownEnvironment::theme, theme));
}

void MarkdownView::setBaseUrl(const std::optional<QUrl> &url)
{
    setEnvironment(with(environment(), &MarkdownEnvironment::baseUrl, url));
}

void MarkdownView::setImageBaseUrl(const std::optional<QUrl> &url)
{
    setEnvironment(with(environment(), &MarkdownEnvironment::imageBaseUrl, url));
}

void MarkdownView::setSoftBreakMode(SoftBreakMode mode)
{
    setEnvironment(with(environment(), &MarkdownEnvironment::softBreakMode, mode));
}

void MarkdownView::setImageProvider(std::shared_ptr<ImageProvider> provider)
{
    setEnvironment(with(environment(), &MarkdownEnvironment::imageProvider, std::move(provider)));
}

void MarkdownView::setInlineImageProvider(std::shared_ptr<ImageProvider> provider)
{
    setEnvironment(with(environment(), &MarkdownEnvironment::inlineImageProvider, std::move(provider)));
}

void MarkdownView::setDocumentMargins(const QMarginsF &margins)
{
    m_documentMargins = margins;
    relayout();
}

bool MarkdownView::isTextSelectionEnabled() const
{
    return m_control->isSelectionEnabled();
}

void MarkdownView::setTextSelectionEnabled(bool enabled)
{
    m_control->setSelectionEnabled(enabled);
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
    return m_control->hasSelection();
}

QString MarkdownView::selectedText() const
{
    return m_control->selectedText();
}

void MarkdownView::selectAll()
{
    m_control->selectAll();
}

void MarkdownView::clearSelection()
{
    m_control->clearSelection();
}

void MarkdownView::copy() const
{
    m_control->copy();
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

MarkdownViewAnnouncer &MarkdownView::announcer() const
{
    return *m_announcer;
}

MarkdownTextControl &MarkdownView::textControl() const
{
    return *m_control;
}

QPointF MarkdownView::viewportPoint(QPointF documentPoint) const
{
    return (documentPoint + QPointF(m_documentMargins.left(), -viewTop())) * m_zoom;
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
    m_control->forgetDraggedScroll();
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
    if (m_control->isDraggingScroll())
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
    m_announcer->announceTextChanges();
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
    m_announcer->announceTextChanges();
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
    m_control->forgetDraggedScroll();
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
        QMetaObject::invokeMethod(
            this, [this] { m_announcer->announceTextChanges(); }, Qt::QueuedConnection);
    }
    painter.scale(m_zoom, m_zoom);
    painter.translate(origin);
    LayoutPaintContext context;
    context.painter = &painter;
    context.palette = palette();
    context.appearance = appearanceOf(palette());
    context.clip = clip;
    context.selection = &m_control->selection();
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
    m_control->followPage();
}

void MarkdownView::scrollContentsBy(int, int)
{
    keepResidentAroundView();
    const qreal bottom = viewTop() + viewHeight() + lookAhead;
    if (bottom > m_document->laidOutHeight() && !m_document->isComplete()) {
        m_document->layoutUntil(bottom);
        updateScrollBar();
        m_announcer->announceTextChanges();
    }
    m_control->followPage();
    viewport()->update();
}

bool MarkdownView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave)
        m_control->pointerLeft();
    return QAbstractScrollArea::viewportEvent(event);
}

void MarkdownView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        if (m_document->setAppearance(appearanceOf(palette()))) {
            m_control->forgetSelection();
            m_announcer->dropTextMap();
            rebuildKeepingPosition();
        }
        viewport()->update();
    }
}

void MarkdownView::activateLink(const QUrl &url)
{
    Q_EMIT linkActivated(url);
    // A link into this page: a bare fragment, or one that links resolved against the base URL.
    const std::optional<QUrl> &base = environment().baseUrl;
    const bool intoThisPage =
        (url.scheme().isEmpty() && url.path().isEmpty()) ||
        (base && url.adjusted(QUrl::RemoveFragment) == base->adjusted(QUrl::RemoveFragment));
    if (intoThisPage && url.hasFragment() && scrollToHeading(url.fragment(QUrl::FullyDecoded)))
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

void MarkdownView::mousePressEvent(QMouseEvent *event)
{
    if (!m_control->mousePress(event))
        QAbstractScrollArea::mousePressEvent(event);
}

void MarkdownView::mouseMoveEvent(QMouseEvent *event)
{
    m_control->mouseMove(event);
}

void MarkdownView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_control->mouseRelease(event))
        QAbstractScrollArea::mouseReleaseEvent(event);
}

void MarkdownView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!m_control->mouseDoubleClick(event))
        QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void MarkdownView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (const int notches = event->angleDelta().y() / 120; notches != 0)
            Q_EMIT zoomStepRequested(notches);
        event->accept();
        return;
    }
    if (!m_control->wheel(event))
        QAbstractScrollArea::wheelEvent(event);
}

void MarkdownView::keyPressEvent(QKeyEvent *event)
{
    if (m_control->keyPress(event))
        return;
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
    m_control->contextMenu(event);
}

bool MarkdownView::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        if (m_control->takesShortcut(*static_cast<QKeyEvent *>(event))) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

} // namespace kestrune
