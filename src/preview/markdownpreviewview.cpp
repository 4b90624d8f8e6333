#include "preview/markdownpreviewview.h"

#include "markdown/document/documentmodeldisposal.h"
#include "markdown/document/markdowncontent.h"
#include "markdown/images/documentimageprovider.h"
#include "markdown/images/networkimageprovider.h"
#include "markdown/layout/view/markdownview.h"
#include "preview/errortextview.h"
#include "preview/fileversionspopup.h"
#include "preview/findbar.h"
#include "preview/headingspopup.h"
#include "preview/markdownfilereader.h"
#include "preview/markdownpreviewheader.h"
#include "preview/previewchangednotice.h"
#include "preview/previewchangemarks.h"
#include "preview/previewcolors.h"
#include "preview/previewcontentstack.h"
#include "preview/previewdocumentloader.h"
#include "preview/previewdocumenttheme.h"
#include "preview/previewfindcontroller.h"
#include "preview/previewlinkopener.h"
#include "preview/previewseentimer.h"
#include "preview/previewversionband.h"
#include "preview/previewzoom.h"
#include "preview/sourceheadinglines.h"
#include "preview/sourcetextview.h"
#include "preview/viewmodeswitch.h"
#include "text/deliverwhenfinished.h"
#include "ui/localization.h"
#include "ui/noticebar.h"
#include "ui/separatorline.h"

#include <QAbstractScrollArea>
#include <QFuture>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QtConcurrent/QtConcurrentRun>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrune {

namespace {

// Whether HeadingOutline::of(blocks) would list anything, without making the list: that reads
// every heading's text, milliseconds of the window's thread for a long document.
bool holdsHeading(const QList<BlockNode> &blocks)
{
    const auto inItems = [](const auto &items) {
        return std::any_of(items.cbegin(), items.cend(),
                           [](const auto &item) { return holdsHeading(item.children); });
    };
    return std::any_of(blocks.cbegin(), blocks.cend(), [&inItems](const BlockNode &block) {
        if (block.as<Block::Heading>())
            return true;
        if (const auto *quote = block.as<Block::Blockquote>())
            return holdsHeading(quote->children);
        if (const auto *note = block.as<Block::FootnoteDefinition>())
            return holdsHeading(note->children);
        if (const auto *list = block.as<Block::BulletedList>())
            return inItems(list->items);
        if (const auto *numbered = block.as<Block::NumberedList>())
            return inItems(numbered->items);
        if (const auto *tasks = block.as<Block::TaskList>())
            return inItems(tasks->items);
        return false;
    });
}

} // namespace

