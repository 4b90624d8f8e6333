#pragma once

#include "app/detailviewfactory.h"
#include "app/folderpicker.h"
#include "app/importflow.h"
#include "app/navigationcontroller.h"
#include "app/navigationhistory.h"
#include "app/reviewsession.h"
#include "project/changestatus.h"
#include "project/projectstore.h"
#include "project/treenode.h"
#include "reading/readingmarks.h"
#include "review/changereview.h"
#include "text/searchpattern.h"

#include <QHash>
#include <QUrl>
#include <QUuid>
#include <QWidget>

#include <memory>
#include <optional>

namespace kestrune {

class DetailArea;
class ProjectHistory;
class FileHistoryBrowser;
class LiveProjectUpdates;
class ProjectReading;
class ProjectTextIndex;
class MarkdownPreviewView;
class NoticeBar;
class MainToolBar;
class PaneNavigator;
class ProjectTabsBar;

class SidebarPane;
class SplitView;
class ThemeController;
class WarmUpQueue;

// The root view of the main window. It owns the project store, keeps the selected project and
// the selected outline node, and lays out the tabs bar, the sidebar and the detail area; it
// also provides the window's toolbar. Adding projects is the ImportFlow's part, the review of a
// change the ReviewSession's and the ways between places (links, history, panes) the
// NavigationController's; the view offers their commands to the window.
class MainContentView : public QWidget
{
    Q_OBJECT

public:
    // What tests replace; everything left empty gets the real thing.
    struct Dependencies
    {
        ProjectStore::Loader loader;
        std::unique_ptr<FolderPicker> folderPicker;
        std::unique_ptr<DetailViewFactory> detailViews;
        // Where the reading history is kept; empty for the user's state folder.
        QString readingStateRoot;
    };

    explicit MainContentView(ThemeController &themeController, QWidget *parent = nullptr);
    MainContentView(ThemeController &themeController, Dependencies dependencies, QWidget *parent = nullptr);
    ~MainContentView() override;

    ProjectStore &store() const { return *m_store; }
    // Follows the projects' folders on disk (on unless turned off).
    LiveProjectUpdates &liveUpdates() const { return *m_liveUpdates; }
    // What the reader has seen of each open project, and the marks of what changed since.
    ProjectReading &reading() const { return *m_reading; }
    // Whether each open project has a history in git, and when it moves on.
    ProjectHistory &projectHistory() const { return *m_history; }
    // Whether the outline and the dashboard show what changed since last read (on unless turned
    // off); off hides the marks, the history is still kept.
    void setShowsUnreadMarks(bool show);
    bool showsUnreadMarks() const { return m_showsUnreadMarks; }
    // Counts every file of the current project as read as it is now; forgets its history.
    void markAllAsRead();
    void forgetReadingHistory();
    // The note that a project's reading history was set aside.
    NoticeBar *readingNotice() const { return m_readingNotice; }
    // The text of every project's files, for project search.
    ProjectTextIndex &textIndex() const { return *m_textIndex; }
    // Gives the sidebar's project search field the keyboard.
    void focusProjectSearch();
    // The toolbar the window shows; the window takes it over.
    MainToolBar *toolBar() const { return m_toolBar; }

    const std::optional<QUrl> &selectedProjectRoot() const { return m_selectedProjectRoot; }
    void setSelectedProjectRoot(const std::optional<QUrl> &root);
    const std::optional<TreeNode> &selectedNode() const { return m_selectedNode; }
    void setSelectedNode(const std::optional<TreeNode> &node);
    // The selected project when it is imported, else the first imported one.
    std::optional<QUrl> effectiveProjectRoot() const;

