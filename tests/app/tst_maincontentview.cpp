#include "app/dashboardbutton.h"
#include "app/detailarea.h"
#include "app/maincontentview.h"
#include "app/maintoolbar.h"
#include "app/projecttabbutton.h"
#include "app/projecttabsbar.h"
#include "app/sidebarpane.h"
#include "dashboard/dashboardview.h"
#include "fakeprojects.h"
#include "markdown/layout/view/markdownview.h"
#include "modelrows.h"
#include "preview/findbar.h"
#include "preview/headingspopup.h"
#include "preview/markdownpreviewview.h"
#include "preview/sourcetextfind.h"
#include "preview/sourcetextview.h"
#include "project/treenodelookup.h"
#include "scriptedfolderpicker.h"
#include "search/projecttextindex.h"
#include "sidebar/outlinelistview.h"
#include "sidebar/projectsearchcontroller.h"
#include "sidebar/projectsearchfield.h"
#include "sidebar/projecttreemodel.h"
#include "sidebar/projecttreeview.h"
#include "sidebar/searchresultsview.h"
#include "sidebar/treerowdelegate.h"
#include "text/backgroundpool.h"
#include "ui/themecontroller.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>
#include <QTreeView>

using namespace kestrune;

namespace {

// Real folders for the import validation; the projects' contents come from FakeProjects.
class Folders
{
public:
    Folders() { m_directory.setAutoRemove(true); }

    QUrl project(const QString &name)
    {
        QDir(m_directory.path()).mkpath(name + QStringLiteral("/kestrune"));
        return url(name);
    }
    QUrl withKestruneFile(const QString &name)
    {
        QDir(m_directory.path()).mkpath(name);
        QFile file(m_directory.filePath(name + QStringLiteral("/kestrune")));
        file.open(QIODevice::WriteOnly);
        return url(name);
    }
    QUrl plain(const QString &name)
    {
        QDir(m_directory.path()).mkpath(name);
        return url(name);
    }
    // An empty file, with the folders above it.
    QUrl file(const QString &name)
    {
        QDir(m_directory.path()).mkpath(QFileInfo(m_directory.filePath(name)).path());
        QFile file(m_directory.filePath(name));
        file.open(QIODevice::WriteOnly);
        return url(name);
    }
    QUrl url(const QString &name) const { return QUrl::fromLocalFile(m_directory.filePath(name)); }

private:
    QTemporaryDir m_directory;
};

} // namespace

class TestMainContentView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void startsEmpty();
    void outlineStartsWideEnoughForAChangeName();
    void importValidation_data();
    void importValidation();
    void importSelectsTheProjectAndShowsLoadingThenDashboard();
    void importingTheSameFolderAgainKeepsOneTabAndSelectsIt();
    void oneAlertNamesEveryPathThatFails();
    void severalChosenFoldersAreImportedEachOnItsOwn();
    void openingAPathInsideAProject_data();
    void openingAPathInsideAProject();
    void openingAFileOfAnOpenProjectSelectsItAtOnce();
    void removingAProjectThroughItsTab_data();
    void removingAProjectThroughItsTab();
    void outlineSelectionSwitchesTheDetailArea();
    void selectedFolderKeepsTheDashboard();
    void switchingTabsClearsTheFileSelection();
    void sidebarGetsTheChangeStatuses();
    void refreshReloadsTheCurrentProjectOnly();
    void themeMenuMarksTheCurrentMode();
    void linksOpenProjectFilesAndHistoryWalksBack();
    void searchHitOpensItsFileAtTheMatch();
    void jumpsToHeadingsOfTheFileOnShowAreSteps();

private:
    void import(const QUrl &folder);
    void waitForProject(const QUrl &root);

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<ThemeController> m_theme;
    std::shared_ptr<FakeProjects> m_projects;
    std::shared_ptr<ScriptedFolderPicker::Script> m_picker;
    std::unique_ptr<MainContentView> m_view;
    std::unique_ptr<Folders> m_folders;
};

void TestMainContentView::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    BackgroundPool::instance()->setMaxThreadCount(8);
}