MarkdownPreviewView::MarkdownPreviewView(const QUrl &fileURL, std::optional<DeltaSpecType> deltaType,
                                         QWidget *parent)
    : QWidget(parent), m_fileURL(fileURL), m_deltaType(deltaType), m_header(new MarkdownPreviewHeader(this)),
      m_removedNotice(new NoticeBar(this)), m_changedNotice(new PreviewChangedNotice(this)),
      m_findBar(new FindBar(this)), m_content(new PreviewContentStack(this)),
      m_loader(new PreviewDocumentLoader(this)), m_seenTimer(new PreviewSeenTimer(this)),
      m_versionBand(new PreviewVersionBand(this))
{
    setObjectName(QStringLiteral("markdownPreview"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(new SeparatorLine(Qt::Horizontal, PreviewColors::divider, this));
    layout->addWidget(m_versionBand);
    layout->addWidget(m_findBar);
    layout->addWidget(m_removedNotice);
    layout->addWidget(m_changedNotice);
    layout->addWidget(m_content, 1);
    m_findBar->hide();
    m_versionBand->hide();
    connect(m_versionBand, &PreviewVersionBand::compareToggled, this,
            &MarkdownPreviewView::setComparesWithCurrent);
    connect(m_versionBand, &PreviewVersionBand::backRequested, this, &MarkdownPreviewView::showCurrentText);
    m_find = new PreviewFindController(m_findBar, m_content, this);
    connect(m_loader, &PreviewDocumentLoader::readArrived, this, &MarkdownPreviewView::takeRead);
    connect(m_loader, &PreviewDocumentLoader::parseArrived, this, &MarkdownPreviewView::takeParse);
    m_linkOpener = new PreviewLinkOpener(this);
    connect(m_linkOpener, &PreviewLinkOpener::openFileRequested, this,
            &MarkdownPreviewView::openFileRequested);
    connect(m_linkOpener, &PreviewLinkOpener::revealFolderRequested, this,
            &MarkdownPreviewView::revealFolderRequested);
    connect(m_linkOpener, &PreviewLinkOpener::pageHeadingRequested, this,
            &MarkdownPreviewView::followPageHeading);
    connect(m_content, &PreviewContentStack::linkActivated, this,
            [this](const QUrl &url) { m_linkOpener->open(url, m_fileURL, m_projectFolder); });
    connect(m_content, &PreviewContentStack::linkHovered, this, &MarkdownPreviewView::showLinkTarget);
    connect(m_content, &PreviewContentStack::largeTextRenderChosen, this, &MarkdownPreviewView::showContent);
    m_removedNotice->setObjectName(QStringLiteral("fileRemovedNotice"));
    m_removedNotice->setText(Localization::text("markdown.file_removed"));
    m_removedNotice->hide();
    m_changedNotice->hide();
    connect(m_changedNotice, &PreviewChangedNotice::markAsReadRequested, this,
            &MarkdownPreviewView::markAsRead);

    m_header->setFile(m_fileURL, m_deltaType);
    connect(m_header->modeSwitch(), &ViewModeSwitch::modeChosen, this, &MarkdownPreviewView::setViewMode);
    connect(m_header->reviewButton(), &QPushButton::clicked, this,
            [this] { Q_EMIT reviewRequested(m_fileURL, false); });
    connect(m_header->resultButton(), &QPushButton::clicked, this,
            [this] { Q_EMIT reviewRequested(m_fileURL, true); });
    connect(m_header->headingsButton(), &QPushButton::clicked, this, &MarkdownPreviewView::showHeadings);
    connect(m_header->historyButton(), &QPushButton::clicked, this, &MarkdownPreviewView::requestHistory);
    connect(m_seenTimer, &PreviewSeenTimer::seen, this, [this] { Q_EMIT textSeen(m_fileURL, m_shownBytes); });
    setState(MarkdownPreviewState::loading());
}

MarkdownPreviewView::~MarkdownPreviewView() = default;

void MarkdownPreviewView::setFile(const QUrl &fileURL, std::optional<DeltaSpecType> deltaType,
                                  bool linksOutsideProject)
{
    m_deltaType = deltaType;
    m_header->setFile(fileURL, deltaType);
    if (fileURL == m_fileURL && linksOutsideProject == m_linksOutsideProject)
        return;
    m_fileURL = fileURL;
    m_linksOutsideProject = linksOutsideProject;
    m_pendingPlace.forget();
    setFileRemoved(false);
    leaveVersion();
    m_seenText.reset();
    ++m_compareSerial;
    const bool noticeChanged = setChangedNoticeShown(false);
    if (!m_changeMarks.isEmpty() || noticeChanged) {
        m_changeMarks.clear();
        Q_EMIT changeMarksChanged();
    }
    if (m_loader->hasStarted())
        startLoad();
}

void MarkdownPreviewView::reload()
{
    // Before the pane first appears the first load is still to come; an earlier version on show
    // stays as it is, and the file is read again when it is left.
    if (m_loader->hasStarted() && !showsVersionText())
        startLoad(true);
}

void MarkdownPreviewView::followMove(const QUrl &fileURL, std::optional<DeltaSpecType> deltaType)
{
    m_deltaType = deltaType;
    m_header->setFile(fileURL, deltaType);
    m_fileURL = fileURL;
    setFileRemoved(false);
    reload();
}

void MarkdownPreviewView::setFileRemoved(bool removed)
{
    m_removedNotice->setVisible(removed);
}

bool MarkdownPreviewView::isShowingFileRemoved() const
{
    return !m_removedNotice->isHidden();
}

void MarkdownPreviewView::setViewMode(MarkdownViewMode mode)
{
    if (mode == m_viewMode)
        return;
    m_viewMode = mode;
    m_header->modeSwitch()->setMode(mode);
    if (m_state.isContent())
        showContent();
    Q_EMIT viewModeChanged(mode);
}

void MarkdownPreviewView::setProjectFolder(const QString &folder)
{
    m_projectFolder = folder;
}

QString MarkdownPreviewView::projectFolder() const
{
    return m_projectFolder;
}

void MarkdownPreviewView::setLoadsRemoteImages(bool load)
{
    if (load == m_loadsRemoteImages)
        return;
    m_loadsRemoteImages = load;
    renderAgain();
}

void MarkdownPreviewView::renderAgain()
{
    if (!m_content->document())
        return;
    const ReadingPosition position = readingPosition();
    m_content->dropDocument();
    // In source mode the document is made again when it is next chosen.
    if (m_state.isContent() && m_viewMode == MarkdownViewMode::preview) {
        showContent();
        restoreReadingPosition(position);
    }
}

MarkdownView *MarkdownPreviewView::unlessStale(MarkdownView *prepared) const
{
    // Made before the choice changed: the blocks are laid out afresh on this thread instead.
    if (prepared && PreviewContentStack::isStale(*prepared, m_loadsRemoteImages)) {
        delete prepared;
        return nullptr;
    }
    return prepared;
}

QWidget *MarkdownPreviewView::contentView() const
{
    return m_content->currentWidget();
}

void MarkdownPreviewView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loader->hasStarted())
        startLoad();
}

