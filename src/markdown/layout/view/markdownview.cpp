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
#include "text/deliverwhenfinished.h"
#include "ui/bandedfill.h"
#include "ui/themecolors.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFuture>
#include <QPainter>
#include <QPromise>
#include <QScrollBar>
#include <QThreadPool>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>
#include <limits>
#include <new>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kestrune {

namespace {

// How long one slice of background work may take.
constexpr qint64 sliceMilliseconds = 8;
// A slice measuring blocks again moves the page (the block at the top of the view is kept in
// place) and so is followed by a paint in the same frame: the slice leaves the time the last
// paint took for it, down to this much.
constexpr qint64 shortestSliceMilliseconds = 2;
// A resize measures the page again on the window's thread only while no block took longer than
// this when last measured: the frame also paints, and a block measures up to twice as long
// from one width to the next. A page with a slower block is laid out again on the pool.
constexpr qint64 resizeMeasureMilliseconds = 4;
// How far below the visible part the page is measured before painting.
constexpr qreal lookAhead = 400;
// Blocks further than this above or below the view give up their nodes (the page keeps their
// heights), so a long document holds nodes for a few screens only.
constexpr qreal residentMargin = 2000;
// While the width keeps changing (the window's edge dragged), every frame lays out and paints
// what the view shows; the blocks away from it are measured again once the width has stayed the
// same this long, so that no slice of them shares a frame with that work.
constexpr int resizeSettleMilliseconds = 60;
// How far below the window's thread the thread laying pages out again runs (see nice(2)).
constexpr int relayoutThreadNiceness = 10;

// Lets the window's thread go first when both want a processor: the page laid out here can wait,
// the frames the window paints meanwhile cannot. The pool's thread does nothing else, so it is
// lowered once, for good.
void yieldToTheWindow()
{
    static thread_local const bool lowered = [] {
        return setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), relayoutThreadNiceness) == 0;
    }();
    Q_UNUSED(lowered);
}

// Where pages are laid out again when a block of theirs takes longer to measure than a slice:
// one thread, so that a burst of resizes queues nothing, and never destroyed.
QThreadPool &relayoutPool()
{
    static auto *pool = [] {
        auto *created = new QThreadPool;
        created->setMaxThreadCount(1);
        return created;
    }();
    return *pool;
}

// Where change marks are painted in the left margin: a bar this far from the margin's left edge and
// this wide, and a removed block's marker as long, this tall, in the gap above the next block.
constexpr qreal changeBarInset = 5;
constexpr qreal changeBarWidth = 3;
constexpr qreal removedMarkerLength = 9;
constexpr qreal removedMarkerHeight = 3;
constexpr qreal removedMarkerGap = 4;
// How far from a mark the pointer still touches it.
constexpr qreal changeHitSlop = 4;

DynamicColor changeColor(ChangeMark::Kind kind)
{
    switch (kind) {
    case ChangeMark::Kind::added:
        return ThemeColors::completedAccent;
    case ChangeMark::Kind::modified:
        return ThemeColors::accent;
    case ChangeMark::Kind::removed:
        break;
    }
    return ThemeColors::errorText;
}

// The end of a mark's lines; a removed block's marker takes its line.
int endLine(const ChangeMark &mark)
{
    return mark.firstLine + std::max(1, mark.lineCount);
}

// A page laid out again on the pool; none when memory ran out.
struct RelaidPage
{
    std::shared_ptr<PreparedMarkdownPage> page;
};

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
    connect(&m_backgroundTimer, &QTimer::timeout, this, [this] {
        if (isResizing() && !m_feed->hasMore())
            return; // measured once the width stays (m_resizeSettleTimer)
        backgroundStep();
    });
    m_resizeSettleTimer.setSingleShot(true);
    m_resizeSettleTimer.setInterval(resizeSettleMilliseconds);
    connect(&m_resizeSettleTimer, &QTimer::timeout, this, &MarkdownView::continueInBackground);
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, [this] { m_goingToEnd = false; });
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
    cancelPoolRelayout();
    m_goingToEnd = false;
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
    cancelPoolRelayout();
    m_goingToEnd = false;
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
    cancelPoolRelayout();
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
    const TopAnchor anchor = topAnchor();
    const qreal top = std::max<qreal>(0, viewTop());
    const int block = m_document->laidOutBlockCount() > 0 ? m_document->blockAt(top) : 0;
    const qreal offset = m_document->laidOutBlockCount() > 0 ? top - m_document->blockTop(block) : 0;
    m_zoom = zoom;
    cancelPoolRelayout();
    m_control->forgetDraggedScroll();
    if (m_document->setDevicePixelRatio(devicePixelRatioF() * m_zoom) &&
        m_document->laidOutBlockCount() > 0) {
        // The blocks keep their places at the new scale and are measured again for the width the
        // view now has, as for a resize: what the view shows at once, the rest later.
        keepAnchor(anchor);
        whileMemoryLasts([this] { relayoutKeepingPosition(); });
        return;
    }
    // Built again from the top: pictures are laid out anew at the new scale.
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
        m_document->layoutAround(m_document->blockTop(found),
                                 m_document->blockTop(found) + position.offset + viewHeight() + lookAhead);
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
    if (pageWidth() != m_document->width()) {
        relayoutKeepingPosition();
        return;
    }
    layoutVisible();
    continueInBackground();
}

