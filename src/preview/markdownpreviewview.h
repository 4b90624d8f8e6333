#pragma once

#include "markdown/layout/document/headingoutline.h"
#include "markdown/layout/view/changemark.h"
#include "markdown/layout/view/markdownview.h"
#include "preview/headingspopup.h"
#include "preview/markdownfilereader.h"
#include "preview/markdownpreviewstate.h"
#include "preview/markdownviewmode.h"
#include "preview/pendingplace.h"
#include "preview/previewdocumentloader.h"
#include "preview/previewreadingposition.h"
#include "preview/previewversion.h"
#include "project/deltaspectype.h"
#include "text/searchpattern.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <optional>

class QThreadPool;

namespace kestrune {

class FileVersionsPopup;
class FindBar;
class NoticeBar;
class PreviewChangedNotice;
class PreviewContentStack;
class PreviewFindController;
class PreviewLinkOpener;
class PreviewSeenTimer;
class MarkdownPreviewHeader;
class PreviewVersionBand;

// The pane that shows one Markdown file: a header with its name, path, delta badge and the
// preview/source switch, a divider, and the content area. The file is read and decoded on the
// thread pool when the pane first appears and again whenever another file is set; until then
// the content area shows a loading indicator, afterwards the rendered document or the source
// text, the empty-file notice, or the read error.
//
// The pane stays in place while the selection moves from one Markdown file to the next
// (setFile), so the user's choice of view mode is kept; a new pane starts in preview mode.
class MarkdownPreviewView : public QWidget
{
    Q_OBJECT

public:
    MarkdownPreviewView(const QUrl &fileURL, std::optional<DeltaSpecType> deltaType,
                        QWidget *parent = nullptr);
    ~MarkdownPreviewView() override;

    // Longer texts are shown as source until the reader asks to render them.
    static constexpr qsizetype largestRenderedText = PreviewDocumentLoader::largestRenderedText;
    // Where files are read: a pool of the panes' own.
    static QThreadPool *readPool() { return PreviewDocumentLoader::readPool(); }
    // What the panes read and parse files with (see PreviewDocumentLoader::setFileReadFunction).
    using FileReadFunction = PreviewDocumentLoader::FileReadFunction;
    static void setFileReadFunction(FileReadFunction function)
    {
        PreviewDocumentLoader::setFileReadFunction(std::move(function));
    }

    QUrl fileURL() const { return m_fileURL; }
    std::optional<DeltaSpecType> deltaType() const { return m_deltaType; }
    const MarkdownPreviewState &state() const { return m_state; }
    MarkdownViewMode viewMode() const { return m_viewMode; }

    // Shows another file. A load runs when the URL differs from the one on show (and the pane
    // has appeared); the view mode is kept.
    // A file that links outside the project is not read: the pane says so instead.
    void setFile(const QUrl &fileURL, std::optional<DeltaSpecType> deltaType,
                 bool linksOutsideProject = false);
    void setViewMode(MarkdownViewMode mode);
    // The folder of the project the file belongs to. Pictures the document names are read from
    // disk only inside it (none while it is empty; counts from the next load on). Links to its
    // Markdown files and folders are followed inside the program (openFileRequested,
    // revealFolderRequested), links anywhere else go to the desktop once the reader agrees.
    void setProjectFolder(const QString &folder);
    QString projectFolder() const;
    // Whether pictures from the web are loaded (on unless turned off); without them their place
    // names the server. A change renders the document on show again.
    void setLoadsRemoteImages(bool load);
    bool loadsRemoteImages() const { return m_loadsRemoteImages; }
    // Reads the file on show again in the background; what is on show stays until the new text
    // replaces it, at the same reading position and in the same view mode. An unchanged text
    // leaves the view as it is.
    void reload();
    // The file on show moved (its change was archived): reads it at its new place like reload.
    void followMove(const QUrl &fileURL, std::optional<DeltaSpecType> deltaType);
    // Says above the content that the file was removed from the disk; what it last held stays
    // on show beneath, until another file is chosen.
    void setFileRemoved(bool removed);
    bool isShowingFileRemoved() const;