void MarkdownPreviewView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), PreviewColors::paneBackground.resolve(palette()));
}

void MarkdownPreviewView::startLoad(bool keepShowing)
{
    if (m_linksOutsideProject) {
        m_loader->readNothing();
        setState(MarkdownPreviewState::error(Localization::text("markdown.read_error.outside_project")));
        return;
    }
    // A reload keeps a text, a notice or an error on show; only a load still running would
    // leave the reader with nothing to look at meanwhile.
    keepShowing = keepShowing && m_state.kind() != MarkdownPreviewState::Kind::loading;
    // What is on show until the read arrives may no longer be what the file holds.
    m_seenTimer->disarm();
    // The page is laid out for the view that will show it, as large as the content area now.
    MarkdownView *prepared = makeDocumentView();
    if (showsVersionText())
        m_loader->readBytes(m_version->bytes, keepShowing, prepared,
                            prepared->pageSettings(m_content->size()));
    else
        m_loader->read(m_fileURL, keepShowing, prepared, prepared->pageSettings(m_content->size()));
    if (!keepShowing)
        setState(MarkdownPreviewState::loading());
}

void MarkdownPreviewView::takeRead(const PreviewDocumentLoader::Arrival &arrival)
{
    // Taken now, not when the load started: the reader may have scrolled since.
    const std::optional<ReadingPosition> position =
        arrival.reload ? std::optional(readingPosition()) : std::nullopt;
    MarkdownView *prepared = unlessStale(arrival.view);
    MarkdownFileReader::Document document = arrival.document;
    const bool sameText = m_state.isContent() && document.state == m_state;
    m_shownBytes = document.bytes;
    if (m_shownBytes.isEmpty() && document.state.isContent())
        m_shownBytes = document.state.text().toUtf8(); // read by a function that kept no bytes
    if (m_viewMode == MarkdownViewMode::source && prepared && document.page && !document.page->isNull()) {
        setState(std::move(document.state), std::move(document.blocks), prepared, std::move(document.page));
    } else {
        MarkdownView *view = showPrepared(prepared, document);
        setState(std::move(document.state), std::move(document.blocks), view);
    }
    if (position && !sameText) {
        restoreReadingPosition(*position);
        m_find->follow(true); // from where the reader was
    }
    applyPendingPlace();
    // The file as read now is on show: it counts as seen once on screen long enough (not while
    // an earlier version is on show, or compared with).
    if (!m_version && (m_state.isContent() || m_state.kind() == MarkdownPreviewState::Kind::empty))
        m_seenTimer->arm();
}