void TestMainContentView::init()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    m_theme = std::make_unique<ThemeController>(std::make_unique<QSettings>(
        m_settingsDir->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    m_projects = FakeProjects::create();
    m_picker = std::make_shared<ScriptedFolderPicker::Script>();
    m_folders = std::make_unique<Folders>();
    MainContentView::Dependencies dependencies;
    dependencies.loader = m_projects->loader();
    dependencies.folderPicker = std::make_unique<ScriptedFolderPicker>(m_picker);
    m_view = std::make_unique<MainContentView>(*m_theme, std::move(dependencies));
    m_view->resize(900, 600);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestMainContentView::cleanup()
{
    m_projects->releaseAll();
    BackgroundPool::instance()->waitForDone();
    m_view.reset();
    m_theme.reset();
}

namespace {

QByteArray paragraphs(int count)
{
    QByteArray text;
    for (int index = 0; index < count; ++index)
        text += "Paragraph " + QByteArray::number(index) + " with enough words to fill a line or two.\n\n";
    return text;
}

void writeText(const QUrl &file, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(file.toLocalFile()).path());
    QFile out(file.toLocalFile());
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text);
}

MarkdownView *shownDocument(const MainContentView &view, const QUrl &file)
{
    auto *preview = qobject_cast<MarkdownPreviewView *>(view.detailArea()->currentView());
    if (!preview || preview->fileURL() != file || !preview->state().isContent())
        return nullptr;
    return qobject_cast<MarkdownView *>(preview->contentView());
}

} // namespace

void TestMainContentView::linksOpenProjectFilesAndHistoryWalksBack()
{
    const QUrl root = m_folders->project(QStringLiteral("app"));
    const QUrl overview = QUrl::fromLocalFile(root.toLocalFile() + QStringLiteral("/kestrune/project.md"));
    const QUrl proposal =
        QUrl::fromLocalFile(root.toLocalFile() + QStringLiteral("/kestrune/changes/add-login/proposal.md"));
    writeText(overview, paragraphs(60) + "[The second part](changes/add-login/proposal.md#second-part)\n");
    writeText(proposal, "# First\n\n" + paragraphs(40) + "## Second part\n\n" + paragraphs(40));
    import(root);
    waitForProject(root);
    QVERIFY(!m_view->canGoBack());
    QVERIFY(!m_view->toolBar()->backButton()->isEnabled());

    m_view->setSelectedNode(*findNodeAtPath(*m_view->outlineTree(), overview.toLocalFile()));
    QTRY_VERIFY(shownDocument(*m_view, overview));
    MarkdownView *document = shownDocument(*m_view, overview);
    QTRY_VERIFY(document->isLayoutComplete());
    document->verticalScrollBar()->setValue(document->verticalScrollBar()->maximum() / 2);
    const int overviewBlock = document->readingPosition().blockIndex;
    QVERIFY(overviewBlock > 10);
    QVERIFY(m_view->canGoBack()); // to the dashboard
    QVERIFY(!m_view->toolBar()->forwardButton()->isEnabled());

    // The relative link opens the other file, selected in the outline, at the linked heading.
    Q_EMIT document->linkActivated(QUrl(QStringLiteral("changes/add-login/proposal.md#second-part")));
    QCOMPARE(m_view->selectedNode()->url, proposal);
    QCOMPARE(m_view->sidebar()->treeView()->selectedNode()->url, proposal);
    QTRY_VERIFY(shownDocument(*m_view, proposal));
    QTRY_COMPARE(shownDocument(*m_view, proposal)->readingPosition().blockIndex, 41);
    shownDocument(*m_view, proposal)
        ->verticalScrollBar()
        ->setValue(shownDocument(*m_view, proposal)->verticalScrollBar()->value() / 2);
    const int proposalBlock = shownDocument(*m_view, proposal)->readingPosition().blockIndex;
    QVERIFY(proposalBlock > 0 && proposalBlock < 41);

    // Back: the first file where it was left, then the dashboard, where back ends.
    m_view->goBack();
    QCOMPARE(m_view->selectedNode()->url, overview);
    QTRY_VERIFY(shownDocument(*m_view, overview));
    QTRY_COMPARE(shownDocument(*m_view, overview)->readingPosition().blockIndex, overviewBlock);
    QVERIFY(m_view->toolBar()->forwardButton()->isEnabled());
    m_view->toolBar()->backButton()->click();
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);
    QVERIFY(!m_view->canGoBack());
    QVERIFY(!m_view->toolBar()->backButton()->isEnabled());

    // Forward twice: the linked file again, at the place it was left, not at the heading.
    m_view->goForward();
    QTRY_VERIFY(shownDocument(*m_view, overview));
    m_view->toolBar()->forwardButton()->click();
    QTRY_VERIFY(shownDocument(*m_view, proposal));
    QTRY_COMPARE(shownDocument(*m_view, proposal)->readingPosition().blockIndex, proposalBlock);
    QVERIFY(!m_view->canGoForward());
    QVERIFY(!m_view->toolBar()->forwardButton()->isEnabled());

    // A new step drops the way forward; closing the project forgets its steps.
    m_view->goBack();
    m_view->showDashboard();
    QVERIFY(!m_view->canGoForward());
    QVERIFY(m_view->canGoBack());
    m_view->removeProject(root);
    QVERIFY(!m_view->canGoBack());
}