MarkdownView::TopAnchor MarkdownView::topAnchor() const
{
    const qreal top = viewTop();
    if (m_document->laidOutBlockCount() == 0)
        return {0, top};
    const int block = m_document->blockAt(std::max<qreal>(0, top));
    return {block, top - m_document->blockTop(block)};
}

void MarkdownView::keepAnchor(const TopAnchor &anchor)
{
    updateScrollBar();
    if (verticalScrollBar()->isSliderDown())
        return; // the reader moves the page themselves
    const qreal top = m_document->blockTop(anchor.block) + anchor.offset;
    if (std::abs(top - viewTop()) * m_zoom >= 0.5)
        scrollToDocumentY(top);
}

void MarkdownView::relayoutKeepingPosition()
{
    const TopAnchor anchor = topAnchor();
    m_control->forgetDraggedScroll();
    m_document->setWidth(pageWidth());
    if (m_waitingForRelayout && !m_document->hasOutdatedBlocks())
        cancelPoolRelayout(); // back at the width the page on show has
    if (m_waitingForRelayout || m_document->remeasureCost() > double(resizeMeasureMilliseconds)) {
        relayoutOnPool();
        return;
    }
    // What the view shows first, from the block at its top on, which stays where it is; the
    // blocks above and below in slices, each keeping that block in place.
    const qreal top = m_document->blockTop(anchor.block);
    m_document->layoutAround(top, top + anchor.offset + viewHeight() + lookAhead);
    keepAnchor(anchor);
    layoutVisible();
    continueInBackground();
}

void MarkdownView::relayoutOnPool()
{
    // The page on show keeps its places, painted at the width it had, until the new one comes.
    ++m_relayoutSerial;
    m_waitingForRelayout = true;
    if (!m_relayoutRunning)
        startPoolRelayout(); // else it starts once the running one is back
}

void MarkdownView::startPoolRelayout()
{
    PreparedMarkdownPage::Settings settings = pageSettings(size());
    settings.pageWidth = pageWidth();
    const TopAnchor anchor = topAnchor();
    PreparedMarkdownPage::Remeasure remeasure;
    // As far as the page on show is measured, so that every text the reader may have selected
    // is there.
    remeasure.throughBlock = std::max(anchor.block, m_document->laidOutBlockCount() - 1);
    remeasure.below = std::max<qreal>(0, anchor.offset) + viewHeight() + lookAhead;
    const qreal top = m_document->blockTop(anchor.block);
    remeasure.residentTop = top - residentMargin;
    remeasure.residentBottom = top + remeasure.below + residentMargin;
    const std::vector<QList<BlockNode>> blockLists = m_document->blockLists();
    const int serial = m_relayoutSerial;
    m_relayoutRunning = true;

    auto promise = std::make_shared<QPromise<RelaidPage>>();
    QFuture<RelaidPage> future = promise->future();
    relayoutPool().start([promise, settings, blockLists, remeasure] {
        yieldToTheWindow();
        promise->start();
        RelaidPage result;
        try {
            result.page = std::make_shared<PreparedMarkdownPage>(
                PreparedMarkdownPage::relayout(settings, blockLists, remeasure));
        } catch (const std::bad_alloc &) {
            result.page.reset();
        }
        promise->addResult(std::move(result));
        promise->finish();
    });
    deliverWhenFinished(this, future, [this, serial, lists = blockLists.size()](const RelaidPage &result) {
        m_relayoutRunning = false;
        if (serial != m_relayoutSerial) {
            if (m_waitingForRelayout)
                startPoolRelayout(); // a newer width is wanted
            return;
        }
        if (!result.page) {
            showOutOfMemory();
            return;
        }
        takeRelaidPage(serial, *result.page, lists);
    });
}