void MarkdownPreviewView::replaceParsedBlocks(std::optional<QList<BlockNode>> blocks)
{
    if (m_parsedBlocks)
        DocumentModelDisposal::dispose(std::move(*m_parsedBlocks));
    m_parsedBlocks = std::move(blocks);
}

void MarkdownPreviewView::setState(MarkdownPreviewState state, std::optional<QList<BlockNode>> blocks,
                                   MarkdownView *document, std::shared_ptr<PreparedMarkdownPage> unshownPage)
{
    const bool sameText = state.isContent() && m_state.isContent() && state.text() == m_state.text();
    m_state = std::move(state);
    if (!sameText || blocks)
        replaceParsedBlocks(std::move(blocks));
    if (!sameText) {
        m_content->dropTextViews();
        if (m_seenText || m_version || !m_changeMarks.isEmpty())
            compareWithSeenText();
    }
    if (document && (m_content->document() || !m_state.isContent()))
        delete document; // the text on show already has its view
    else if (document && unshownPage)
        m_content->keepUnshown(document, std::move(unshownPage));
    else if (document)
        m_content->adoptDocument(document);
    m_header->modeSwitch()->setVisible(m_state.isContent());
    updateHeadingsButton();
    if (!m_state.isContent() && m_state.kind() != MarkdownPreviewState::Kind::empty) {
        m_seenTimer->disarm();
        m_shownBytes.clear();
    }
    switch (m_state.kind()) {
    case MarkdownPreviewState::Kind::loading:
        m_content->showLoading();
        break;
    case MarkdownPreviewState::Kind::error:
        m_content->showError(m_state.message());
        break;
    case MarkdownPreviewState::Kind::empty:
        m_content->showEmpty();
        break;
    case MarkdownPreviewState::Kind::content:
        showContent();
        break;
    }
    Q_EMIT stateChanged(m_state);
}

void MarkdownPreviewView::showLinkTarget(const QUrl &url)
{
    MarkdownView *document = m_content->document();
    if (!document)
        return;
    document->viewport()->setToolTip(PreviewLinkOpener::toolTip(url, m_fileURL));
}

void MarkdownPreviewView::followPageHeading(const QString &identifier)
{
    MarkdownView *document = m_content->document();
    if (!document || m_viewMode != MarkdownViewMode::preview)
        return;
    // The document view scrolls to the heading as well, after this: to the same place.
    const ReadingPosition from = readingPosition();
    if (document->scrollToHeading(identifier))
        Q_EMIT jumpedInPage(from);
}

void MarkdownPreviewView::restoreReadingPositionWhenShown(const ReadingPosition &position)
{
    goToWhenShown(position);
}

void MarkdownPreviewView::scrollToHeadingWhenShown(const QString &identifier)
{
    goToWhenShown(PendingPlace::Heading{identifier});
}

void MarkdownPreviewView::showSearchHit(const SearchPattern &pattern, int line, int column)
{
    goToWhenShown(PendingPlace::SearchHit{pattern, line, column});
}

void MarkdownPreviewView::goToWhenShown(PendingPlace::Place place)
{
    m_pendingPlace.set(std::move(place));
    if (m_loader->hasDelivered())
        applyPendingPlace();
}

void MarkdownPreviewView::applyPendingPlace()
{
    const std::optional<PendingPlace::Place> place = m_pendingPlace.take();
    if (place && m_state.isContent())
        std::visit([this](const auto &to) { goTo(to); }, *place);
}