// A link to a heading of the page, to a heading of the same file by its name, or a heading
// chosen from the list: each leaves a step of the history, and Back and Forward walk through
// those places of the one file.
void TestMainContentView::jumpsToHeadingsOfTheFileOnShowAreSteps()
{
    const QUrl root = m_folders->project(QStringLiteral("app"));
    const QUrl overview = QUrl::fromLocalFile(root.toLocalFile() + QStringLiteral("/kestrune/project.md"));
    // Blocks: the link at 0, "Second part" at 41, "Third part" at 82.
    writeText(overview, "[Down](#second-part)\n\n" + paragraphs(40) + "## Second part\n\n" + paragraphs(40) +
                            "## Third part\n\n" + paragraphs(40));
    import(root);
    waitForProject(root);
    m_view->setSelectedNode(*findNodeAtPath(*m_view->outlineTree(), overview.toLocalFile()));
    QTRY_VERIFY(shownDocument(*m_view, overview));
    MarkdownView *document = shownDocument(*m_view, overview);
    QTRY_VERIFY(document->isLayoutComplete());
    MarkdownPreviewView *preview = m_view->currentPreview();
    const auto block = [&] { return document->readingPosition().blockIndex; };
    QCOMPARE(block(), 0);

    Q_EMIT document->linkActivated(QUrl(QStringLiteral("#second-part")));
    QCOMPARE(block(), 41);
    preview->showHeadings();
    QVERIFY(preview->headingsPopup());
    Q_EMIT preview->headingsPopup()->headingChosen(1); // "Third part"
    QCOMPARE(block(), 82);
    Q_EMIT document->linkActivated(QUrl(QStringLiteral("project.md#second-part")));
    QTRY_COMPARE(block(), 41);
    QCOMPARE(shownDocument(*m_view, overview), document); // the same file on show throughout

    m_view->goBack();
    QTRY_COMPARE(block(), 82);
    m_view->goBack();
    QTRY_COMPARE(block(), 41);
    m_view->goBack();
    QTRY_COMPARE(block(), 0);
    QCOMPARE(shownDocument(*m_view, overview), document);
    m_view->goBack();
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);

    m_view->goForward();
    QTRY_VERIFY(shownDocument(*m_view, overview));
    document = shownDocument(*m_view, overview);
    QTRY_COMPARE(block(), 0);
    m_view->goForward();
    QTRY_COMPARE(block(), 41);
    m_view->goForward();
    QTRY_COMPARE(block(), 82);
    m_view->goForward();
    QTRY_COMPARE(block(), 41);
    QVERIFY(!m_view->canGoForward());
}

