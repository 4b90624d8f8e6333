#pragma once

#include "markdown/document/markdowncontent.h"
#include "markdown/layout/document/findstatus.h"
#include "markdown/layout/document/preparedmarkdownpage.h"
#include "markdown/layout/style/markdownenvironment.h"
#include "markdown/layout/view/changemark.h"
#include "text/searchpattern.h"

#include <QAbstractScrollArea>
#include <QMarginsF>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace kestrune {

class IncrementalMarkdownFeed;
class LayoutDocument;
class MarkdownTextControl;
class MarkdownViewAnnouncer;
class MarkdownViewFind;
struct LayoutSelection;

// Shows a Markdown document as a styled, selectable page that scrolls vertically. The page is
// one widget painting a tree of layout nodes, only where it is visible; long documents are
// parsed and measured in slices after the first screen is shown.
//
//     auto *view = new MarkdownView(parent);
//     view->setTheme(previewTheme());
//     view->setDocumentMargins(QMarginsF(16, 16, 16, 16));
//     view->setMarkdown(text);
//
// Colours follow the widget's palette: an appearance switch repaints without parsing again.
// Links open with QDesktopServices (links to "#heading-identifier" scroll to the heading);
// linkActivated is emitted either way. Text is selected with the mouse (double-click: a word)
// and copied with the platform's copy shortcut or the context menu, as plain text and as
// Markdown; a code block under the pointer shows a button that copies it.
class MarkdownView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Where the reader is: the top-level block at the top of the view and how far it is
    // scrolled past that block's top, and the view's place in the whole page (0 at the top,
    // 1 at the bottom). A plain value, to be given to a view showing a newer text of the file.
    struct ReadingPosition
    {
        std::optional<BlockNode> block;
        int blockIndex = 0;
        qreal offset = 0;
        qreal fraction = 0;
    };

    explicit MarkdownView(QWidget *parent = nullptr);
    ~MarkdownView() override;

    // Parses and shows the text. Long texts are parsed in pieces; the first screen shows at once.
    void setMarkdown(const QString &markdown);
    // Shows an already parsed document.
    void setContent(const MarkdownContent &content);
    // What a page prepared for this view, when it is `viewSize` large, is laid out with.
    PreparedMarkdownPage::Settings pageSettings(QSize viewSize) const;
    // Shows a page prepared with this view's settings, taking it over. Without the settings
    // it was made with (the view was resized meanwhile), it is measured again.
    void showPrepared(PreparedMarkdownPage &page);

    const MarkdownEnvironment &environment() const;
    void setEnvironment(const MarkdownEnvironment &environment);
    void setTheme(const Theme &theme);
    void setBaseUrl(const std::optional<QUrl> &url);
    void setImageBaseUrl(const std::optional<QUrl> &url);
    void setSoftBreakMode(SoftBreakMode mode);
    void setImageProvider(std::shared_ptr<ImageProvider> provider);
    void setInlineImageProvider(std::shared_ptr<ImageProvider> provider);

    // Space around the page inside the scroll area.
    QMarginsF documentMargins() const { return m_documentMargins; }
    void setDocumentMargins(const QMarginsF &margins);

    bool isTextSelectionEnabled() const;
    void setTextSelectionEnabled(bool enabled);
    // Whether activated links are opened with QDesktopServices (default true).
    bool openLinks() const { return m_openLinks; }
    void setOpenLinks(bool open) { m_openLinks = open; }

    // How much larger than its theme says the page is drawn: text, spacing and images alike,
    // laid out for the width the view has at that scale (1 for 100 %).
    qreal zoom() const;
    void setZoom(qreal zoom);

    ReadingPosition readingPosition() const;
    // Scrolls to the same block, searched near its old place, at the same offset; to the same
    // place in the page when the text no longer has that block.
    void setReadingPosition(const ReadingPosition &position);
    // Scrolls the heading with that identifier (see linkActivated) to the top of the view; the
    // `occurrence`-th of several with the same identifier. False when the text has no such heading.
    bool scrollToHeading(const QString &identifier, int occurrence = 0);

    // Highlights every match of the query and goes to the first one at or after the reading
    // position, once it is counted; the matches are counted in the background. An empty
    // query ends the find.
    void find(const SearchPattern &query);
    // The same, going first to the match at a place of the text the page was made from
    // (`source`; line and column counted from 0, the column in UTF-16 code units, lines ending
    // at LF, CR or CR LF): the top-level block that place lies in is found by its source line,
    // and the matches the page shows in that block before the place are counted from the
    // block's source up to it. A place in markup the page does not show (a link's target) goes
    // to the next match shown; a block with no match after the place, to the next block's.
    void findFrom(const SearchPattern &query, QStringView source, int line, int column);
    // Goes to the next (previous) match, round the end of the document.
    void findNext();
    void findPrevious();
    void clearFind();
    SearchPattern findQuery() const;
    FindStatus findStatus() const;

    bool hasSelection() const;
    QString selectedText() const;
    void selectAll();
    void clearSelection();
    // Puts the selection on the clipboard as "text/plain" and "text/markdown".
    void copy() const;

    // The places that differ from an earlier text, sorted by line: a bar in the left margin beside
    // each top-level block that starts in an added or modified range, a marker where blocks were
    // removed. Kept, by line, across relayouts, resizes, zoom and the pieces of a long text parsed
    // later, until set again.
    void setChangeMarks(const ChangeMarks &marks);
    const ChangeMarks &changeMarks() const { return m_changeMarks; }
    // Scrolls the next (previous) mark in the order of the text a third of the way down the view:
    // after the one gone to last while the reader did not scroll, else after the line at that
    // height. Stops at the last (first) mark, returning false. The caret goes to the start of the
    // mark's block, which assistive technology is told of, so that a screen reader reads it.
    bool goToNextChange();
    bool goToPreviousChange();
    // The mark gone to last (-1 before any).
    int currentChange() const { return m_currentChange; }
    // The mark painted at a point of the viewport; a removed block's marker shows its text as
    // the tool tip there, and on a click.
    std::optional<ChangeMark> changeMarkAt(QPoint viewportPoint) const;

    // Whether every block is parsed and measured.
    bool isLayoutComplete() const;
    // The height of the page (estimated while the layout is not complete).
    qreal documentHeight() const;
    // The laid-out page as indented text (tests compare it with references).
    QString layoutDump();
    // How many top-level blocks the page has, and how many of them gave up their nodes for now
    // (far from the view).
    int blockCount() const;
    int parkedBlockCount() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void linkActivated(const QUrl &url);
    // The pointer moved onto a link (its target as written), or off one (an empty URL).
    void linkHovered(const QUrl &url);
    void selectionChanged();
    void layoutCompleted();
    void findStatusChanged();
    // Ctrl and the wheel: one step larger (positive) or smaller per notch.
    void zoomStepRequested(int steps);
    // Laying the page out again (for a new width) took more memory than there is: the view
    // shows nothing from now on.
    void outOfMemory();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    friend class MarkdownViewAccessible;
    friend class MarkdownViewAccessibleChildren;
    friend class MarkdownTextControl;
    friend class MarkdownViewAnnouncer;
    friend class MarkdownViewElementAccessible;
    friend class MarkdownViewFind;

    // What assistive technology reads (see MarkdownViewAccessible): the page, its text and
    // elements as far as built (the announcer's text map), and the selection and caret.
    const LayoutDocument &layoutDocument() const { return *m_document; }
    MarkdownViewAnnouncer &announcer() const;
    MarkdownTextControl &textControl() const;
    QPointF viewportPoint(QPointF documentPoint) const;
    void scrollToDocumentRect(const QRectF &documentRect) { ensureVisible(documentRect); }

    // Parses the next piece of a long text and appends its blocks.
    void feedNextPiece();
    void watchDocument();
    void showBlocks(const QList<BlockNode> &blocks);
    QPointF documentPoint(QPointF viewportPoint) const;
    qreal pageWidth() const;
    // The page's coordinate at the top of the view, and the height the view shows of it.
    qreal viewTop() const;
    qreal viewHeight() const;
    void scrollToDocumentY(qreal y);
    // The top-level block at the top of the view, and how far the view is scrolled past its top.
    struct TopAnchor
    {
        int block = 0;
        qreal offset = 0;
    };
    TopAnchor topAnchor() const;
    // Scrolls so that the anchor's block is again where it was in the view.
    void keepAnchor(const TopAnchor &anchor);
    void relayout();
    // Lays the page out for the view's width, keeping the block at the top of the view in place:
    // at once only what the view shows, the rest in slices; on the pool when a block would hold
    // the window longer than a slice.
    void relayoutKeepingPosition();
    void relayoutOnPool();
    void startPoolRelayout();
    void takeRelaidPage(int serial, PreparedMarkdownPage &page, size_t blockLists);
    void cancelPoolRelayout();
    // Runs layout work, showing nothing and telling so when memory runs out.
    void whileMemoryLasts(const std::function<void()> &work);
    void showOutOfMemory();
    void layoutVisible();
    // Lets blocks far from the view give up their nodes.
    void keepResidentAroundView();
    void continueInBackground();
    void backgroundStep();
    // Whether the width changed a moment ago and may go on changing (see m_resizeSettleTimer).
    bool isResizing() const;
    // The End key: the whole page measured, then its bottom shown.
    void goToEnd();
    void finishGoingToEnd();
    void updateScrollBar();
    void paintPage(QPaintEvent *event);
    void rebuildKeepingPosition();
    void activateLink(const QUrl &url);
    // Whether pieces of a long text are still to be parsed.
    bool isFeeding() const;
    void ensureVisible(const QRectF &documentRect);

    // A change mark where it is painted, in document coordinates.
    struct PlacedChange
    {
        int mark = 0;
        qreal top = 0;
        qreal bottom = 0;
    };
    std::vector<PlacedChange> placedChanges(qreal top, qreal bottom) const;
    void paintChanges(QPainter &painter, const QRectF &clip) const;
    bool goToChange(int step);
    // Puts the caret at the start of the block's first text and tells assistive technology.
    void placeCaretAtBlock(int block);
    // The top-level block a mark sits beside, parsing the rest of a long text when needed.
    int blockOfChange(int mark);

    std::unique_ptr<LayoutDocument> m_document;
    ChangeMarks m_changeMarks;
    int m_currentChange = -1;
    int m_changeScrollValue = -1; // where going to the current mark left the scroll bar
    QMarginsF m_documentMargins;
    QTimer m_backgroundTimer;
    // Runs from each change of width until it has stayed the same a while; meanwhile only what
    // the view shows is measured again.
    QTimer m_resizeSettleTimer;
    double m_lastPaintMs = 0;                        // what the last paint took, left to it by the next slice
    bool m_goingToEnd = false;                       // End was pressed and the page is still being measured
    std::unique_ptr<IncrementalMarkdownFeed> m_feed; // the pieces of a long text still to be parsed
    bool m_openLinks = true;
    qreal m_zoom = 1;
    std::unique_ptr<MarkdownTextControl> m_control; // selection and input
    std::unique_ptr<MarkdownViewFind> m_find;
    std::unique_ptr<MarkdownViewAnnouncer> m_announcer; // tells assistive technology of changes
    // The page laid out again on the pool: the number of the latest one wanted, whether one is
    // running, and whether the page on show waits for one (and is not measured meanwhile).
    int m_relayoutSerial = 0;
    bool m_relayoutRunning = false;
    bool m_waitingForRelayout = false;
};

} // namespace kestrune