void MarkdownPreviewView::goTo(const ReadingPosition &position)
{
    setViewMode(position.mode);
    restoreReadingPosition(position);
}

void MarkdownPreviewView::goTo(const PendingPlace::Heading &heading)
{
    const int index = heading.indexIn(headings());
    if (index >= 0) {
        scrollToHeading(index);
        return;
    }
    // Footnotes and their references are places links reach that the outline does not list.
    if (MarkdownView *document = m_content->document(); document && m_viewMode == MarkdownViewMode::preview)
        document->scrollToHeading(heading.identifier);
}

void MarkdownPreviewView::goTo(const PendingPlace::SearchHit &hit)
{
    m_find->findFrom(hit.pattern, m_state.text(), hit.line, hit.column);
}

MarkdownEnvironment MarkdownPreviewView::documentEnvironment(const QUrl &fileURL,
                                                             const QString &projectFolder,
                                                             bool loadsRemoteImages)
{
    MarkdownEnvironment environment;
    environment.theme = PreviewDocumentTheme::make();
    if (fileURL.isLocalFile())
        environment.imageBaseUrl = fileURL.adjusted(QUrl::RemoveFilename);
    const auto images = std::make_shared<DocumentImageProvider>(
        projectFolder, loadsRemoteImages ? NetworkImageProvider::shared() : nullptr);
    environment.imageProvider = images;
    environment.inlineImageProvider = images;
    environment.loadsRemoteImages = loadsRemoteImages;
    return environment;
}

std::optional<MarkdownPreviewView::PrintableDocument> MarkdownPreviewView::printableDocument() const
{
    if (!m_state.isContent())
        return std::nullopt;
    PrintableDocument document;
    document.blocks = m_parsedBlocks;
    document.text = m_state.text();
    document.environment = documentEnvironment(m_fileURL, m_projectFolder, m_loadsRemoteImages);
    document.fileName = m_fileURL.fileName();
    return document;
}

QList<HeadingOutline::Heading> MarkdownPreviewView::headings() const
{
    if (!m_state.isContent() || !m_parsedBlocks)
        return {};
    return HeadingOutline::of(*m_parsedBlocks);
}

int MarkdownPreviewView::currentHeading() const
{
    const QList<HeadingOutline::Heading> all = headings();
    int current = -1;
    if (m_viewMode == MarkdownViewMode::source) {
        const SourceTextView *source = m_content->source();
        const QList<int> lines = SourceHeadingLines::find(m_state.text());
        const int top = source ? source->topLine() : 0;
        for (qsizetype index = 0; index < std::min(all.size(), lines.size()) && lines.at(index) <= top;
             ++index)
            current = int(index);
        return current;
    }
    const MarkdownView *document = m_content->document();
    const int block = document ? document->readingPosition().blockIndex : 0;
    for (qsizetype index = 0; index < all.size() && all.at(index).blockIndex <= block; ++index)
        current = int(index);
    return current;
}

void MarkdownPreviewView::scrollToHeading(int index)
{
    const QList<HeadingOutline::Heading> all = headings();
    if (index < 0 || index >= all.size())
        return;
    if (m_viewMode == MarkdownViewMode::source) {
        const QList<int> lines = SourceHeadingLines::find(m_state.text());
        if (SourceTextView *source = m_content->source(); source && index < lines.size())
            source->scrollToLine(lines.at(index));
        return;
    }
    if (MarkdownView *document = m_content->document())
        document->scrollToHeading(all.at(index).identifier);
}