    // The import flow: ask for folders, then import each as importFolder does.
    void startImport() { m_importFlow->start(); }
    // Imports the project a chosen folder lies in (see ProjectLocation) and selects it; otherwise
    // adds the folder and why it cannot be imported to the import-failure alert.
    void importFolder(const QUrl &folder) { m_importFlow->importFolder(folder); }
    // Opens what each path names, in order: its project is imported, or selected when it is
    // already; a Markdown file inside it is then opened and a folder revealed (revealInProject).
    // The paths that cannot be opened are listed, each with its reason, in one import-failure
    // alert. Paths from the command line and from a second start of the program come here.
    void openPaths(const QStringList &paths) { m_importFlow->openPaths(paths); }
    // Shows a Markdown file or folder of an imported project as soon as the project's outline is
    // there and the project is the selected one: a file is selected and previewed, a folder is
    // opened in the outline and scrolled to. One request per project, the latest wins; a target
    // the outline does not list leaves the selection alone.
    void revealInProject(const QUrl &root, const QUrl &target)
    {
        m_navigation->revealInProject(root, target);
    }
    // Goes to a Markdown file of an imported project (and to the heading `fragment` names in it,
    // once its text is shown), selecting it in the outline, or reveals a folder of the project in
    // the outline. One step of the window's history; links in the preview come here, and so may
    // any other way to a file (a search result). A file the outline does not list is shown all
    // the same.
    void openLocation(const QUrl &root, const QUrl &target, const QString &fragment = QString())
    {
        m_navigation->openLocation(root, target, fragment);
    }
    // Goes to a match of a search in a Markdown file of an imported project, as openLocation goes
    // to the file (one step of the history): once its text is shown, the find bar holds the
    // pattern with its options, every match is highlighted and the one at `line` and `column`
    // (counted from 0, the column in UTF-16 code units within the line) is the current one,
    // scrolled into view, in the mode the preview is in (see MarkdownPreviewView::showSearchHit).
    void openSearchHit(const QUrl &root, const QUrl &fileUrl, const SearchPattern &pattern, int line,
                       int column)
    {
        m_navigation->openSearchHit(root, fileUrl, pattern, line, column);
    }
    // Walks the window's history: every file, dashboard or review left (by a link, the outline,
    // the tabs, the dashboard) is a step, shown again at the reading position it was left at.
    bool canGoBack() const { return history().canGoBack(); }
    bool canGoForward() const { return history().canGoForward(); }
    void goBack() { m_navigation->goBack(); }
    void goForward() { m_navigation->goForward(); }
    const NavigationHistory &history() const { return m_navigation->history(); }

    // Removes a project; when it was the selected one, the first remaining project is selected.
    void removeProject(const QUrl &root);
    // Rescans the current project, or every project when there is none, and reads the open file
    // again.
    void refresh();
    // Reads the file on show again, keeping the reading position.
    void reloadOpenFile();
    // Whether previews load pictures from the web (on unless turned off); the one on show is
    // rendered again at once.
    void setLoadsRemoteImages(bool load);
    bool loadsRemoteImages() const { return m_loadsRemoteImages; }
    // Whether the file on show is no longer in its project's outline (deleted, or moved elsewhere
    // than into the archive with its change).
    bool isOpenFileRemoved() const { return m_selectedFileRemoved; }
    // Removes the current project, as its tab's context menu does.
    void closeCurrentProject();
    // Selects the project `step` tabs after the selected one (before it for a negative step),
    // wrapping around at either end.
    void selectAdjacentProject(int step);
    // Selects the project of the tab at `index`; nothing when there is no such tab.
    void selectProjectAt(int index);
    // Leaves the file for the project's dashboard, as the sidebar's dashboard button does.
    void showDashboard();
    // Shows what a change of the selected project does to the specifications. The comparison
    // runs off this thread, and again whenever the project's files change.
    void showReview(const QUrl &changeFolder);
    // From the review: a capability's specification as it will read after the change; an empty
    // name goes back to the review.
    void showSpecificationResult(const QString &capability);
    // The change folder and capability a delta specification belongs to, in whichever project
    // its path names (see ReviewSession::deltaSpecificationOwner and
    // PlanningPath::projectRootAbove); nothing for any other file.
    static std::optional<std::pair<QUrl, QString>> deltaSpecificationOwner(const QUrl &file);
    const std::optional<QUrl> &reviewedChange() const { return m_reviewSession->changeFolder(); }
    // Shows the commits that touched a change of the selected project, newest first, read from
    // its git repository off this thread; read again whenever the repository's HEAD moves.
    void showHistory(const QUrl &changeFolder);
    // The change whose history is on show; none while the detail area shows anything else.
    const std::optional<QUrl> &historyChange() const { return m_historyChange; }
    // The change the history command applies to: the one whose history or review is on show,
    // else the change of the outline's current row or of the selected file. None outside a
    // change, or in a project without history.
    std::optional<QUrl> selectedChange() const;
    const std::optional<ChangeReview> &review() const { return m_reviewSession->review(); }
    // Switches the preview on show between the rendered document and its source.
    void toggleViewMode();
    // The Markdown file on show in the detail area; none while it shows anything else.
    MarkdownPreviewView *currentPreview() const;
    bool isShowingPreview() const;

    // Opens a Markdown file of the current project and lists its versions (the outline's History).
    void showFileHistory(const QUrl &file);
    // The history of the file on show: its versions, and the one the preview shows.
    FileHistoryBrowser &fileHistory() const { return *m_fileHistory; }

    // The keyboard's way through the panes (Tab order, F6).
    PaneNavigator &panes() const { return m_navigation->panes(); }

    // The alert's text: one line per path that could not be opened, with the reason.
    const std::optional<QString> &importError() const { return m_importFlow->error(); }
    bool isShowingImportError() const { return m_importFlow->isShowingError(); }