// A search's match opens its file as a step of the history, scrolled to the match, which is the
// current one of the find; in a file already on show, in the mode it is shown in.
void TestMainContentView::searchHitOpensItsFileAtTheMatch()
{
    const QUrl root = m_folders->project(QStringLiteral("app"));
    const QUrl overview = QUrl::fromLocalFile(root.toLocalFile() + QStringLiteral("/kestrune/project.md"));
    const QUrl proposal =
        QUrl::fromLocalFile(root.toLocalFile() + QStringLiteral("/kestrune/changes/add-login/proposal.md"));
    writeText(overview, paragraphs(10));
    writeText(proposal, paragraphs(120)); // paragraph n on line 2n, each with one "words"
    import(root);
    waitForProject(root);
    m_view->setSelectedNode(*findNodeAtPath(*m_view->outlineTree(), overview.toLocalFile()));
    QTRY_VERIFY(shownDocument(*m_view, overview));

    const SearchPattern words(QStringLiteral("words"), {.wholeWord = true});
    const int column = int(QByteArrayView("Paragraph 100 with enough ").size());
    m_view->openSearchHit(root, proposal, words, 200, column);
    QCOMPARE(m_view->selectedNode()->url, proposal);
    QTRY_VERIFY(shownDocument(*m_view, proposal));
    MarkdownView *document = shownDocument(*m_view, proposal);
    QTRY_COMPARE(document->findStatus(), (FindStatus{101, 120, true}));
    QVERIFY(document->verticalScrollBar()->value() > document->verticalScrollBar()->maximum() * 3 / 4);
    auto *preview = m_view->currentPreview();
    QVERIFY(preview->findBar()->isVisible());
    QCOMPARE(preview->findBar()->query(), words);
    preview->findNext(); // F3
    QCOMPARE(document->findStatus().current, 102);

    // The file on show, in its source: the match at once.
    m_view->toggleViewMode();
    m_view->openSearchHit(root, proposal, words, 2 * 30, column - 1);
    auto *source = qobject_cast<SourceTextView *>(preview->contentView());
    QVERIFY(source);
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{31, 120, true}));

    m_view->goBack();
    QCOMPARE(m_view->selectedNode()->url, overview);

    // From the sidebar: a query typed, Enter to its results, Enter on the first hit.
    QTRY_VERIFY(m_view->textIndex().isIndexed(root));
    QLineEdit *field = m_view->sidebar()->searchField()->lineEdit();
    QTest::keyClicks(field, QStringLiteral("paragraph 77 "));
    QTRY_VERIFY(!m_view->sidebar()->search()->isSearching());
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(m_view->sidebar()->searchResults()->listView(), Qt::Key_Return);
    QCOMPARE(m_view->selectedNode()->url, proposal);
    preview = m_view->currentPreview();
    QTRY_COMPARE(preview->findBar()->query().text(), QStringLiteral("paragraph 77 "));
    QVERIFY(preview->findBar()->isVisible());
    QTRY_VERIFY(shownDocument(*m_view, proposal));
    QTRY_COMPARE(shownDocument(*m_view, proposal)->findStatus(), (FindStatus{1, 1, true}));
}

void TestMainContentView::import(const QUrl &folder)
{
    m_picker->answer = {folder};
    m_view->toolBar()->importButton()->click();
    QCoreApplication::processEvents(); // the dialog answers asynchronously
}

void TestMainContentView::waitForProject(const QUrl &root)
{
    QTRY_VERIFY(m_view->store().summaryForProject(root).has_value());
}

void TestMainContentView::startsEmpty()
{
    QVERIFY(!m_view->tabsBar()->isVisible());
    QVERIFY(!m_view->toolBar()->refreshButton()->isEnabled());
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::placeholder);
    QVERIFY(m_view->sidebar()->treeView()->isShowingEmptyState());
    QVERIFY(m_view->sidebar()->dashboardButton()->isActive());
}

void TestMainContentView::outlineStartsWideEnoughForAChangeName()
{
    // A change folder two levels down the outline, with a long name and its status badge.
    TreeNode change;
    change.kind = TreeNodeKind::directory;
    change.name = QStringLiteral("update-account-recovery");
    const QUrl root = m_folders->project(QStringLiteral("app"));
    import(root);
    waitForProject(root);
    const QTreeView *list = m_view->sidebar()->treeView()->listView();
    QTRY_VERIFY(list->isVisible() && list->viewport()->width() > SidebarPane::minimumWidth);
    const qreal rowWidth = list->viewport()->width() - 2 * list->indentation();
    for (const ChangeStatus status : {ChangeStatus::draft, ChangeStatus::active, ChangeStatus::completed}) {
        const auto layout = TreeRowDelegate::layoutRow(QRectF(0, 0, rowWidth, 26), change, status);
        QCOMPARE(layout.name, change.name);
        QVERIFY(layout.statusBadge); // as text or, where the UI font is wide, as a dot
    }
}

void TestMainContentView::importValidation_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("imported");
    QTest::addColumn<bool>("alert");
    QTest::addRow("folder holding a kestrune folder") << "project" << true << false;
    QTest::addRow("kestrune is a plain file") << "file" << false << true;
    QTest::addRow("no kestrune entry") << "plain" << false << true;
    QTest::addRow("dialog cancelled") << "cancel" << false << false;
}