void MarkdownPreviewView::showHeadings()
{
    const QList<HeadingOutline::Heading> all = headings();
    if (all.isEmpty())
        return;
    delete m_headingsPopup.data();
    QList<HeadingsPopup::Entry> entries;
    entries.reserve(all.size());
    for (const HeadingOutline::Heading &heading : all)
        entries.append({heading.level, heading.text});
    m_headingsPopup = new HeadingsPopup(this);
    m_headingsPopup->setHeadings(entries, currentHeading());
    connect(m_headingsPopup, &HeadingsPopup::headingChosen, this, [this](int index) {
        const ReadingPosition from = readingPosition();
        scrollToHeading(index);
        Q_EMIT jumpedInPage(from);
    });
    const QWidget *button = m_header->headingsButton();
    const QPoint corner = button->isVisible() ? button->mapToGlobal(QPoint(button->width(), button->height()))
                                              : m_content->mapToGlobal(QPoint(m_content->width(), 0));
    m_headingsPopup->popUp(corner - QPoint(m_headingsPopup->width(), 0));
}

void MarkdownPreviewView::updateHeadingsButton()
{
    QPushButton *button = m_header->headingsButton();
    button->setVisible(m_state.isContent());
    button->setEnabled(m_state.isContent() && m_parsedBlocks && holdsHeading(*m_parsedBlocks));
}

void MarkdownPreviewView::parseLargeText()
{
    m_content->showLoading();
    MarkdownView *prepared = makeDocumentView();
    m_loader->parse(m_state, prepared, prepared->pageSettings(m_content->size()));
}

void MarkdownPreviewView::takeParse(const PreviewDocumentLoader::Arrival &arrival)
{
    MarkdownFileReader::Document document = arrival.document;
    // The same file read again, with another text, has taken over since.
    if (!m_state.isContent() || m_content->document() ||
        (document.state.isContent() && document.state.text() != m_state.text())) {
        delete arrival.view;
        return;
    }
    MarkdownView *view = showPrepared(unlessStale(arrival.view), document);
    if (!document.blocks) {
        setState(std::move(document.state));
        return;
    }
    replaceParsedBlocks(std::move(document.blocks));
    updateHeadingsButton();
    if (view)
        m_content->adoptDocument(view);
    if (m_viewMode == MarkdownViewMode::preview)
        showContent();
}

MarkdownPreviewView::ReadingPosition MarkdownPreviewView::readingPosition() const
{
    return m_content->readingPosition(m_viewMode);
}

void MarkdownPreviewView::restoreReadingPosition(const ReadingPosition &position)
{
    if (position.mode == m_viewMode && m_state.isContent())
        m_content->setReadingPosition(position);
}

MarkdownView *MarkdownPreviewView::makeDocumentView()
{
    MarkdownView *view = m_content->makeDocumentView(
        m_fileURL.fileName(), documentEnvironment(m_fileURL, m_projectFolder, m_loadsRemoteImages));
    // As when reading or parsing runs out of memory. Queued: the error state deletes the view.
    connect(
        view, &MarkdownView::outOfMemory, this,
        [this] {
            setState(MarkdownPreviewState::error(Localization::text("markdown.read_error.out_of_memory")));
        },
        Qt::QueuedConnection);
    return view;
}

MarkdownView *MarkdownPreviewView::showPrepared(MarkdownView *view,
                                                const MarkdownFileReader::Document &document)
{
    if (!view)
        return nullptr;
    if (!document.page || document.page->isNull()) {
        delete view;
        return nullptr;
    }
    view->showPrepared(*document.page);
    return view;
}

void MarkdownPreviewView::showContent()
{
    const QString &text = m_state.text();
    if (m_viewMode == MarkdownViewMode::source) {
        m_content->showSource(text);
    } else if (PreviewDocumentLoader::isTooLongToRender(text) && !m_content->isLargeTextRenderChosen()) {
        m_content->showLargeSource(text);
    } else if (!m_content->showDocument(m_loadsRemoteImages)) {
        // Text not parsed with the read (a large file to render anyway) is parsed now, off this
        // thread too: parsing some inputs takes the parser seconds.
        if (!m_parsedBlocks) {
            parseLargeText();
            return;
        }
        MarkdownView *document = makeDocumentView();
        document->setContent(MarkdownContent(*m_parsedBlocks));
        m_content->adoptDocument(document);
        m_content->setCurrentWidget(document);
    }
    QWidget *shown = m_content->currentWidget();
    auto *area = qobject_cast<QAbstractScrollArea *>(shown);
    m_seenTimer->follow(area ? area : (shown ? shown->findChild<QAbstractScrollArea *>() : nullptr));
    applyChangeMarks();
    m_find->follow();
    if (m_pendingPlace.holds<PendingPlace::FirstChange>())
        applyPendingPlace();
}