void MarkdownView::takeRelaidPage(int serial, PreparedMarkdownPage &page, size_t blockLists)
{
    if (serial != m_relayoutSerial || page.isNull())
        return;
    const TopAnchor anchor = topAnchor(); // the reader may have scrolled meanwhile
    std::unique_ptr<LayoutDocument> document = std::move(page.m_document);
    // Pieces of a long text parsed meanwhile.
    const std::vector<QList<BlockNode>> &lists = m_document->blockLists();
    for (size_t index = blockLists; index < lists.size(); ++index)
        document->appendBlocks(lists[index]);
    m_waitingForRelayout = false;
    // Built from the same blocks in the same order, the new page gives every text the index it
    // had: the selection and the find stay as they are.
    disconnect(m_document.get(), nullptr, this, nullptr);
    m_document = std::move(document);
    watchDocument();
    m_document->releaseImageRequests();
    m_announcer->dropTextMap();
    m_control->forgetDraggedScroll();
    if (pageWidth() != m_document->width()) {
        relayoutKeepingPosition();
    } else {
        keepAnchor(anchor);
        layoutVisible();
        continueInBackground();
    }
    m_control->followPage();
    finishGoingToEnd();
}

void MarkdownView::cancelPoolRelayout()
{
    if (!m_waitingForRelayout)
        return;
    ++m_relayoutSerial;
    m_waitingForRelayout = false;
}

void MarkdownView::whileMemoryLasts(const std::function<void()> &work)
{
    try {
        work();
    } catch (const std::bad_alloc &) {
        showOutOfMemory();
    }
}

void MarkdownView::showOutOfMemory()
{
    // What the page holds may be half built: it goes, and nothing more is parsed or measured.
    cancelPoolRelayout();
    m_backgroundTimer.stop();
    m_goingToEnd = false;
    m_feed = std::make_unique<IncrementalMarkdownFeed>();
    m_control->forgetText();
    m_announcer->textReplaced();
    m_find->clear();
    const MarkdownEnvironment environment = m_document->environment();
    disconnect(m_document.get(), nullptr, this, nullptr);
    m_document = std::make_unique<LayoutDocument>();
    m_document->setEnvironment(environment);
    m_document->setAppearance(appearanceOf(palette()));
    m_document->setWidth(pageWidth());
    watchDocument();
    m_find->restart();
    updateScrollBar();
    viewport()->update();
    Q_EMIT outOfMemory();
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
    if (!m_waitingForRelayout)
        m_document->layoutAround(viewTop(), viewTop() + viewHeight() + lookAhead);
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
        whileMemoryLasts([this] { feedNextPiece(); });
    } else if (m_waitingForRelayout) {
        return; // the page comes back from the pool, measured
    } else {
        keepResidentAroundView();
        // Blocks above the view measured again move the one at its top: it is kept in place.
        const TopAnchor anchor = topAnchor();
        const qint64 budget =
            std::max(shortestSliceMilliseconds, sliceMilliseconds - qint64(std::ceil(m_lastPaintMs)));
        whileMemoryLasts([&] {
            m_document->layoutUntil(LayoutNode::unbounded, budget);
            keepAnchor(anchor);
        });
    }
    updateScrollBar();
    // Blocks that came into view while their measuring was pending get painted now.
    const qreal bottom = viewTop() + viewHeight();
    if (m_document->laidOutHeight() <= bottom + lookAhead)
        viewport()->update();
    m_find->continuePending();
    m_announcer->announceTextChanges();
    if (isLayoutComplete()) {
        finishGoingToEnd();
        Q_EMIT layoutCompleted();
    } else {
        m_backgroundTimer.start();
    }
}

bool MarkdownView::isResizing() const
{
    return m_resizeSettleTimer.isActive();
}

void MarkdownView::goToEnd()
{
    if (isLayoutComplete()) {
        updateScrollBar();
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
        return;
    }
    // Measured as a resize measures, in slices or on the pool; the view goes there once it is.
    m_goingToEnd = true;
    whileMemoryLasts([this] {
        if (!m_waitingForRelayout && m_document->remeasureCost() > double(sliceMilliseconds))
            relayoutOnPool();
    });
    continueInBackground();
}

void MarkdownView::finishGoingToEnd()
{
    if (!m_goingToEnd || !isLayoutComplete())
        return;
    m_goingToEnd = false;
    updateScrollBar();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
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
    QElapsedTimer clock;
    clock.start();
    paintPage(event);
    m_lastPaintMs = double(clock.nsecsElapsed()) / 1e6;
}