void TestMainContentView::importValidation()
{
    QFETCH(QString, kind);
    QFETCH(bool, imported);
    QFETCH(bool, alert);
    std::optional<QUrl> chosen;
    if (kind == QLatin1String("project"))
        chosen = m_folders->project(QStringLiteral("app"));
    else if (kind == QLatin1String("file"))
        chosen = m_folders->withKestruneFile(QStringLiteral("app"));
    else if (kind == QLatin1String("plain"))
        chosen = m_folders->plain(QStringLiteral("app"));

    m_picker->answer = chosen ? QList<QUrl>{*chosen} : QList<QUrl>();
    m_view->toolBar()->importButton()->click();
    QTRY_COMPARE(m_picker->messages.size(), 1);
    QCOMPARE(m_picker->messages.constFirst(), QStringLiteral("import.panel.message"));
    QCoreApplication::processEvents();

    QCOMPARE(m_view->store().projectRoots().size(), imported ? 1 : 0);
    QCOMPARE(m_view->selectedProjectRoot().has_value(), imported);
    QCOMPARE(m_view->isShowingImportError(), alert);
    auto *box = m_view->findChild<QMessageBox *>(QStringLiteral("importFailedAlert"));
    QCOMPARE(box && box->isVisible(), alert);
    if (!alert)
        return;
    const QString line = chosen->toLocalFile() + QStringLiteral(": import.failed.no_kestrune_folder");
    QCOMPARE(m_view->importError(), line);
    QCOMPARE(box->text(), QStringLiteral("import.failed.title"));
    QCOMPARE(box->informativeText(), line);
    QCOMPARE(box->buttons().size(), 1);
    QCOMPARE(box->buttons().constFirst()->text(), QStringLiteral("common.ok"));
    box->buttons().constFirst()->click();
    QTRY_VERIFY(!m_view->isShowingImportError());
    QVERIFY(!m_view->importError());
}

// Folders chosen together in the dialog: each project is imported as its own, and the one alert
// names each folder that is not a project.
void TestMainContentView::severalChosenFoldersAreImportedEachOnItsOwn()
{
    const QUrl alpha = m_folders->project(QStringLiteral("alpha"));
    const QUrl plain = m_folders->plain(QStringLiteral("plain"));
    const QUrl beta = m_folders->project(QStringLiteral("beta"));
    const QUrl other = m_folders->plain(QStringLiteral("other"));
    m_picker->answer = {alpha, plain, beta, other};
    m_view->toolBar()->importButton()->click();
    QTRY_COMPARE(m_view->store().projectRoots(), (QList<QUrl>{alpha, beta}));
    QTRY_VERIFY(m_view->isShowingImportError());
    QCOMPARE(m_view->importError(),
             plain.toLocalFile() + QStringLiteral(": import.failed.no_kestrune_folder\n") +
                 other.toLocalFile() + QStringLiteral(": import.failed.no_kestrune_folder"));
}

void TestMainContentView::importSelectsTheProjectAndShowsLoadingThenDashboard()
{
    const QUrl root = m_folders->project(QStringLiteral("app"));
    m_projects->hold(root);
    import(root);
    QCOMPARE(m_view->selectedProjectRoot(), root);
    QVERIFY(m_view->tabsBar()->isVisible());
    QVERIFY(m_view->tabsBar()->tab(root) && m_view->tabsBar()->tab(root)->isSelected());
    QVERIFY(m_view->toolBar()->refreshButton()->isEnabled());
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::loading);

    m_projects->release(root);
    waitForProject(root);
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);
    auto *dashboard = qobject_cast<DashboardView *>(m_view->detailArea()->currentView());
    QVERIFY(dashboard);
    QCOMPARE(dashboard->input().projectName, QStringLiteral("app"));
    QCOMPARE(dashboard->input().projectRoot, root);
    QVERIFY(!m_view->sidebar()->treeView()->isShowingEmptyState());
}

void TestMainContentView::importingTheSameFolderAgainKeepsOneTabAndSelectsIt()
{
    const QUrl alpha = m_folders->project(QStringLiteral("alpha"));
    const QUrl beta = m_folders->project(QStringLiteral("beta"));
    import(alpha);
    import(beta);
    QCOMPARE(m_view->selectedProjectRoot(), beta);
    import(alpha);
    QCOMPARE(m_view->tabsBar()->tabs().size(), 2);
    QCOMPARE(m_view->selectedProjectRoot(), alpha);
    QTRY_COMPARE(m_projects->loadCount(), 2); // the loads run on the background pool
}