void MarkdownPreviewView::setSeenText(const std::optional<QString> &seenText)
{
    m_seenText = seenText;
    compareWithSeenText();
}

void MarkdownPreviewView::setChangedWithoutSeenText()
{
    ++m_compareSerial;
    m_seenText.reset();
    m_changeMarks.clear();
    applyChangeMarks();
    setChangedNoticeShown(true);
    Q_EMIT changeMarksChanged();
}

bool MarkdownPreviewView::isShowingChangedNotice() const
{
    return !m_changedNotice->isHidden();
}

bool MarkdownPreviewView::setChangedNoticeShown(bool shown)
{
    if (shown == isShowingChangedNotice())
        return false;
    m_changedNotice->setVisible(shown);
    return true;
}

void MarkdownPreviewView::compareWithSeenText()
{
    const int serial = ++m_compareSerial;
    // An earlier version on show is marked against nothing; the current text compared with one
    // against that version, else against the text seen.
    const bool againstVersion = m_version && m_comparesWithCurrent;
    if (!m_state.isContent() || (m_version && !againstVersion) || (!m_version && !m_seenText)) {
        m_changeMarks.clear();
        applyChangeMarks();
        Q_EMIT changeMarksChanged();
        return;
    }
    // A megabyte takes milliseconds: never on the window's thread.
    QFuture<BlockDiffResult> future =
        againstVersion ? QtConcurrent::run(readPool(),
                                           [earlier = m_version->bytes, text = m_state.text()] {
                                               return BlockDiff::compareBytes(earlier, text.toUtf8());
                                           })
                       : QtConcurrent::run(readPool(), [seen = *m_seenText, text = m_state.text()] {
                             return BlockDiff::compare(seen, text);
                         });
    deliverWhenFinished(this, future, [this, serial](const BlockDiffResult &diff) {
        if (serial != m_compareSerial)
            return;
        m_changeMarks = PreviewChangeMarks::from(diff);
        m_markedSerial = serial;
        applyChangeMarks();
        // Changed, but not block by block: said above the content instead.
        setChangedNoticeShown(!diff.hasBlockMarks());
        Q_EMIT changeMarksChanged();
        applyPendingPlace(); // the first change, when it waits for these marks
    });
}

void MarkdownPreviewView::applyChangeMarks()
{
    if (MarkdownView *document = m_content->document(); document && document->changeMarks() != m_changeMarks)
        document->setChangeMarks(m_changeMarks);
    if (SourceTextView *source = m_content->source(); source && source->changeMarks() != m_changeMarks)
        source->setChangeMarks(m_changeMarks);
}

void MarkdownPreviewView::goToFirstChangeWhenMarked()
{
    goToWhenShown(PendingPlace::FirstChange{});
}

void MarkdownPreviewView::goTo(const PendingPlace::FirstChange &first)
{
    if (!m_seenText || m_markedSerial != m_compareSerial) {
        m_pendingPlace.set(first); // the marks are on their way
        return;
    }
    // From the top, with no change gone to before: the next one is the first.
    QAbstractScrollArea *view = nullptr;
    if (m_viewMode == MarkdownViewMode::source) {
        if (SourceTextView *source = m_content->source()) {
            source->setChangeMarks(m_changeMarks);
            view = source;
        }
    } else if (MarkdownView *document = m_content->document()) {
        document->setChangeMarks(m_changeMarks);
        view = document;
    }
    if (!view) {
        m_pendingPlace.set(first); // until the text's view is made (showContent)
        return;
    }
    view->verticalScrollBar()->setValue(0);
    goToNextChange();
}