    // The reading position of the view on show, in either mode.
    using ReadingPosition = PreviewReadingPosition;
    ReadingPosition readingPosition() const;
    // Takes the reader to a place in the file on show as soon as its text is there (at once when
    // it already is): a reading position, in its mode, or the heading with that identifier (as
    // links to "#identifier" name it). A later file forgets the place.
    void restoreReadingPositionWhenShown(const ReadingPosition &position);
    void scrollToHeadingWhenShown(const QString &identifier);
    // Goes to a match of a search in the file on show as soon as its text is there (at once when
    // it already is), in the mode on show: the find bar opens with the pattern and its options,
    // every match is highlighted, and the one at `line` and `column` (counted from 0, the column
    // in UTF-16 code units within the line; lines end at LF, CR or CR LF) becomes the current
    // one, so that the next match is the one after it. In the source that is the match itself;
    // rendered, the first match the page shows at or after that place. A later file forgets it.
    void showSearchHit(const SearchPattern &pattern, int line, int column);

    // What the rendered document is drawn with: the preview theme, nothing to resolve relative
    // links against, pictures resolved against the file's folder and read from disk inside the
    // project folder only (from the web while allowed).
    static MarkdownEnvironment documentEnvironment(const QUrl &fileURL, const QString &projectFolder,
                                                   bool loadsRemoteImages);
    // What printing the file on show takes, in either mode: its text, parsed unless it was never
    // rendered (the printing parses it then, off the window's thread), the environment the
    // rendered document is drawn with, and the file's name. None unless its text is on show.
    struct PrintableDocument
    {
        std::optional<QList<BlockNode>> blocks;
        QString text;
        MarkdownEnvironment environment;
        QString fileName;
    };
    std::optional<PrintableDocument> printableDocument() const;

    // The headings of the text on show (none before it is parsed), and the one the reader is in:
    // the last at or above the top of the view (-1 when there is none).
    QList<HeadingOutline::Heading> headings() const;
    int currentHeading() const;
    // Scrolls the heading at that index of headings() to the top, in either mode.
    void scrollToHeading(int index);
    // Opens the list of headings under the header's button (Ctrl+Shift+O of the window).
    void showHeadings();
    HeadingsPopup *headingsPopup() const { return m_headingsPopup; }

    MarkdownPreviewHeader *header() const { return m_header; }
    FindBar *findBar() const { return m_findBar; }
    // Opens the find bar (with the selected text of the document, when there is some).
    void openFind();
    // Goes to the next (previous) match of the find bar's query, opening the bar if it is shut.
    void findNext();
    void findPrevious();
    // The bytes of the text on show as read from disk (empty while none is on show).
    const QByteArray &shownBytes() const { return m_shownBytes; }
    PreviewSeenTimer *seenTimer() const { return m_seenTimer; }
    // The text the reader last saw of the file on show: it is compared with the text on show on
    // the pool, block by block, and the differences are marked beside the blocks and lines in
    // either mode (again whenever the file's text changes), until markAsRead() or another file.
    // A file the comparison gives up on (too many changes, a line or a text too long: see
    // BlockDiff) shows no marks but the changed notice. None: nothing is marked.
    void setSeenText(const std::optional<QString> &seenText);
    // The file on show changed since the reader last saw it, and no text of it as seen is kept to
    // compare with: the changed notice says so, until markAsRead() or another file.
    void setChangedWithoutSeenText();
    const ChangeMarks &changeMarks() const { return m_changeMarks; }
    // The quiet line above the content that says the file changed since last read when its
    // changes cannot be marked; its button marks the file as read.
    PreviewChangedNotice *changedNotice() const { return m_changedNotice; }
    bool isShowingChangedNotice() const;
    // Whether the file on show counts as changed since last read: it has marks or the notice.
    bool isChangedSinceRead() const { return !m_changeMarks.isEmpty() || isShowingChangedNotice(); }
    // Goes to the first change mark, in the mode on show, as soon as the text on show has been
    // compared with the seen text given to setSeenText (at once when it has been): for a file
    // opened at what changed. Nothing happens while no seen text is given; a later file forgets it.
    void goToFirstChangeWhenMarked();
    // Goes to the next (previous) change mark in the mode on show; false past the last (first).
    bool goToNextChange();
    bool goToPreviousChange();
    // Clears the marks and the changed notice at once and tells markedAsRead with the text on
    // show.
    void markAsRead();