void MarkdownView::paintPage(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRectF dirty = event->rect();
    const QPointF origin(m_documentMargins.left(), -viewTop());
    const QRectF clip(dirty.topLeft() / m_zoom - origin, dirty.size() / m_zoom);
    if (!m_document->isComplete() && !m_waitingForRelayout) {
        // From the top of the view, whatever part of it is painted, so that the block there stays.
        whileMemoryLasts([&] {
            m_document->layoutAround(viewTop(),
                                     std::max(clip.bottom(), viewTop() + viewHeight()) + lookAhead);
        });
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
    if (!m_changeMarks.isEmpty())
        paintChanges(painter, clip);
}

void MarkdownView::setChangeMarks(const ChangeMarks &marks)
{
    m_changeMarks = marks;
    m_currentChange = -1;
    m_changeScrollValue = -1;
    viewport()->update();
}

std::vector<MarkdownView::PlacedChange> MarkdownView::placedChanges(qreal top, qreal bottom) const
{
    std::vector<PlacedChange> placed;
    const int laidOut = m_document->laidOutBlockCount();
    if (m_changeMarks.isEmpty() || laidOut == 0)
        return placed;
    const int first = m_document->blockAt(std::max<qreal>(0, top));
    // The marks from the first whose lines end after the line of the block before the first.
    const int previousLine = first > 0 ? m_document->block(first - 1).sourceLine() : -1;
    auto mark = std::partition_point(
        m_changeMarks.cbegin(), m_changeMarks.cend(),
        [previousLine](const ChangeMark &each) { return endLine(each) <= previousLine + 1; });
    for (int block = first; block < laidOut && mark != m_changeMarks.cend(); ++block) {
        const qreal blockTop = m_document->blockTop(block);
        if (blockTop - removedMarkerGap > bottom) // a removed block's marker sits above the block
            break;
        const int line = m_document->block(block).sourceLine();
        const bool last = block + 1 == m_document->blockCount();
        const int nextLine =
            last ? std::numeric_limits<int>::max() : m_document->block(block + 1).sourceLine();
        const qreal blockBottom = blockTop + m_document->blockNode(block)->size().height();
        for (auto each = mark; each != m_changeMarks.cend() && each->firstLine < nextLine; ++each) {
            const int index = int(each - m_changeMarks.cbegin());
            if (each->kind == ChangeMark::Kind::removed) {
                if (each->firstLine <= line)
                    placed.push_back({index, blockTop - removedMarkerGap, blockTop - removedMarkerGap});
                else if (last)
                    placed.push_back({index, blockBottom + removedMarkerGap, blockBottom + removedMarkerGap});
                continue;
            }
            // A block that holds a changed part (an item of a list) is marked whole.
            if (endLine(*each) <= line)
                continue;
            if (!placed.empty() && placed.back().mark == index)
                placed.back().bottom = blockBottom; // one bar beside the blocks of one mark
            else
                placed.push_back({index, blockTop, blockBottom});
        }
        while (
            mark != m_changeMarks.cend() &&
            (mark->kind == ChangeMark::Kind::removed ? mark->firstLine <= line : endLine(*mark) <= nextLine))
            ++mark;
    }
    return placed;
}

void MarkdownView::paintChanges(QPainter &painter, const QRectF &clip) const
{
    const Appearance appearance = appearanceOf(palette());
    const qreal left = -m_documentMargins.left() + changeBarInset;
    for (const PlacedChange &placed : placedChanges(clip.top() - removedMarkerGap, clip.bottom())) {
        const ChangeMark &mark = m_changeMarks.at(placed.mark);
        const QColor color = changeColor(mark.kind).resolve(appearance);
        if (mark.kind == ChangeMark::Kind::removed)
            painter.fillRect(
                QRectF(left, placed.top - removedMarkerHeight / 2, removedMarkerLength, removedMarkerHeight),
                color);
        else if (const QRectF bar =
                     QRectF(left, placed.top, changeBarWidth, placed.bottom - placed.top)
                         .intersected(QRectF(left, clip.top() - 2, changeBarWidth, clip.height() + 4));
                 !bar.isEmpty()) // as tall as its block, however much of it the clip shows
            BandedFill::fillRect(painter, bar, color);
    }
}

std::optional<ChangeMark> MarkdownView::changeMarkAt(QPoint viewportPoint) const
{
    const QPointF point = documentPoint(viewportPoint);
    if (point.x() >= 0 || point.x() < -m_documentMargins.left())
        return std::nullopt;
    for (const PlacedChange &placed : placedChanges(point.y() - changeHitSlop, point.y() + changeHitSlop)) {
        if (point.y() >= placed.top - changeHitSlop && point.y() <= placed.bottom + changeHitSlop)
            return m_changeMarks.at(placed.mark);
    }
    return std::nullopt;
}

int MarkdownView::blockOfChange(int mark)
{
    while (m_feed->hasMore())
        feedNextPiece();
    const int line = m_changeMarks.at(mark).firstLine;
    const int count = m_document->blockCount();
    int block = 0;
    while (block + 1 < count && m_document->block(block + 1).sourceLine() <= line)
        ++block;
    if (m_changeMarks.at(mark).kind == ChangeMark::Kind::removed && block + 1 < count &&
        m_document->block(block).sourceLine() < line)
        ++block; // the marker sits above the block that follows
    return block;
}

bool MarkdownView::goToNextChange()
{
    return goToChange(1);
}

bool MarkdownView::goToPreviousChange()
{
    return goToChange(-1);
}

bool MarkdownView::goToChange(int step)
{
    if (m_changeMarks.isEmpty())
        return false;
    int target = -1;
    const int count = int(m_changeMarks.size());
    if (m_currentChange >= 0 && verticalScrollBar()->value() == m_changeScrollValue) {
        target = m_currentChange + step;
    } else {
        // From the line a third of the way down the view, where a mark gone to is put.
        m_document->layoutUntil(viewTop() + viewHeight());
        const int block = m_document->laidOutBlockCount() > 0
                              ? m_document->blockAt(std::max<qreal>(0, viewTop() + viewHeight() / 3))
                              : 0;
        const int line =
            m_document->blockCount() > 0 && viewTop() > 0 ? m_document->block(block).sourceLine() : -1;
        if (step > 0) {
            target = 0;
            while (target < count && m_changeMarks.at(target).firstLine <= line)
                ++target;
        } else {
            target = count - 1;
            while (target >= 0 && m_changeMarks.at(target).firstLine >= line)
                --target;
        }
    }
    if (target < 0 || target >= count)
        return false;
    const int block = blockOfChange(target);
    m_document->setWidth(pageWidth());
    m_document->layoutThrough(block);
    m_document->layoutUntil(m_document->blockTop(block) + viewHeight() + lookAhead);
    updateScrollBar();
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(int(std::round((m_document->blockTop(block) + m_documentMargins.top()) * m_zoom -
                                 viewport()->height() / 3.0)));
    layoutVisible();
    m_currentChange = target;
    m_changeScrollValue = bar->value();
    placeCaretAtBlock(block);
    return true;
}

void MarkdownView::placeCaretAtBlock(int block)
{
    // The first text at or after the block: a block without text (a rule, a picture) has none.
    int low = 0;
    int high = m_document->textCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (m_document->blockOfText(middle) < block)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == m_document->textCount())
        return;
    // A screen reader reads out the line the caret moved to: where the reader landed.
    m_control->setCaret({low, 0});
    m_announcer->announceCaret();
}

