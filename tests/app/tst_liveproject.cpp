#include "app/detailarea.h"
#include "app/maincontentview.h"
#include "app/maintoolbar.h"
#include "app/projecttabbutton.h"
#include "app/projecttabsbar.h"
#include "app/sidebarpane.h"
#include "dashboard/activechangecard.h"
#include "dashboard/changesectionview.h"
#include "dashboard/completedchangerow.h"
#include "dashboard/dashboardview.h"
#include "markdown/layout/view/markdownview.h"
#include "modelrows.h"
#include "preview/capabilitysection.h"
#include "preview/changereviewview.h"
#include "preview/markdownpreviewheader.h"
#include "preview/markdownpreviewview.h"
#include "preview/requirementcard.h"
#include "preview/specificationresultview.h"
#include "project/liveprojectupdates.h"
#include "project/projectwatcher.h"
#include "sidebar/projecttreemodel.h"
#include "sidebar/projecttreeview.h"
#include "text/backgroundpool.h"
#include "ui/noticebar.h"
#include "ui/themecontroller.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollArea>
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

using Section = DashboardView::Section;

// A project on disk with two active changes and a specification.
class ProjectOnDisk
{
public:
    ProjectOnDisk()
    {
        for (const char *change : {"add-login", "add-export"})
            writeChange(QLatin1String(change), "- [x] one\n- [ ] two\n");
        write(QStringLiteral("kestrune/specs/auth/spec.md"), "# Auth\n\n### Requirement: Sign in\n");
    }

    QUrl url() const { return QUrl::fromLocalFile(m_dir.path()); }
    QString pathOf(const QString &relative) const { return m_dir.filePath(relative); }

    void write(const QString &relative, const QByteArray &bytes)
    {
        const QString path = pathOf(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }

    void writeChange(const QString &change, const QByteArray &tasks)
    {
        const QString folder = QStringLiteral("kestrune/changes/") + change + QLatin1Char('/');
        write(folder + QStringLiteral("proposal.md"), "# Proposal\n");
        write(folder + QStringLiteral("design.md"), "# Design\n");
        write(folder + QStringLiteral("specs/auth/spec.md"), "## ADDED Requirements\n");
        write(folder + QStringLiteral("tasks.md"), tasks);
    }

private:
    QTemporaryDir m_dir;
};

QStringList changesIn(DashboardView *dashboard, Section section)
{
    QStringList names;
    QWidget *content = dashboard->section(section)->content();
    if (!content)
        return names;
    for (const auto *card : content->findChildren<ActiveChangeCard *>())
        names.append(card->change().changeName);
    for (const auto *row : content->findChildren<CompletedChangeRow *>())
        names.append(row->change().changeName);
    names.sort();
    return names;
}

} // namespace

class TestLiveProject : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void tickingATaskMovesTheChangeWithoutARefresh();
    void newChangeFolderKeepsTheOutlineAsItWas();
    void openFileFollowsWritesMovesAndRemoval();
    void choosingTheOpenFileAgainReadsItAgain();
    void rescanMarksTheTabAndAGoneFolderStrikesItOut();
    void turningWatchingOffStopsUpdates();
    void watchLimitIsSaidOnceInTheWindow();
    void reviewOfAChangeFollowsItsFiles();
    void deltaSpecificationsLeadToTheirReviewAndResult();

private:
    MarkdownPreviewView *preview() const
    {
        return qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    }
    DashboardView *dashboard() const
    {
        return qobject_cast<DashboardView *>(m_view->detailArea()->currentView());
    }
    void openProject();
    void select(const QString &relative);
    bool waitForPreviewText(const QByteArray &text);

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<ThemeController> m_theme;
    std::unique_ptr<ProjectOnDisk> m_project;
    std::unique_ptr<MainContentView> m_view;
};

