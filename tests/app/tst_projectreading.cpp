#include "app/detailarea.h"
#include "app/maincontentview.h"
#include "app/projectreading.h"
#include "app/sidebarpane.h"
#include "dashboard/activechangecard.h"
#include "dashboard/changesectionview.h"
#include "dashboard/dashboardview.h"
#include "dashboard/draftchangecard.h"
#include "preview/markdownpreviewview.h"
#include "preview/previewchangednotice.h"
#include "preview/previewseentimer.h"
#include "project/treenodelookup.h"
#include "reading/readingstatefolder.h"
#include "reading/readingstore.h"
#include "sidebar/projecttreemodel.h"
#include "sidebar/projecttreeview.h"
#include "text/backgroundpool.h"
#include "ui/localization.h"
#include "ui/noticebar.h"
#include "ui/themecontroller.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTreeView>

using namespace kestrune;

namespace {

using UnreadMark = ProjectTreeModel::UnreadMark;
const QString taskList = QStringLiteral("kestrune/changes/add-login/tasks.md");

} // namespace

// The reading history in the window: the store of each open project, the marks it puts on the
// outline and the cards, a file seen in the preview, and the commands that hide or clear them.
class TestProjectReading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void aFileSeenInThePreviewAndEditedIsMarkedUntilSeenAgain();
    void aTickedTaskShowsOnTheCard();
    void theToggleHidesTheMarksAndForgetClearsThem();
    void aDamagedStoreIsSaidOnceInTheWindow();
    void aChangeMadeSinceTheLastLookIsNew();
    void markAllAsReadClearsEveryMark();
    void aChangedFileOpensWithItsChangesMarked();
    void aChangedFileWithNoEarlierTextSaysItChanged();

private:
    QString pathOf(const QString &relative) const { return m_project->filePath(relative); }
    void write(const QString &relative, const QByteArray &bytes, int secondsAgo);
    void openProject();
    UnreadMark markOf(const QString &relative) const;
    void seeInPreview(const QString &relative);
    ActiveChangeCard *card() const;

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_project;
    std::unique_ptr<QTemporaryDir> m_state;
    std::unique_ptr<ThemeController> m_theme;
    std::unique_ptr<MainContentView> m_view;
};

void TestProjectReading::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    Localization::install(qApp, QLocale(QLocale::English));
    PreviewSeenTimer::setDelay(50);
}

void TestProjectReading::init()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    m_project = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<QTemporaryDir>();
    write(QStringLiteral("kestrune/specs/auth/spec.md"), "# Auth\n\n### Requirement: Sign in\n", 60);
    write(QStringLiteral("kestrune/changes/add-login/proposal.md"), "# Add login\n", 60);
    write(QStringLiteral("kestrune/changes/add-login/design.md"), "# Design\n", 60);
    write(QStringLiteral("kestrune/changes/add-login/specs/auth/spec.md"), "## ADDED Requirements\n", 60);
    write(taskList, "- [x] one\n- [ ] two\n- [ ] three\n", 60);
    m_theme = std::make_unique<ThemeController>(std::make_unique<QSettings>(
        m_settingsDir->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    MainContentView::Dependencies dependencies;
    dependencies.readingStateRoot = m_state->path();
    m_view = std::make_unique<MainContentView>(*m_theme, std::move(dependencies));
    m_view->resize(1000, 600);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestProjectReading::cleanup()
{
    m_view.reset();
    BackgroundPool::instance()->waitForDone();
    BackgroundPool::yielding()->waitForDone();
    MarkdownPreviewView::readPool()->waitForDone();
    m_theme.reset();
}

void TestProjectReading::write(const QString &relative, const QByteArray &bytes, int secondsAgo)
{
    const QString path = pathOf(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-secondsAgo),
                             QFileDevice::FileModificationTime));
}

void TestProjectReading::openProject()
{
    m_view->openPaths({m_project->path()});
    const QUrl root = QUrl::fromLocalFile(m_project->path());
    QTRY_VERIFY(m_view->reading().marksFor(root).has_value());
}

UnreadMark TestProjectReading::markOf(const QString &relative) const
{
    auto *model = static_cast<ProjectTreeModel *>(m_view->sidebar()->treeView()->listView()->model());
    const TreeNode *node =
        model->outline() ? findNodeAtPath(*model->outline(), QDir::cleanPath(pathOf(relative))) : nullptr;
    return node ? model->unreadMark(*node) : UnreadMark::none;
}

