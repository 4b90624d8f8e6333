#include "project/projectstore.h"
#include "project/treenodelookup.h"
#include "reading/readingstore.h"
#include "sidebar/projecttreemodel.h"
#include "sidebar/projecttreeview.h"
#include "sidebar/sidebarcolors.h"
#include "sidebar/treerowdelegate.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <memory>

using namespace kestrune;

namespace {

using UnreadMark = ProjectTreeModel::UnreadMark;

// Whether `image` holds a pixel close to `ink` inside `area`.
bool holdsInk(const QImage &image, const QRect &area, const QColor &ink)
{
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y) {
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - ink.red()) < 24 && std::abs(pixel.green() - ink.green()) < 24 &&
                std::abs(pixel.blue() - ink.blue()) < 24)
                return true;
        }
    }
    return false;
}

} // namespace

// The outline's unread marks, from a real store and a real scan of a project on disk: what the
// reader sees, and what a screen reader says.
class TestOutlineUnreadMarks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void firstImportMarksNothing();
    void aFileEditedAfterBeingSeenIsMarkedWithItsFolders();
    void seeingTheFileAgainClearsItsMarks();
    void marksSurviveANewStore();
    void forgettingStartsAgainWithoutMarks();

private:
    QString planningFile(const QString &relativePath) const
    {
        return m_project->filePath(QStringLiteral("kestrune/") + relativePath);
    }
    void write(const QString &relativePath, const QByteArray &bytes, int secondsAgo);
    std::shared_ptr<const TreeNode> scan() const;
    ReadingMarks marksOf(ReadingStore &store, const std::shared_ptr<const TreeNode> &tree);
    void show(const std::shared_ptr<const TreeNode> &tree, const ReadingMarks &marks);
    QModelIndex rowOf(const QString &relativePath) const;
    void seeTaskList(ReadingStore &store, const std::shared_ptr<const TreeNode> &tree);

    std::unique_ptr<QTemporaryDir> m_project;
    std::unique_ptr<QTemporaryDir> m_state;
    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<ThemeController> m_theme;
    std::unique_ptr<ProjectTreeView> m_view;
};

void TestOutlineUnreadMarks::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    Localization::install(qApp, QLocale(QLocale::English));
}