    // Derived inputs of the sidebar.
    std::shared_ptr<const TreeNode> outlineTree() const;
    QHash<QUuid, ChangeStatus> changeStatusByNodeId() const;

    ProjectTabsBar *tabsBar() const { return m_tabsBar; }
    // The note that some project could not be watched in full.
    NoticeBar *watchNotice() const { return m_watchNotice; }
    SidebarPane *sidebar() const { return m_sidebar; }
    DetailArea *detailArea() const { return m_detailArea; }
    // The split between the sidebar and the detail area; its state holds the sidebar's width.
    SplitView *splitView() const { return m_splitView; }
    // Loads what the first publication of a project would load for the first time in the
    // process (fonts, glyphs, symbols, the style's polish of the views' widgets), a small piece
    // per turn of the event loop from the view's first paint on, so that it is done while the
    // first scan runs. Only the first view painted in a process warms up: the caches are the
    // process's. Null in the views that came later.
    WarmUpQueue *warmUp() const { return m_warmUp; }

Q_SIGNALS:
    // A project was imported, or chosen again, by the user or a path named to the program
    // (not by restoring the last session).
    void projectOpened(const QUrl &root);
    void selectedProjectRootChanged(const std::optional<QUrl> &root);

Q_SIGNALS:
    // The projects, the selected project or file, or what the detail area shows changed: what
    // the window's commands apply to may have changed with it.
    void stateChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void layOutPanes();
    void connectStore();
    void connectSidebar();
    void connectToolBar();
    void addLeavePreviewShortcut();
    // Escape in the detail area: from a capability's result back to its review, from a file or
    // a review to the dashboard.
    void leaveDetail();
    void onProjectRootsChanged();
    void onProjectDataChanged(const QUrl &root);
    void onSummaryPublished(const QUrl &root);
    void onTreePublished(const QUrl &root);
    // Selects a project the import flow added, and what the path named inside it.
    void onProjectImported(const QUrl &root, const QUrl &target);
    // Finds the selected file in the project's newly published outline, and has the preview
    // follow it: read again when it changed, at its new place when it was archived.
    void followSelectionIntoNewTree(const QUrl &root);
    // The change whose history is on show was archived: its history goes on in the archive.
    void followHistoryIntoNewTree(const QUrl &root);
    void showWatchLimitNotice(const QUrl &root);
    void showReadingNotice(const QUrl &root);
    void onReadingMarksChanged(const QUrl &root);
    void onHistoryAvailabilityChanged(const QUrl &root);
    void onHistoryChanged(const QUrl &root);
    // Whether the current project has a history in git.
    bool currentProjectHasHistory() const;
    // The marks of the current project, or none while they are hidden.
    std::optional<ReadingMarks> shownReadingMarks() const;
    void updateDashboardReadingFacts();
    void showChangesSinceRead(MarkdownPreviewView &preview);
    void markSeen(const QUrl &file, const QByteArray &bytes);
    void updateTabStates();
    void updateAll();
    void updateTabs();
    void updateSidebar();
    void updateDetail();
    void updateDashboardButton();
    void connectDetailView(QWidget *view);
    void startWarmUp();

    ThemeController &m_themeController;
    ProjectStore *m_store = nullptr;
    std::optional<QUrl> m_selectedProjectRoot;
    std::optional<TreeNode> m_selectedNode;
    bool m_selectedFileRemoved = false;
    bool m_loadsRemoteImages = true;
    bool m_watchNoticeShown = false;
    bool m_showsUnreadMarks = true;
    // Counts the summaries published, so the dashboard is only updated for a new one.
    quint64 m_summaryRevision = 0;

    MainToolBar *m_toolBar = nullptr;
    LiveProjectUpdates *m_liveUpdates = nullptr;
    ProjectTextIndex *m_textIndex = nullptr;
    ProjectTabsBar *m_tabsBar = nullptr;
    NoticeBar *m_watchNotice = nullptr;
    NoticeBar *m_readingNotice = nullptr;
    ProjectReading *m_reading = nullptr;
    ProjectHistory *m_history = nullptr;
    std::optional<QUrl> m_historyChange;
    SplitView *m_splitView = nullptr;
    SidebarPane *m_sidebar = nullptr;
    DetailArea *m_detailArea = nullptr;
    // Children made after the widgets, so that they outlive them.
    ImportFlow *m_importFlow = nullptr;
    ReviewSession *m_reviewSession = nullptr;
    NavigationController *m_navigation = nullptr;
    FileHistoryBrowser *m_fileHistory = nullptr;
    WarmUpQueue *m_warmUp = nullptr;
};

} // namespace kestrune