void TestProjectReading::seeInPreview(const QString &relative)
{
    const QUrl root = QUrl::fromLocalFile(m_project->path());
    m_view->revealInProject(root, QUrl::fromLocalFile(pathOf(relative)));
    QTRY_VERIFY(qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView()));
    auto *preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QSignalSpy seen(preview, &MarkdownPreviewView::textSeen);
    QVERIFY(seen.wait());
    QFile file(pathOf(relative));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(seen.constFirst().at(1).toByteArray(), file.readAll()); // the bytes the preview read
}

ActiveChangeCard *TestProjectReading::card() const
{
    auto *dashboard = qobject_cast<DashboardView *>(m_view->detailArea()->currentView());
    QWidget *content = dashboard ? dashboard->section(DashboardView::Section::active)->content() : nullptr;
    return content ? content->findChild<ActiveChangeCard *>() : nullptr;
}

void TestProjectReading::aFileSeenInThePreviewAndEditedIsMarkedUntilSeenAgain()
{
    openProject();
    QCOMPARE(markOf(taskList), UnreadMark::none); // the first import counts as seen
    seeInPreview(taskList);
    write(taskList, "- [x] one\n- [x] two\n- [ ] three\n", 0);
    m_view->refresh();
    QTRY_COMPARE(markOf(taskList), UnreadMark::changed);
    QCOMPARE(markOf(QStringLiteral("kestrune/changes/add-login")), UnreadMark::holdsUnread);
    // Still on show: the preview reads the new text, and once it has been on screen it is seen.
    QTRY_COMPARE(markOf(taskList), UnreadMark::none);
    QCOMPARE(markOf(QStringLiteral("kestrune/changes/add-login")), UnreadMark::none);
}

void TestProjectReading::aTickedTaskShowsOnTheCard()
{
    openProject();
    QTRY_VERIFY(card());
    QVERIFY(card()->readingFacts().has_value());
    QCOMPARE(card()->readingFacts()->tasksDoneSinceLastLook, 0);
    QCOMPARE(card()->captionText(), Localization::text("dashboard.task_progress"));
    write(taskList, "- [x] one\n- [x] two\n- [x] three\n- [ ] four\n", 0);
    m_view->refresh();
    QTRY_VERIFY(card() && card()->readingFacts() && card()->readingFacts()->tasksDoneSinceLastLook == 2);
    QCOMPARE(card()->captionText(), QStringLiteral("2 tasks done since you last looked"));
    QVERIFY(card()->accessibleName().contains(QStringLiteral("2 tasks done since you last looked")));
}

void TestProjectReading::theToggleHidesTheMarksAndForgetClearsThem()
{
    openProject();
    write(taskList, "- [x] one\n- [x] two\n- [ ] three\n", 0);
    m_view->refresh();
    QTRY_COMPARE(markOf(taskList), UnreadMark::changed);

    m_view->setShowsUnreadMarks(false);
    QCOMPARE(markOf(taskList), UnreadMark::none);
    QTRY_VERIFY(card());
    QVERIFY(!card()->readingFacts().has_value());
    m_view->setShowsUnreadMarks(true); // the history was kept meanwhile
    QCOMPARE(markOf(taskList), UnreadMark::changed);

    m_view->forgetReadingHistory();
    QTRY_COMPARE(markOf(taskList), UnreadMark::none);
    QTRY_COMPARE(markOf(QStringLiteral("kestrune/changes")), UnreadMark::none);
}

void TestProjectReading::aDamagedStoreIsSaidOnceInTheWindow()
{
    const QString folder = ReadingStateFolder::ofProject(
        m_state->path(), ReadingStateFolder::canonicalProjectPath(m_project->path()));
    QVERIFY(QDir().mkpath(folder));
    QFile index(folder + QStringLiteral("/index"));
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("not a reading history at all");
    index.close();
    openProject();
    QTRY_VERIFY(m_view->readingNotice()->isVisible());
    QVERIFY(m_view->readingNotice()->text().contains(QFileInfo(m_project->path()).fileName()));
    QCOMPARE(markOf(taskList), UnreadMark::none); // started again as a first import
}