    // The file's history. The header's History button (and requestHistory, the window's command)
    // asks for it through historyRequested; the shell reads the history and fills the list
    // openVersionsPopup puts under the button (closed when another file is set). Not offered (a
    // project without one), the button is gone; the command still asks, to be told why.
    void setHistoryOffered(bool offered);
    bool isHistoryOffered() const { return m_historyOffered; }
    void requestHistory();
    FileVersionsPopup *openVersionsPopup();
    FileVersionsPopup *versionsPopup() const;
    // Shows the file as an earlier commit held it, read-only, under a band that names the
    // version, with the same engine and in the mode on show; the file on disk is neither read nor
    // counted as seen meanwhile. Compared with the current text, the current text is on show
    // instead, marked where it differs from the version (added, modified, removed since), in
    // either mode. Back to the current text (showCurrentText, the band's button, another file),
    // the marks of what changed since last read return.
    void showVersion(const PreviewVersion &version);
    void setComparesWithCurrent(bool compares);
    void showCurrentText();
    const std::optional<PreviewVersion> &version() const { return m_version; }
    bool comparesWithCurrent() const { return m_comparesWithCurrent; }
    PreviewVersionBand *versionBand() const { return m_versionBand; }

    // What the content area shows now: the loading indicator, the error text, the empty
    // notice, the rendered document or the source text.
    QWidget *contentView() const;

Q_SIGNALS:
    void stateChanged(const MarkdownPreviewState &state);
    // From the header of a delta specification: review its change (`result`: and show the
    // specification as it will read).
    void reviewRequested(const QUrl &fileURL, bool result);
    void viewModeChanged(MarkdownViewMode mode);
    // A link to a Markdown file of the project (`fragment`: a heading in it, possibly empty), or
    // to a folder of the project that holds one.
    void openFileRequested(const QUrl &fileURL, const QString &fragment);
    void revealFolderRequested(const QUrl &folder);
    // The reader went to another place of the page on show, through a link to one of its
    // headings or the list of headings; `from` is where they were.
    void jumpedInPage(const ReadingPosition &from);
    // The text on show has been on screen long enough, or was scrolled through, to count as
    // read: `bytes` are the file's bytes as the pane read them.
    void textSeen(const QUrl &fileURL, const QByteArray &bytes);
    // The reader marked the file on show as read, as `text` reads.
    void markedAsRead(const QUrl &fileURL, const QString &text);
    // The marks of the file on show changed (computed, or cleared), or the changed notice came or
    // went: isChangedSinceRead() may differ.
    void changeMarksChanged();
    // The reader asked for the file's history.
    void historyRequested();
    // An earlier version came on show or went, or its comparison was turned on or off.
    void versionChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // `keepShowing`: a reload, which leaves the content on show until the new text is there.
    void startLoad(bool keepShowing = false);
    // Lays the text on show out again with the current image settings, at the same position.
    void renderAgain();
    // Shows what a read brought: its text, and the page laid out with it (in source mode kept
    // aside until the rendered document is chosen).
    void takeRead(const PreviewDocumentLoader::Arrival &arrival);
    // Shows the large text on show rendered, once parsed, unless another text took its place.
    void takeParse(const PreviewDocumentLoader::Arrival &arrival);
    // The view, unless it was prepared off this thread with a choice of remote images no longer
    // in force: then it is deleted.
    MarkdownView *unlessStale(MarkdownView *prepared) const;
    void restoreReadingPosition(const ReadingPosition &position);
    // Hands the blocks replaced to be freed off the window's thread.
    void replaceParsedBlocks(std::optional<QList<BlockNode>> blocks);
    // `blocks`: the text of a content state parsed off this thread, when it was; `document`: a
    // view already showing it, laid out off this thread too, or, with `unshownPage`, the view to
    // show that page in once the rendered document is chosen.
    void setState(MarkdownPreviewState state, std::optional<QList<BlockNode>> blocks = std::nullopt,
                  MarkdownView *document = nullptr,
                  std::shared_ptr<PreparedMarkdownPage> unshownPage = nullptr);
    // A document view, hidden, for the file on show (for a page to be prepared off this thread).
    MarkdownView *makeDocumentView();
    // Shows the prepared page of a load's result in `view`, or drops the view without one.
    static MarkdownView *showPrepared(MarkdownView *view, const MarkdownFileReader::Document &document);
    void showContent();
    // Parses the large text on show off this thread, then shows it rendered.
    void parseLargeText();
    void showLinkTarget(const QUrl &url);
    // Follows a link to a heading of the page on show.
    void followPageHeading(const QString &identifier);
    // Goes to the place at once when the text on show is there, else once it is.
    void goToWhenShown(PendingPlace::Place place);
    void applyPendingPlace();
    void goTo(const ReadingPosition &position);
    void goTo(const PendingPlace::Heading &heading);
    void goTo(const PendingPlace::SearchHit &hit);
    void goTo(const PendingPlace::FirstChange &first);
    void updateHeadingsButton();
    // Marks the text on show against the text seen, or the version it is compared with.
    void compareWithSeenText();
    // Whether the text to show is an earlier version's rather than the file's on disk.
    bool showsVersionText() const { return m_version && !m_comparesWithCurrent; }
    void leaveVersion();
    void applyChangeMarks();
    // Shows or hides the changed notice; whether that changed anything.
    bool setChangedNoticeShown(bool shown);