bool MarkdownPreviewView::goToNextChange()
{
    if (m_viewMode == MarkdownViewMode::source) {
        SourceTextView *source = m_content->source();
        return source && source->goToNextChange();
    }
    MarkdownView *document = m_content->document();
    return document && document->goToNextChange();
}

bool MarkdownPreviewView::goToPreviousChange()
{
    if (m_viewMode == MarkdownViewMode::source) {
        SourceTextView *source = m_content->source();
        return source && source->goToPreviousChange();
    }
    MarkdownView *document = m_content->document();
    return document && document->goToPreviousChange();
}

void MarkdownPreviewView::markAsRead()
{
    if (m_version) // what is marked then is the difference from the version, not news
        return;
    ++m_compareSerial;
    m_seenText.reset();
    m_changeMarks.clear();
    applyChangeMarks();
    setChangedNoticeShown(false);
    Q_EMIT changeMarksChanged();
    if (m_state.isContent())
        Q_EMIT markedAsRead(m_fileURL, m_state.text());
}

void MarkdownPreviewView::setHistoryOffered(bool offered)
{
    m_historyOffered = offered;
    m_header->historyButton()->setVisible(offered);
}

void MarkdownPreviewView::requestHistory()
{
    Q_EMIT historyRequested();
}

FileVersionsPopup *MarkdownPreviewView::openVersionsPopup()
{
    delete m_versionsPopup.data();
    m_versionsPopup = new FileVersionsPopup(this);
    const QWidget *button = m_header->historyButton();
    const QPoint corner = button->isVisible() ? button->mapToGlobal(QPoint(button->width(), button->height()))
                                              : m_content->mapToGlobal(QPoint(m_content->width(), 0));
    m_versionsPopup->popUp(corner);
    return m_versionsPopup;
}

FileVersionsPopup *MarkdownPreviewView::versionsPopup() const
{
    return m_versionsPopup;
}

void MarkdownPreviewView::showVersion(const PreviewVersion &version)
{
    m_version = version;
    m_comparesWithCurrent = false;
    m_versionBand->setVersion(version, false);
    m_versionBand->show();
    m_seenTimer->disarm();
    if (m_loader->hasStarted()) // else the version is read when the pane first appears
        startLoad(true);
    Q_EMIT versionChanged();
}

void MarkdownPreviewView::setComparesWithCurrent(bool compares)
{
    if (!m_version || compares == m_comparesWithCurrent)
        return;
    m_comparesWithCurrent = compares;
    m_versionBand->setVersion(*m_version, compares);
    if (m_loader->hasStarted())
        startLoad(true);
    Q_EMIT versionChanged();
}

void MarkdownPreviewView::showCurrentText()
{
    if (!m_version)
        return;
    const bool currentOnShow = m_comparesWithCurrent;
    leaveVersion();
    if (!m_loader->hasStarted())
        return;
    if (currentOnShow) {
        // The text is the file's already: only its marks change back to those since last read.
        compareWithSeenText();
        if (m_state.isContent() || m_state.kind() == MarkdownPreviewState::Kind::empty)
            m_seenTimer->arm();
    } else {
        startLoad(true);
    }
}

void MarkdownPreviewView::leaveVersion()
{
    delete m_versionsPopup.data();
    if (!m_version)
        return;
    m_version.reset();
    m_comparesWithCurrent = false;
    m_versionBand->hide();
    Q_EMIT versionChanged();
}

void MarkdownPreviewView::openFind()
{
    m_find->open();
}

void MarkdownPreviewView::findNext()
{
    m_find->step(FindDirection::forward);
}

void MarkdownPreviewView::findPrevious()
{
    m_find->step(FindDirection::backward);
}

} // namespace kestrune