void TestMainContentView::oneAlertNamesEveryPathThatFails()
{
    const QUrl project = m_folders->project(QStringLiteral("app"));
    const QString missing = m_folders->url(QStringLiteral("gone")).toLocalFile();
    const QString file = m_folders->file(QStringLiteral("notes.txt")).toLocalFile();
    const QString plain = m_folders->plain(QStringLiteral("plain")).toLocalFile();
    m_view->openPaths({missing, project.toLocalFile(), file, plain});
    QCOMPARE(m_view->store().projectRoots(), QList<QUrl>{project});
    QCOMPARE(m_view->selectedProjectRoot(), project);
    QVERIFY(m_view->isShowingImportError());
    const QStringList lines = {missing + QStringLiteral(": import.failed.does_not_exist"),
                               file + QStringLiteral(": import.failed.not_a_folder"),
                               plain + QStringLiteral(": import.failed.no_kestrune_folder")};
    auto *box = m_view->findChild<QMessageBox *>(QStringLiteral("importFailedAlert"));
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->informativeText(), lines.join(QLatin1Char('\n')));

    // A folder chosen in the dialog while the alert is up joins its list, once.
    const QString other = m_folders->plain(QStringLiteral("other")).toLocalFile();
    import(QUrl::fromLocalFile(other));
    import(QUrl::fromLocalFile(other));
    QCOMPARE(box->informativeText(),
             (lines + QStringList{other + QStringLiteral(": import.failed.no_kestrune_folder")}).join(u'\n'));
    QCOMPARE(m_view->findChildren<QMessageBox *>().size(), 1);

    // Once dismissed, the next failure starts a new list.
    box->buttons().constFirst()->click();
    QTRY_VERIFY(!m_view->isShowingImportError());
    m_view->openPaths({missing});
    QCOMPARE(box->informativeText(), lines.constFirst());
}

void TestMainContentView::openingAPathInsideAProject_data()
{
    QTest::addColumn<QString>("path");     // below the folder of the project "app"
    QTest::addColumn<QString>("selected"); // the file selected in the end; empty: none
    QTest::addColumn<QString>("revealed"); // the folder opened in the outline; empty: none
    QTest::addRow("a Markdown file is opened") << "kestrune/changes/add-login/proposal.md"
                                               << "proposal.md"
                                               << "";
    QTest::addRow("a nested delta specification is opened") << "kestrune/changes/add-login/specs/spec.md"
                                                            << "spec.md"
                                                            << "";
    QTest::addRow("a change folder is revealed") << "kestrune/changes/add-login"
                                                 << ""
                                                 << "add-login";
    QTest::addRow("the kestrune folder shows the dashboard") << "kestrune"
                                                             << ""
                                                             << "";
    QTest::addRow("a file the outline does not list shows the dashboard") << "kestrune/other.md"
                                                                          << ""
                                                                          << "";
}

void TestMainContentView::openingAPathInsideAProject()
{
    QFETCH(QString, path);
    QFETCH(QString, selected);
    QFETCH(QString, revealed);
    const QUrl root = m_folders->project(QStringLiteral("app"));
    const QString target = QStringLiteral("app/") + path;
    if (path.endsWith(QLatin1String(".md")))
        m_folders->file(target);
    else
        m_folders->plain(target);
    m_projects->hold(root);
    QSignalSpy opened(m_view.get(), &MainContentView::projectOpened);
    m_view->openPaths({m_folders->url(target).toLocalFile()});
    QCOMPARE(m_view->selectedProjectRoot(), root);
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(0).toUrl(), root);
    QVERIFY(!m_view->selectedNode()); // until the outline is there

    m_projects->release(root);
    waitForProject(root);
    QCOMPARE(m_view->selectedNode() ? m_view->selectedNode()->name : QString(), selected);
    QCOMPARE(m_view->detailArea()->content(),
             selected.isEmpty() ? DetailArea::Content::dashboard : DetailArea::Content::preview);
    QTreeView *list = m_view->sidebar()->treeView()->listView();
    if (!selected.isEmpty()) {
        const QModelIndex row = findRow(list->model(), selected);
        QVERIFY(list->selectionModel()->isRowSelected(row.row(), row.parent()));
        QVERIFY(list->isExpanded(row.parent()));
    }
    QStringList expanded;
    for (const QString &folder :
         {QStringLiteral("changes"), QStringLiteral("add-login"), QStringLiteral("specs")})
        if (list->isExpanded(findRow(list->model(), folder)))
            expanded.append(folder);
    if (!revealed.isEmpty())
        QCOMPARE(expanded, (QStringList{QStringLiteral("changes"), QStringLiteral("add-login")}));
    else if (selected.isEmpty())
        QVERIFY(expanded.isEmpty());

    // A rescan does not reveal it again.
    m_view->setSelectedNode(std::nullopt);
    const std::shared_ptr<const TreeNode> before = m_view->outlineTree();
    m_view->refresh();
    QTRY_VERIFY(m_view->outlineTree() != before);
    QVERIFY(!m_view->selectedNode());
}