    QUrl m_fileURL;
    bool m_linksOutsideProject = false;
    QString m_projectFolder;
    bool m_loadsRemoteImages = true;
    std::optional<DeltaSpecType> m_deltaType;
    MarkdownPreviewState m_state;
    MarkdownViewMode m_viewMode = MarkdownViewMode::preview;

    MarkdownPreviewHeader *m_header = nullptr;
    NoticeBar *m_removedNotice = nullptr;
    PreviewChangedNotice *m_changedNotice = nullptr;
    FindBar *m_findBar = nullptr;
    PreviewFindController *m_find = nullptr;
    PreviewLinkOpener *m_linkOpener = nullptr;
    PreviewContentStack *m_content = nullptr;
    PreviewDocumentLoader *m_loader = nullptr;
    std::optional<QList<BlockNode>> m_parsedBlocks; // of the text on show, parsed off this thread
    PendingPlace m_pendingPlace;
    PreviewSeenTimer *m_seenTimer = nullptr;
    QByteArray m_shownBytes;
    QPointer<HeadingsPopup> m_headingsPopup;
    std::optional<QString> m_seenText;
    ChangeMarks m_changeMarks;
    int m_compareSerial = 0; // the latest comparison asked for; earlier results are dropped
    int m_markedSerial = 0;  // the comparison whose marks are applied
    PreviewVersionBand *m_versionBand = nullptr;
    QPointer<FileVersionsPopup> m_versionsPopup;
    std::optional<PreviewVersion> m_version;
    bool m_comparesWithCurrent = false;
    bool m_historyOffered = true;
};

} // namespace kestrune