void TestOutlineUnreadMarks::init()
{
    m_project = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<QTemporaryDir>();
    m_settingsDir = std::make_unique<QTemporaryDir>();
    write(QStringLiteral("specs/auth/spec.md"), "# Auth\n\n### Requirement: Sign in\n", 60);
    write(QStringLiteral("changes/add-login/proposal.md"), "# Add login\n", 60);
    write(QStringLiteral("changes/add-login/tasks.md"), "- [ ] one\n- [ ] two\n", 60);
    m_theme = std::make_unique<ThemeController>(std::make_unique<QSettings>(
        m_settingsDir->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    m_view = std::make_unique<ProjectTreeView>(*m_theme);
    m_view->resize(320, 400);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestOutlineUnreadMarks::cleanup()
{
    m_view.reset();
    m_theme.reset();
}

void TestOutlineUnreadMarks::write(const QString &relativePath, const QByteArray &bytes, int secondsAgo)
{
    const QString path = planningFile(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    // Dates a minute apart: an edit always moves the date, however quick the test.
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-secondsAgo),
                             QFileDevice::FileModificationTime));
}

std::shared_ptr<const TreeNode> TestOutlineUnreadMarks::scan() const
{
    std::optional<ProjectStore::LoadResult> result =
        ProjectStore::scanProject(QUrl::fromLocalFile(m_project->path()));
    return result ? std::make_shared<const TreeNode>(std::move(result->tree)) : nullptr;
}

ReadingMarks TestOutlineUnreadMarks::marksOf(ReadingStore &store, const std::shared_ptr<const TreeNode> &tree)
{
    QSignalSpy computed(&store, &ReadingStore::marksComputed);
    store.computeMarks(tree);
    if (!computed.wait())
        return {};
    return computed.constFirst().constFirst().value<ReadingMarks>();
}

void TestOutlineUnreadMarks::show(const std::shared_ptr<const TreeNode> &tree, const ReadingMarks &marks)
{
    m_view->setOutline(tree);
    m_view->setReadingMarks(marks);
    m_view->listView()->expandAll();
}

QModelIndex TestOutlineUnreadMarks::rowOf(const QString &relativePath) const
{
    auto *model = static_cast<ProjectTreeModel *>(m_view->listView()->model());
    const TreeNode *node =
        findNodeAtPath(*model->outline(), QDir::cleanPath(m_project->filePath(relativePath)));
    return node ? model->indexOf(node) : QModelIndex();
}

void TestOutlineUnreadMarks::seeTaskList(ReadingStore &store, const std::shared_ptr<const TreeNode> &tree)
{
    const QString relativePath = QStringLiteral("kestrune/changes/add-login/tasks.md");
    const TreeNode *node = findNodeAtPath(*tree, QDir::cleanPath(m_project->filePath(relativePath)));
    QVERIFY(node);
    QFile file(node->url.toLocalFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QSignalSpy seen(&store, &ReadingStore::seenRecorded);
    store.markSeen(relativePath, file.readAll(), node->modificationDate.value_or(QDateTime()));
    QVERIFY(seen.wait());
}

void TestOutlineUnreadMarks::firstImportMarksNothing()
{
    ReadingStore store(m_project->path(), m_state->path());
    store.load();
    const auto tree = scan();
    QVERIFY(tree);
    show(tree, marksOf(store, tree));
    QTreeView *list = m_view->listView();
    for (const QString &path :
         {QStringLiteral("kestrune/changes"), QStringLiteral("kestrune/changes/add-login"),
          QStringLiteral("kestrune/changes/add-login/tasks.md"),
          QStringLiteral("kestrune/specs/auth/spec.md")}) {
        const QModelIndex row = rowOf(path);
        QVERIFY2(row.isValid(), qPrintable(path));
        QCOMPARE(UnreadMark(row.data(ProjectTreeModel::UnreadMarkRole).toInt()), UnreadMark::none);
        QVERIFY(row.data(Qt::AccessibleDescriptionRole).toString().isEmpty());
    }
    // Nothing in the accent colour beside any icon.
    const QImage image = list->viewport()->grab().toImage();
    const QColor accent = SidebarColors::unreadFile.resolve(list->palette());
    QVERIFY(!holdsInk(image, QRect(0, 0, 60, image.height()), accent));
}

void TestOutlineUnreadMarks::aFileEditedAfterBeingSeenIsMarkedWithItsFolders()
{
    ReadingStore store(m_project->path(), m_state->path());
    store.load();
    const auto first = scan();
    marksOf(store, first); // the first import: every file seen as it is
    seeTaskList(store, first);
    write(QStringLiteral("changes/add-login/tasks.md"), "- [x] one\n- [ ] two\n", 0);
    const auto edited = scan();
    show(edited, marksOf(store, edited));

    const QModelIndex taskList = rowOf(QStringLiteral("kestrune/changes/add-login/tasks.md"));
    QCOMPARE(UnreadMark(taskList.data(ProjectTreeModel::UnreadMarkRole).toInt()), UnreadMark::changed);
    QCOMPARE(taskList.data(Qt::AccessibleDescriptionRole).toString(),
             QStringLiteral("changed since last read"));
    for (const QString &folder :
         {QStringLiteral("kestrune/changes"), QStringLiteral("kestrune/changes/add-login")})
        QCOMPARE(UnreadMark(rowOf(folder).data(ProjectTreeModel::UnreadMarkRole).toInt()),
                 UnreadMark::holdsUnread);
    const QModelIndex proposal = rowOf(QStringLiteral("kestrune/changes/add-login/proposal.md"));
    QCOMPARE(UnreadMark(proposal.data(ProjectTreeModel::UnreadMarkRole).toInt()), UnreadMark::none);

    // The dot is painted in the accent colour on the file's row, and not on its unchanged sibling.
    QTreeView *list = m_view->listView();
    const QImage image = list->viewport()->grab().toImage();
    const QColor accent = SidebarColors::unreadFile.resolve(list->palette());
    const auto markArea = [list](const QModelIndex &row) {
        const QRect rect = list->visualRect(row);
        return QRect(rect.left(), rect.top(), 40, rect.height());
    };
    QVERIFY(holdsInk(image, markArea(taskList), accent));
    QVERIFY(!holdsInk(image, markArea(proposal), accent));

    // A new file is "new".
    write(QStringLiteral("changes/add-login/design.md"), "# Design\n", 0);
    const auto grown = scan();
    show(grown, marksOf(store, grown));
    QCOMPARE(rowOf(QStringLiteral("kestrune/changes/add-login/design.md"))
                 .data(Qt::AccessibleDescriptionRole)
                 .toString(),
             QStringLiteral("new"));
}

void TestOutlineUnreadMarks::seeingTheFileAgainClearsItsMarks()
{
    ReadingStore store(m_project->path(), m_state->path());
    store.load();
    marksOf(store, scan());
    write(QStringLiteral("changes/add-login/tasks.md"), "- [x] one\n- [x] two\n", 0);
    const auto edited = scan();
    show(edited, marksOf(store, edited));
    QCOMPARE(
        UnreadMark(rowOf(QStringLiteral("kestrune/changes")).data(ProjectTreeModel::UnreadMarkRole).toInt()),
        UnreadMark::holdsUnread);

    seeTaskList(store, edited);
    show(edited, marksOf(store, edited));
    for (const QString &path :
         {QStringLiteral("kestrune/changes"), QStringLiteral("kestrune/changes/add-login/tasks.md")})
        QCOMPARE(UnreadMark(rowOf(path).data(ProjectTreeModel::UnreadMarkRole).toInt()), UnreadMark::none);
}

void TestOutlineUnreadMarks::marksSurviveANewStore()
{
    {
        ReadingStore store(m_project->path(), m_state->path());
        store.load();
        const auto first = scan();
        marksOf(store, first);
        seeTaskList(store, first);
        QSignalSpy saved(&store, &ReadingStore::saved);
        store.saveNow();
        QVERIFY(saved.wait());
        QVERIFY(saved.constFirst().constFirst().toBool());
    }
    write(QStringLiteral("changes/add-login/tasks.md"), "- [x] one\n- [ ] two\n", 0);
    // The next run: a new store reads what the last one wrote.
    ReadingStore store(m_project->path(), m_state->path());
    store.load();
    const auto tree = scan();
    show(tree, marksOf(store, tree));
    QCOMPARE(UnreadMark(rowOf(QStringLiteral("kestrune/changes/add-login/tasks.md"))
                            .data(ProjectTreeModel::UnreadMarkRole)
                            .toInt()),
             UnreadMark::changed);
}

void TestOutlineUnreadMarks::forgettingStartsAgainWithoutMarks()
{
    ReadingStore store(m_project->path(), m_state->path());
    store.load();
    marksOf(store, scan());
    write(QStringLiteral("changes/add-login/tasks.md"), "- [x] one\n- [ ] two\n", 0);
    const auto edited = scan();
    QVERIFY(!marksOf(store, edited).files.isEmpty());
    store.forget();
    show(edited, marksOf(store, edited)); // a first import again
    QCOMPARE(UnreadMark(rowOf(QStringLiteral("kestrune/changes/add-login/tasks.md"))
                            .data(ProjectTreeModel::UnreadMarkRole)
                            .toInt()),
             UnreadMark::none);
    QVERIFY(marksOf(store, edited).files.isEmpty());
}

QTEST_MAIN(TestOutlineUnreadMarks)
#include "tst_outlineunreadmarks.moc"