void TestMainContentView::openingAFileOfAnOpenProjectSelectsItAtOnce()
{
    const QUrl alpha = m_folders->project(QStringLiteral("alpha"));
    const QUrl beta = m_folders->project(QStringLiteral("beta"));
    const QUrl file = m_folders->file(QStringLiteral("alpha/kestrune/project.md"));
    import(alpha);
    import(beta);
    waitForProject(alpha);
    waitForProject(beta);
    QCOMPARE(m_view->selectedProjectRoot(), beta);
    m_view->openPaths({file.toLocalFile()});
    QCOMPARE(m_view->selectedProjectRoot(), alpha);
    QVERIFY(m_view->selectedNode());
    QCOMPARE(m_view->selectedNode()->url, file);
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::preview);
    QTRY_COMPARE(m_projects->loadCount(), 2); // the loads run on the background pool
}

void TestMainContentView::removingAProjectThroughItsTab_data()
{
    QTest::addColumn<QStringList>("projects");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("expected"); // empty: nothing selected
    QTest::addRow("removing the selected project selects the first") << QStringList{"a", "b", "c"} << "b"
                                                                     << "b"
                                                                     << "a";
    QTest::addRow("removing another project keeps the selection") << QStringList{"a", "b", "c"} << "b"
                                                                  << "c"
                                                                  << "b";
    QTest::addRow("removing the first while it is selected selects the next first")
        << QStringList{"a", "b"} << "a"
        << "a"
        << "b";
    QTest::addRow("removing the last project empties the window") << QStringList{"a"} << "a"
                                                                  << "a"
                                                                  << "";
}

void TestMainContentView::removingAProjectThroughItsTab()
{
    QFETCH(QStringList, projects);
    QFETCH(QString, selected);
    QFETCH(QString, removed);
    QFETCH(QString, expected);
    for (const QString &name : std::as_const(projects))
        import(m_folders->project(name));
    ProjectTabButton *tab = m_view->tabsBar()->tab(m_folders->url(selected));
    QVERIFY(tab);
    QTest::mouseClick(tab, Qt::LeftButton);
    QCOMPARE(m_view->selectedProjectRoot(), m_folders->url(selected));

    ProjectTabButton *removedTab = m_view->tabsBar()->tab(m_folders->url(removed));
    Q_EMIT removedTab->customContextMenuRequested(QPoint(5, 5));
    auto *menu = m_view->tabsBar()->findChild<QMenu *>();
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("common.remove_from_list"));
    menu->actions().constFirst()->trigger();
    menu->close();

    QVERIFY(!m_view->store().projectRoots().contains(m_folders->url(removed)));
    if (expected.isEmpty()) {
        QVERIFY(!m_view->selectedProjectRoot());
        QVERIFY(!m_view->tabsBar()->isVisible());
        QVERIFY(!m_view->toolBar()->refreshButton()->isEnabled());
        QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::placeholder);
    } else {
        QCOMPARE(m_view->selectedProjectRoot(), m_folders->url(expected));
        QVERIFY(m_view->tabsBar()->tab(m_folders->url(expected))->isSelected());
    }
}

void TestMainContentView::outlineSelectionSwitchesTheDetailArea()
{
    const QUrl root = m_folders->project(QStringLiteral("app"));
    import(root);
    waitForProject(root);
    QTreeView *list = m_view->sidebar()->treeView()->listView();
    const QModelIndex file = findRow(list->model(), QStringLiteral("project.md"));
    QVERIFY(file.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(file).center());
    QCOMPARE(m_view->selectedNode()->name, QStringLiteral("project.md"));
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::preview);
    auto *preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QVERIFY(preview);
    QCOMPARE(preview->fileURL(), m_view->selectedNode()->url);
    // Pictures come from the project's folder, from the web as the window's choice says.
    QCOMPARE(preview->projectFolder(), root.toLocalFile());
    QVERIFY(preview->loadsRemoteImages());
    m_view->setLoadsRemoteImages(false);
    QVERIFY(!preview->loadsRemoteImages());
    QVERIFY(!m_view->sidebar()->dashboardButton()->isActive());

    // Clicking a folder keeps the file and its preview.
    const QModelIndex folder = findRow(list->model(), QStringLiteral("changes"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(folder).center());
    QCOMPARE(m_view->selectedNode()->name, QStringLiteral("project.md"));
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::preview);

    QTest::mouseClick(m_view->sidebar()->dashboardButton(), Qt::LeftButton);
    QVERIFY(!m_view->selectedNode());
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);
    QVERIFY(m_view->sidebar()->dashboardButton()->isActive());
    QVERIFY(list->selectionModel()->selectedRows().isEmpty());
}

