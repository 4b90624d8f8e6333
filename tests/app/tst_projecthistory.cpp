#include "changestory.h"
#include "text/backgroundpool.h"

#include "app/detailarea.h"
#include "app/maincontentview.h"
#include "app/mainwindow.h"
#include "app/mainwindowactions.h"
#include "app/projecthistory.h"
#include "app/recentprojects.h"
#include "app/sidebarpane.h"
#include "dashboard/changesectionview.h"
#include "dashboard/dashboardview.h"
#include "historyview/changetimelinemodel.h"
#include "historyview/changetimelineview.h"
#include "modelrows.h"
#include "project/projectstore.h"
#include "sidebar/projecttreeview.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QDirIterator>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTreeView>

#include <git2.h>

using namespace kestrune;

namespace {

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

QUrl urlOf(const QString &path)
{
    return QUrl::fromLocalFile(canonical(path));
}

} // namespace

class TestProjectHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void answersOnceAndFollowsHeadAsItMoves();
    void linkedWorkTreeIsFollowedInTheCommonFolder();
    void projectOutsideGitHasNoHistoryCommands();
    void timelineOfAChangeFollowsNewCommits();
    void timelineFollowsTheChangeIntoTheArchive();
    void historyKeyActsOnTheSelectedChange();

private:
    QMenu *outlineMenuOf(const QString &name) const;
    void openProject(const QUrl &root);

    std::unique_ptr<QTemporaryDir> m_state;
    std::unique_ptr<ThemeController> m_theme;
    std::unique_ptr<MainContentView> m_view;
};