void TestProjectReading::aChangeMadeSinceTheLastLookIsNew()
{
    openProject();
    QTRY_VERIFY(card());
    write(QStringLiteral("kestrune/changes/add-export/proposal.md"), "# Add export\n", 0);
    m_view->refresh();
    const auto draft = [this]() -> DraftChangeCard * {
        auto *dashboard = qobject_cast<DashboardView *>(m_view->detailArea()->currentView());
        QWidget *content = dashboard ? dashboard->section(DashboardView::Section::draft)->content() : nullptr;
        return content ? content->findChild<DraftChangeCard *>() : nullptr;
    };
    QTRY_VERIFY(draft() && draft()->isNew());
    QVERIFY(draft()->accessibleName().endsWith(QStringLiteral("New")));
    QVERIFY(!card()->readingFacts()->isNew); // the change seen at the first import
}

void TestProjectReading::markAllAsReadClearsEveryMark()
{
    openProject();
    write(taskList, "- [x] one\n- [x] two\n- [ ] three\n", 0);
    write(QStringLiteral("kestrune/changes/add-login/notes.md"), "# Notes\n", 0);
    m_view->refresh();
    QTRY_COMPARE(markOf(QStringLiteral("kestrune/changes/add-login/notes.md")), UnreadMark::added);
    QCOMPARE(markOf(taskList), UnreadMark::changed);
    m_view->markAllAsRead();
    QTRY_COMPARE(markOf(taskList), UnreadMark::none);
    QTRY_COMPARE(markOf(QStringLiteral("kestrune/changes/add-login/notes.md")), UnreadMark::none);
    QCOMPARE(markOf(QStringLiteral("kestrune/changes")), UnreadMark::none);
}

void TestProjectReading::aChangedFileOpensWithItsChangesMarked()
{
    openProject();
    seeInPreview(taskList);
    const QUrl root = QUrl::fromLocalFile(m_project->path());
    seeInPreview(QStringLiteral("kestrune/changes/add-login/proposal.md"));
    QFile file(pathOf(taskList));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray seen = file.readAll();
    file.close();
    write(taskList, seen + "\n## Added later\n\nA paragraph the reader has not read.\n", 0);
    m_view->refresh();
    QTRY_COMPARE(markOf(taskList), UnreadMark::changed);

    m_view->revealInProject(root, QUrl::fromLocalFile(pathOf(taskList)));
    QTRY_VERIFY(qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView()));
    auto *preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QTRY_VERIFY(!preview->changeMarks().isEmpty());
    QSignalSpy read(preview, &MarkdownPreviewView::markedAsRead);
    preview->markAsRead();
    QCOMPARE(read.size(), 1);
    QVERIFY(preview->changeMarks().isEmpty());
    QTRY_COMPARE(markOf(taskList), UnreadMark::none);
}

// A file whose text the store does not keep (here its size bound holds none): edited later, it
// opens with the notice that it changed, and no marks.
void TestProjectReading::aChangedFileWithNoEarlierTextSaysItChanged()
{
    const QString design = QStringLiteral("kestrune/changes/add-login/design.md");
    openProject();
    ReadingStore *store = m_view->reading().storeFor(QUrl::fromLocalFile(m_project->path()));
    QVERIFY(store);
    store->setTextBound(0);
    write(design, "# Design\n\nWritten since.\n", 0);
    m_view->refresh();
    QTRY_COMPARE(markOf(design), UnreadMark::changed);
    m_view->revealInProject(QUrl::fromLocalFile(m_project->path()), QUrl::fromLocalFile(pathOf(design)));
    QTRY_VERIFY(qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView()));
    auto *preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QTRY_VERIFY(preview->changedNotice()->isVisible());
    QVERIFY(preview->changeMarks().isEmpty());
    QCOMPARE(preview->changedNotice()->markAsReadButton()->text(), QStringLiteral("Mark as Read"));
    QTRY_VERIFY(preview->state().isContent());
    QSignalSpy read(preview, &MarkdownPreviewView::markedAsRead);
    QTest::mouseClick(preview->changedNotice()->markAsReadButton(), Qt::LeftButton);
    QCOMPARE(read.size(), 1);
    QVERIFY(!preview->isShowingChangedNotice());
    QTRY_COMPARE(markOf(design), UnreadMark::none);

    // Seen as it is now: opened again, it says nothing.
    m_view->showDashboard();
    m_view->revealInProject(QUrl::fromLocalFile(m_project->path()), QUrl::fromLocalFile(pathOf(design)));
    QTRY_VERIFY(qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView()));
    preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QTRY_VERIFY(preview->state().isContent());
    QVERIFY(!preview->isShowingChangedNotice());
}

QTEST_MAIN(TestProjectReading)
#include "tst_projectreading.moc"