void TestLiveProject::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestLiveProject::init()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    m_theme = std::make_unique<ThemeController>(std::make_unique<QSettings>(
        m_settingsDir->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    m_project = std::make_unique<ProjectOnDisk>();
    m_view = std::make_unique<MainContentView>(*m_theme);
    m_view->resize(1000, 400);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestLiveProject::cleanup()
{
    m_view.reset();
    BackgroundPool::instance()->waitForDone();
    BackgroundPool::yielding()->waitForDone();
    MarkdownPreviewView::readPool()->waitForDone();
    m_project.reset();
    m_theme.reset();
}

void TestLiveProject::openProject()
{
    m_view->openPaths({m_project->url().toLocalFile()});
    QTRY_VERIFY(m_view->store().summaryForProject(m_project->url()).has_value());
    QTRY_VERIFY(!m_view->store().isLoading(m_project->url()));
    QTRY_VERIFY(m_view->liveUpdates().isWatchedInFull(m_project->url()));
}

void TestLiveProject::select(const QString &relative)
{
    m_view->revealInProject(m_project->url(), QUrl::fromLocalFile(m_project->pathOf(relative)));
    QTRY_VERIFY(preview() && preview()->state().isContent());
}

bool TestLiveProject::waitForPreviewText(const QByteArray &text)
{
    return QTest::qWaitFor([&] { return preview() && preview()->state().text() == QString::fromUtf8(text); },
                           10000);
}

void TestLiveProject::tickingATaskMovesTheChangeWithoutARefresh()
{
    openProject();
    QVERIFY(dashboard());
    dashboard()->setExpanded(Section::completed, false);
    QCOMPARE(changesIn(dashboard(), Section::active), (QStringList{"add-export", "add-login"}));
    DashboardView *shown = dashboard();
    // A short window, scrolled down: the dashboard must stay where the reader is.
    QScrollBar *scroll = shown->scrollArea()->verticalScrollBar();
    QTRY_VERIFY(scroll->maximum() > 40);
    scroll->setValue(40);

    m_project->write(QStringLiteral("kestrune/changes/add-login/tasks.md"), "- [x] one\n- [x] two\n");
    QTRY_COMPARE(changesIn(dashboard(), Section::active), QStringList{"add-export"});
    QCOMPARE(dashboard(), shown);
    QVERIFY(!dashboard()->isExpanded(Section::completed));
    dashboard()->setExpanded(Section::completed, true);
    QCOMPARE(changesIn(dashboard(), Section::completed), QStringList{"add-login"});
    QCoreApplication::processEvents();
    QCOMPARE(scroll->value(), 40);

    // The outline's badge follows.
    QTreeView *list = m_view->sidebar()->treeView()->listView();
    list->expandAll();
    QTRY_COMPARE(
        findRow(list->model(), QStringLiteral("add-login")).data(ProjectTreeModel::ChangeStatusRole).toInt(),
        int(ChangeStatus::completed));
}

void TestLiveProject::newChangeFolderKeepsTheOutlineAsItWas()
{
    openProject();
    QTreeView *list = m_view->sidebar()->treeView()->listView();
    list->expand(findRow(list->model(), QStringLiteral("changes")));
    list->expand(findRow(list->model(), QStringLiteral("add-login")));
    select(QStringLiteral("kestrune/changes/add-login/design.md"));

    m_project->writeChange(QStringLiteral("add-search"), "- [ ] one\n");
    QTRY_VERIFY(findRow(list->model(), QStringLiteral("add-search")).isValid());
    QVERIFY(list->isExpanded(findRow(list->model(), QStringLiteral("changes"))));
    QVERIFY(list->isExpanded(findRow(list->model(), QStringLiteral("add-login"))));
    QVERIFY(!list->isExpanded(findRow(list->model(), QStringLiteral("add-export"))));
    // The open file stays selected, highlighted in the new rows.
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.constFirst().data().toString(), QStringLiteral("design.md"));
    QCOMPARE(selected.constFirst().parent().data().toString(), QStringLiteral("add-login"));
}

void TestLiveProject::openFileFollowsWritesMovesAndRemoval()
{
    QByteArray text;
    for (int paragraph = 0; paragraph < 60; ++paragraph)
        text += "Paragraph " + QByteArray::number(paragraph) +
                " of the design, long enough to wrap once or twice "
                "in a pane of this width, so that the page scrolls.\n\n";
    m_project->write(QStringLiteral("kestrune/changes/add-login/design.md"), text);
    openProject();
    select(QStringLiteral("kestrune/changes/add-login/design.md"));
    auto *document = qobject_cast<MarkdownView *>(preview()->contentView());
    QTRY_VERIFY(document && document->verticalScrollBar()->maximum() > 600);
    document->verticalScrollBar()->setValue(600);
    const MarkdownView::ReadingPosition before = document->readingPosition();

    // Written: read again in place, at the same block.
    m_project->write(QStringLiteral("kestrune/changes/add-login/design.md"), "# Design\n\n" + text);
    QVERIFY(waitForPreviewText("# Design\n\n" + text));
    document = qobject_cast<MarkdownView *>(preview()->contentView());
    QVERIFY(document);
    QCOMPARE(document->readingPosition().block, before.block);
    QCOMPARE(document->readingPosition().blockIndex, before.blockIndex + 1);

    // Archived with its change: followed to its new place.
    QVERIFY(QDir().mkpath(m_project->pathOf(QStringLiteral("kestrune/changes/archive"))));
    QVERIFY(
        QDir().rename(m_project->pathOf(QStringLiteral("kestrune/changes/add-login")),
                      m_project->pathOf(QStringLiteral("kestrune/changes/archive/2026-12-08-add-login"))));
    const QUrl archived = QUrl::fromLocalFile(
        m_project->pathOf(QStringLiteral("kestrune/changes/archive/2026-12-08-add-login/design.md")));
    QTRY_COMPARE(m_view->selectedNode()->url, archived);
    QTRY_COMPARE(preview()->fileURL(), archived);
    QVERIFY(!preview()->isShowingFileRemoved());

    // Removed: the last text stays under a notice.
    QVERIFY(QFile::remove(archived.toLocalFile()));
    QTRY_VERIFY(preview()->isShowingFileRemoved());
    QVERIFY(m_view->isOpenFileRemoved());
    QVERIFY(preview()->state().text().startsWith(QStringLiteral("# Design")));

    // Written again: the notice goes, the new text shows.
    m_project->write(QStringLiteral("kestrune/changes/archive/2026-12-08-add-login/design.md"), "# Back\n");
    QVERIFY(waitForPreviewText("# Back\n"));
    QVERIFY(!preview()->isShowingFileRemoved());
}

void TestLiveProject::choosingTheOpenFileAgainReadsItAgain()
{
    openProject();
    m_view->liveUpdates().setEnabled(false);
    select(QStringLiteral("kestrune/changes/add-login/proposal.md"));
    m_project->write(QStringLiteral("kestrune/changes/add-login/proposal.md"), "# Proposal, revised\n");
    QTreeView *list = m_view->sidebar()->treeView()->listView();
    const QModelIndex row = list->selectionModel()->selectedRows().constFirst();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
    QVERIFY(waitForPreviewText("# Proposal, revised\n"));

    // The toolbar's refresh reads it again too.
    m_project->write(QStringLiteral("kestrune/changes/add-login/proposal.md"), "# Proposal, third\n");
    m_view->toolBar()->refreshButton()->click();
    QVERIFY(waitForPreviewText("# Proposal, third\n"));
}

void TestLiveProject::rescanMarksTheTabAndAGoneFolderStrikesItOut()
{
    openProject();
    ProjectTabButton *tab = m_view->tabsBar()->tab(m_project->url());
    QVERIFY(tab && !tab->isBusy());
    m_view->refresh();
    QVERIFY(tab->isBusy());
    QTRY_VERIFY(!tab->isBusy());
    QVERIFY(!tab->isShowingBusyMark());

    QVERIFY(QDir(m_project->pathOf(QStringLiteral("kestrune"))).removeRecursively());
    QTRY_VERIFY(tab->isMissing());
    QVERIFY(dashboard()); // the last summary stays on show
    QCOMPARE(dashboard()->input().summary.activeChanges, 2);
    m_project->writeChange(QStringLiteral("add-login"), "- [ ] one\n");
    QTRY_VERIFY(!tab->isMissing());
    QTRY_COMPARE(m_view->store().summaryForProject(m_project->url())->totalChanges, 1);
}

void TestLiveProject::turningWatchingOffStopsUpdates()
{
    openProject();
    m_view->liveUpdates().setEnabled(false);
    QSignalSpy summaries(&m_view->store(), &ProjectStore::summaryByProjectChanged);
    m_project->writeChange(QStringLiteral("add-search"), "- [ ] one\n");
    QVERIFY(!summaries.wait(ProjectWatcher::longestDelay + 300));
    QCOMPARE(dashboard()->input().summary.totalChanges, 2);
}

void TestLiveProject::watchLimitIsSaidOnceInTheWindow()
{
    m_view->liveUpdates().setWatchLimit(4);
    m_view->openPaths({m_project->url().toLocalFile()});
    QTRY_VERIFY(m_view->watchNotice()->isVisible());
    QVERIFY(!m_view->watchNotice()->text().isEmpty());
    // Closed by the reader, it stays closed through later scans.
    m_view->watchNotice()->findChild<QAbstractButton *>(QStringLiteral("noticeClose"))->click();
    QVERIFY(!m_view->watchNotice()->isVisible());
    m_view->liveUpdates().refreshUnwatchedProjects();
    QTRY_VERIFY(!m_view->store().isLoading(m_project->url()));
    QVERIFY(!m_view->watchNotice()->isVisible());
}

void TestLiveProject::reviewOfAChangeFollowsItsFiles()
{
    m_project->write(
        QStringLiteral("kestrune/changes/add-login/specs/auth/spec.md"),
        "## MODIFIED Requirements\n\n### Requirement: Sign in\nUsers SHALL sign in with a passkey.\n");
    openProject();
    QVERIFY(dashboard());
    const QUrl change = QUrl::fromLocalFile(m_project->pathOf(QStringLiteral("kestrune/changes/add-login")));
    Q_EMIT dashboard()->reviewRequested(change);
    QTRY_COMPARE(m_view->detailArea()->content(), DetailArea::Content::review);
    auto *review = qobject_cast<ChangeReviewView *>(m_view->detailArea()->currentView());
    QVERIFY(review);
    QCOMPARE(review->input().status, std::optional(ChangeStatus::active));
    QCOMPARE(review->input().review.counts.modified, 1);
    QCOMPARE(review->sections().constFirst()->cards().constFirst()->requirement().kind,
             DeltaSpecType::modified);

    // The change's files change: the same page shows the new comparison.
    m_project->write(QStringLiteral("kestrune/changes/add-login/specs/auth/spec.md"),
                     "## ADDED Requirements\n\n### Requirement: Passkeys\nUsers SHALL register passkeys.\n");
    QTRY_COMPARE(review->input().review.counts.added, 1);
    QCOMPARE(m_view->detailArea()->currentView(), review);

    // Escape leaves it for the dashboard.
    m_view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    review->setFocus();
    QTest::keyClick(review, Qt::Key_Escape);
    QTRY_VERIFY(dashboard());
    QVERIFY(!m_view->reviewedChange());
}

void TestLiveProject::deltaSpecificationsLeadToTheirReviewAndResult()
{
    QCOMPARE(MainContentView::deltaSpecificationOwner(
                 QUrl::fromLocalFile(QStringLiteral("/p/kestrune/changes/add-login/specs/auth/spec.md"))),
             std::optional(std::pair(QUrl::fromLocalFile(QStringLiteral("/p/kestrune/changes/add-login")),
                                     QStringLiteral("auth"))));
    QCOMPARE(MainContentView::deltaSpecificationOwner(QUrl::fromLocalFile(
                 QStringLiteral("/p/kestrune/changes/archive/2026-01-01-x/specs/auth.md"))),
             std::optional(
                 std::pair(QUrl::fromLocalFile(QStringLiteral("/p/kestrune/changes/archive/2026-01-01-x")),
                           QStringLiteral("auth"))));
    QVERIFY(!MainContentView::deltaSpecificationOwner(
        QUrl::fromLocalFile(QStringLiteral("/p/kestrune/changes/add-login/tasks.md"))));

    m_project->write(QStringLiteral("kestrune/changes/add-login/specs/auth/spec.md"),
                     "## ADDED Requirements\n\n### Requirement: Passkeys\nUsers SHALL register passkeys.\n");
    openProject();
    select(QStringLiteral("kestrune/changes/add-login/specs/auth/spec.md"));
    QVERIFY(preview()->header()->reviewButton()->isVisibleTo(preview()));
    preview()->header()->resultButton()->click();
    QTRY_COMPARE(m_view->detailArea()->content(), DetailArea::Content::result);
    auto *result = qobject_cast<SpecificationResultView *>(m_view->detailArea()->currentView());
    QCOMPARE(result->capability(), QStringLiteral("auth"));
    QVERIFY(result->merge().text.contains(QStringLiteral("### Requirement: Passkeys")));
    QVERIFY(result->merge().text.contains(QStringLiteral("### Requirement: Sign in")));
    // Escape, or the back button, go back to the review.
    result->backButton()->click();
    QTRY_COMPARE(m_view->detailArea()->content(), DetailArea::Content::review);
}

QTEST_MAIN(TestLiveProject)
#include "tst_liveproject.moc"