void MarkdownView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    whileMemoryLasts([this] {
        if (pageWidth() != m_document->width()) {
            m_resizeSettleTimer.start();
            relayoutKeepingPosition();
        } else {
            layoutVisible();
        }
    });
    m_control->followPage();
}

void MarkdownView::scrollContentsBy(int, int)
{
    keepResidentAroundView();
    if (!m_document->isComplete() && !m_waitingForRelayout) {
        whileMemoryLasts(
            [this] { m_document->layoutAround(viewTop(), viewTop() + viewHeight() + lookAhead); });
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
    if (event->type() == QEvent::ToolTip && !m_changeMarks.isEmpty()) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const std::optional<ChangeMark> mark = changeMarkAt(help->pos());
        if (mark && mark->kind == ChangeMark::Kind::removed) {
            QToolTip::showText(help->globalPos(), mark->removedText, viewport());
            return true;
        }
    }
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
    if (!m_changeMarks.isEmpty() && event->button() == Qt::LeftButton) {
        const std::optional<ChangeMark> mark = changeMarkAt(event->position().toPoint());
        if (mark && mark->kind == ChangeMark::Kind::removed) {
            QToolTip::showText(event->globalPosition().toPoint(), mark->removedText, viewport());
            event->accept();
            return;
        }
    }
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
    m_goingToEnd = false;
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
    if (event->key() != Qt::Key_End)
        m_goingToEnd = false;
    if (m_control->keyPress(event))
        return;
    QScrollBar *bar = verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Home:
        bar->setValue(bar->minimum());
        return;
    case Qt::Key_End:
        goToEnd();
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