void TestMainContentView::selectedFolderKeepsTheDashboard()
{
    const QUrl root = m_folders->project(QStringLiteral("app"));
    import(root);
    waitForProject(root);
    const TreeNode folder = m_view->store().treeForProject(root)->children->front();
    QCOMPARE(folder.kind, TreeNodeKind::directory);
    m_view->setSelectedNode(folder);
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);
    QVERIFY(m_view->sidebar()->dashboardButton()->isActive());
}

void TestMainContentView::switchingTabsClearsTheFileSelection()
{
    const QUrl alpha = m_folders->project(QStringLiteral("alpha"));
    const QUrl beta = m_folders->project(QStringLiteral("beta"));
    import(alpha);
    import(beta);
    waitForProject(alpha);
    waitForProject(beta);
    QTest::mouseClick(m_view->tabsBar()->tab(alpha), Qt::LeftButton);
    m_view->setSelectedNode(m_view->store().treeForProject(alpha)->children->back());
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::preview);

    QTest::mouseClick(m_view->tabsBar()->tab(beta), Qt::LeftButton);
    QVERIFY(!m_view->selectedNode());
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);
    auto *dashboard = qobject_cast<DashboardView *>(m_view->detailArea()->currentView());
    QVERIFY(dashboard);
    QCOMPARE(dashboard->input().projectRoot, beta);
    QCOMPARE(m_view->outlineTree(), m_view->store().treeForProject(beta));
}

void TestMainContentView::sidebarGetsTheChangeStatuses()
{
    const QUrl root = m_folders->project(QStringLiteral("app"));
    import(root);
    waitForProject(root);
    const QHash<QUuid, ChangeStatus> statuses = m_view->changeStatusByNodeId();
    const TreeNode &change = m_view->store().treeForProject(root)->children->front().children->front();
    QCOMPARE(statuses.size(), 1);
    QCOMPARE(statuses.value(change.id), ChangeStatus::active);
    QTreeView *list = m_view->sidebar()->treeView()->listView();
    list->expandAll();
    const QModelIndex row = findRow(list->model(), QStringLiteral("add-login"));
    QCOMPARE(row.data(ProjectTreeModel::ChangeStatusRole).toInt(), int(ChangeStatus::active));
}

void TestMainContentView::refreshReloadsTheCurrentProjectOnly()
{
    const QUrl alpha = m_folders->project(QStringLiteral("alpha"));
    const QUrl beta = m_folders->project(QStringLiteral("beta"));
    import(alpha);
    import(beta);
    // Once the imports' loads are done: a refresh asked for during a load waits for it.
    QTRY_VERIFY(!m_view->store().isLoading(alpha) && !m_view->store().isLoading(beta));
    QSignalSpy loads(&m_view->store(), &ProjectStore::loadStarted);
    m_view->toolBar()->refreshButton()->click();
    QCOMPARE(loads.count(), 1);
    QCOMPARE(loads.at(0).at(0).toUrl(), beta);
}

void TestMainContentView::themeMenuMarksTheCurrentMode()
{
    MainToolBar *toolBar = m_view->toolBar();
    const auto markedModes = [toolBar] {
        toolBar->updateThemeMenu();
        QStringList marked;
        const auto actions = toolBar->themeMenu()->actions();
        for (QAction *action : actions) {
            if (!action->icon().isNull())
                marked.append(action->data().toString());
        }
        return marked;
    };
    const auto actions = toolBar->themeMenu()->actions();
    QCOMPARE(actions.size(), 3);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("theme.system"));
    QCOMPARE(actions.at(1)->text(), QStringLiteral("theme.light"));
    QCOMPARE(actions.at(2)->text(), QStringLiteral("theme.dark"));
    QCOMPARE(markedModes(), QStringList{QStringLiteral("system")});

    toolBar->themeMenu()->actions().at(2)->trigger();
    QCOMPARE(m_theme->mode(), ThemeMode::dark);
    QCOMPARE(markedModes(), QStringList{QStringLiteral("dark")});
    toolBar->themeMenu()->actions().at(2)->trigger();
    QCOMPARE(markedModes(), QStringList{QStringLiteral("dark")});
    QCOMPARE(currentAppearance(), Appearance::dark);
}

QTEST_MAIN(TestMainContentView)
#include "tst_maincontentview.moc"