void TestProjectHistory::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    Localization::install(qApp, QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestProjectHistory::init()
{
    m_state = std::make_unique<QTemporaryDir>();
    m_theme = std::make_unique<ThemeController>(
        std::make_unique<QSettings>(m_state->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
}

void TestProjectHistory::cleanup()
{
    m_view.reset();
    BackgroundPool::instance()->waitForDone();
    BackgroundPool::yielding()->waitForDone();
    m_theme.reset();
    m_state.reset();
}

QMenu *TestProjectHistory::outlineMenuOf(const QString &name) const
{
    QTreeView *list = m_view->sidebar()->treeView()->listView();
    list->expandAll();
    const QModelIndex row = findRow(list->model(), name);
    if (!row.isValid())
        return nullptr;
    Q_EMIT list->customContextMenuRequested(list->visualRect(row).center());
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

void TestProjectHistory::openProject(const QUrl &root)
{
    MainContentView::Dependencies dependencies;
    dependencies.readingStateRoot = m_state->filePath(QStringLiteral("reading"));
    m_view = std::make_unique<MainContentView>(*m_theme, std::move(dependencies));
    m_view->resize(1000, 600);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    m_view->openPaths({root.toLocalFile()});
    QTRY_VERIFY(m_view->store().summaryForProject(root).has_value());
    QTRY_VERIFY(m_view->projectHistory().isKnown(root));
}

void TestProjectHistory::answersOnceAndFollowsHeadAsItMoves()
{
    TestRepository repository;
    ChangeStory::write(repository);
    QTemporaryDir plain;
    QVERIFY(QDir(plain.path()).mkpath(QStringLiteral("kestrune/changes/lonely")));
    ProjectStore store;
    ProjectHistory history(store);
    QSignalSpy availability(&history, &ProjectHistory::availabilityChanged);
    QSignalSpy moves(&history, &ProjectHistory::historyChanged);
    const QUrl root = urlOf(repository.path());
    const QUrl outside = urlOf(plain.path());
    store.importProject(root);
    store.importProject(outside);
    QTRY_COMPARE(availability.count(), 2);
    QVERIFY(history.hasHistory(root));
    QVERIFY(history.unavailableMessage(root).isEmpty());
    QVERIFY(!history.hasHistory(outside));
    QVERIFY(history.isKnown(outside));
    QVERIFY(!history.unavailableMessage(outside).isEmpty());
    QCOMPARE(history.watchedPaths(outside), QStringList());
    const QString git = canonical(repository.gitFolder());
    const QStringList watched = history.watchedPaths(root);
    for (const QString &path : {git, git + QStringLiteral("/HEAD"), git + QStringLiteral("/refs/heads")})
        QVERIFY2(watched.contains(path), qPrintable(watched.join(u'\n')));

    // A commit moves HEAD's branch: news once the writes settle, and only then.
    repository.write("kestrune/changes/other-change/tasks.md", "- [x] other\n- [x] more\n");
    repository.commit("Tick more of the other change");
    QVERIFY(moves.wait());
    QCOMPARE(moves.constFirst().constFirst().toUrl(), root);
    QCOMPARE(availability.count(), 2);

    // Not following, nothing is watched; following again, HEAD is looked at anew and the commit
    // made meanwhile is news.
    history.setFollowing(false);
    QCOMPARE(history.watchedPaths(root), QStringList());
    repository.write("kestrune/changes/other-change/design.md", "# Design, again\n");
    repository.commit("Design the other change again");
    history.setFollowing(true);
    QVERIFY(moves.wait());
    QCOMPARE(moves.count(), 2);
    QVERIFY(history.watchedPaths(root).contains(git + QStringLiteral("/HEAD")));

    // A closed project is no longer followed.
    store.removeProject(root);
    QTRY_VERIFY(!history.hasHistory(root));
    QCOMPARE(history.watchedPaths(root), QStringList());
}

void TestProjectHistory::linkedWorkTreeIsFollowedInTheCommonFolder()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    QTemporaryDir linkedParent;
    const QString linkedPath = linkedParent.filePath(QStringLiteral("linked"));
    git_worktree *worktree = nullptr;
    QCOMPARE(git_worktree_add(&worktree, repository.repository(), "linked",
                              QFile::encodeName(linkedPath).constData(), nullptr),
             0);
    git_worktree_free(worktree);
    QVERIFY(QFileInfo(linkedPath + QStringLiteral("/.git")).isFile());

    ProjectStore store;
    ProjectHistory history(store);
    QSignalSpy availability(&history, &ProjectHistory::availabilityChanged);
    QSignalSpy moves(&history, &ProjectHistory::historyChanged);
    const QUrl root = urlOf(linkedPath);
    store.importProject(root);
    QVERIFY(availability.wait());
    QVERIFY(history.hasHistory(root));
    const QString common = canonical(repository.gitFolder());
    const QStringList watched = history.watchedPaths(root);
    QVERIFY2(watched.contains(common + QStringLiteral("/worktrees/linked/HEAD")),
             qPrintable(watched.join(u'\n')));
    QVERIFY2(watched.contains(common + QStringLiteral("/refs/heads")), qPrintable(watched.join(u'\n')));

    // Its branch, kept in the common folder, is set back to the proposal.
    git_oid proposed;
    QCOMPARE(git_oid_fromstr(&proposed, story.proposed.toLatin1().constData()), 0);
    git_reference *branch = nullptr;
    QCOMPARE(
        git_reference_create(&branch, repository.repository(), "refs/heads/linked", &proposed, 1, "reset"),
        0);
    git_reference_free(branch);
    QVERIFY(moves.wait());
}

void TestProjectHistory::projectOutsideGitHasNoHistoryCommands()
{
    QTemporaryDir project;
    QVERIFY(QDir(project.path()).mkpath(QStringLiteral("kestrune/changes/lonely")));
    QFile proposal(project.filePath(QStringLiteral("kestrune/changes/lonely/proposal.md")));
    QVERIFY(proposal.open(QIODevice::WriteOnly));
    proposal.write("# Lonely\n");
    proposal.close();
    const QUrl root = urlOf(project.path());
    openProject(root);
    QVERIFY(!m_view->projectHistory().hasHistory(root));

    QVERIFY(!m_view->sidebar()->treeView()->showsHistory());
    QMenu *menu = outlineMenuOf(QStringLiteral("lonely"));
    QVERIFY(menu);
    QVERIFY(!menu->findChild<QAction *>(QStringLiteral("historyAction")));
    menu->close();
    auto *dashboard = qobject_cast<DashboardView *>(m_view->detailArea()->currentView());
    QVERIFY(dashboard);
    QVERIFY(!dashboard->showsHistory());
    m_view->revealInProject(root, QUrl::fromLocalFile(proposal.fileName()));
    QTRY_VERIFY(m_view->selectedNode().has_value());
    QVERIFY(!m_view->selectedChange());
}

void TestProjectHistory::timelineOfAChangeFollowsNewCommits()
{
    TestRepository repository;
    ChangeStory::write(repository);
    const QStringList gitBefore = snapshotOf(repository.gitFolder());
    const QUrl root = urlOf(repository.path());
    openProject(root);
    QVERIFY(m_view->projectHistory().hasHistory(root));
    QVERIFY(m_view->sidebar()->treeView()->showsHistory());
    auto *dashboard = qobject_cast<DashboardView *>(m_view->detailArea()->currentView());
    QVERIFY(dashboard && dashboard->showsHistory());

    // The outline's menu of a change folder leads to its history.
    QMenu *menu = outlineMenuOf(QStringLiteral("other-change"));
    QVERIFY(menu);
    QAction *action = menu->findChild<QAction *>(QStringLiteral("historyAction"));
    QVERIFY(action);
    action->trigger();
    menu->close();
    const QUrl change =
        QUrl::fromLocalFile(canonical(repository.pathOf(QStringLiteral("kestrune/changes/other-change"))));
    QCOMPARE(m_view->historyChange(), change);
    QCOMPARE(m_view->selectedChange(), change);
    auto *timeline = qobject_cast<ChangeTimelineView *>(m_view->detailArea()->currentView());
    QVERIFY(timeline);
    QTRY_VERIFY(timeline->outcome().has_value());
    QCOMPARE(timeline->model()->rowCount(), 3);
    QCOMPARE(snapshotOf(repository.gitFolder()), gitBefore);

    // A commit on top: the timeline on show reads again and shows it first.
    repository.write("kestrune/changes/other-change/tasks.md", "- [x] other\n- [ ] more\n");
    const QString added = repository.commit("Add a task to the other change");
    QSignalSpy finished(timeline, &ChangeTimelineView::finished);
    QVERIFY(finished.wait());
    QCOMPARE(m_view->detailArea()->currentView(), timeline);
    QCOMPARE(timeline->model()->rowCount(), 4);
    QCOMPARE(timeline->model()->index(0).data(ChangeTimelineModel::shaRole).toString(), added);

    // The timeline is a place of the window's history.
    m_view->showDashboard();
    QVERIFY(!m_view->historyChange());
    QVERIFY(m_view->canGoBack());
    m_view->goBack();
    QCOMPARE(m_view->historyChange(), change);
    QVERIFY(qobject_cast<ChangeTimelineView *>(m_view->detailArea()->currentView()));
}

void TestProjectHistory::timelineFollowsTheChangeIntoTheArchive()
{
    TestRepository repository;
    repository.write("kestrune/specs/notes/spec.md", "# Notes\n");
    repository.write("kestrune/changes/add-tags/proposal.md", "# Add tags\n");
    repository.commit("Propose tags");
    const QUrl root = urlOf(repository.path());
    openProject(root);
    m_view->showHistory(
        QUrl::fromLocalFile(canonical(repository.pathOf(QStringLiteral("kestrune/changes/add-tags")))));
    auto *timeline = qobject_cast<ChangeTimelineView *>(m_view->detailArea()->currentView());
    QVERIFY(timeline);
    QTRY_VERIFY(timeline->outcome().has_value());
    QCOMPARE(timeline->model()->rowCount(), 1);

    repository.moveFolder("kestrune/changes/add-tags", "kestrune/changes/archive/2026-03-02-add-tags");
    repository.commit("Archive tags");
    const QUrl archived = QUrl::fromLocalFile(
        canonical(repository.pathOf(QStringLiteral("kestrune/changes/archive/2026-03-02-add-tags"))));
    QTRY_COMPARE_WITH_TIMEOUT(m_view->historyChange(), std::optional<QUrl>(archived), 10000);
    QTRY_COMPARE(timeline->model()->rowCount(), 2);
    QTRY_COMPARE(timeline->model()->index(0).data(ChangeTimelineModel::whatRole).toString(),
                 QStringLiteral("Archived → 2026-03-02-add-tags"));
    QCOMPARE(timeline->input().changeName, QStringLiteral("2026-03-02-add-tags"));
}

void TestProjectHistory::historyKeyActsOnTheSelectedChange()
{
    TestRepository repository;
    ChangeStory::write(repository);
    QTemporaryDir plain;
    QVERIFY(QDir(plain.path()).mkpath(QStringLiteral("kestrune/changes/lonely")));
    RecentProjects recent(
        std::make_unique<QSettings>(m_state->filePath(QStringLiteral("recent.ini")), QSettings::IniFormat));
    MainContentView::Dependencies dependencies;
    dependencies.readingStateRoot = m_state->filePath(QStringLiteral("reading"));
    MainWindow window(*m_theme, recent, std::move(dependencies));
    window.resize(1100, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    MainContentView *view = window.contentView();
    const QUrl root = urlOf(repository.path());
    const QUrl outside = urlOf(plain.path());
    view->openPaths({outside.toLocalFile(), root.toLocalFile()});
    QTRY_VERIFY(view->projectHistory().isKnown(root) && view->projectHistory().isKnown(outside));

    QAction *history = window.commands().showHistory();
    const QKeySequence key(Qt::CTRL | Qt::SHIFT | Qt::Key_H);
    QCOMPARE(history->shortcut(), key);
    for (const MainWindowActions::Entry &entry : window.commands().entries()) {
        if (entry.action != history)
            QVERIFY2(!entry.action->shortcuts().contains(key), qPrintable(entry.action->text()));
    }
    QVERIFY(window.commands()
                .actions(MainWindowActions::Group::navigation, MainWindowActions::Listing::menuAndShortcuts)
                .contains(history));

    // Absent in the project outside git, there in the other one once a change is chosen.
    view->setSelectedProjectRoot(outside);
    QVERIFY(!history->isVisible());
    view->setSelectedProjectRoot(root);
    QTRY_VERIFY(view->store().treeForProject(root));
    QVERIFY(history->isVisible());
    QVERIFY(!history->isEnabled()); // the dashboard: no change chosen
    const QString proposal =
        canonical(repository.pathOf(QStringLiteral("kestrune/changes/other-change/proposal.md")));
    view->revealInProject(root, QUrl::fromLocalFile(proposal));
    QTRY_VERIFY(view->selectedNode().has_value());
    QVERIFY(history->isEnabled());
    history->trigger();
    QCOMPARE(view->historyChange(), QUrl::fromLocalFile(canonical(
                                        repository.pathOf(QStringLiteral("kestrune/changes/other-change")))));
    QVERIFY(qobject_cast<ChangeTimelineView *>(view->detailArea()->currentView()));
}

QTEST_MAIN(TestProjectHistory)
#include "tst_projecthistory.moc"
