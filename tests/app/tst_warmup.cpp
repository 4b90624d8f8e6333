// The window's warm-up: it starts with the empty window's first paint, runs by itself while the
// window waits, and leaves the first import's views nothing to draw for the first time.
#include "app/detailarea.h"
#include "app/maincontentview.h"
#include "dashboard/dashboardview.h"
#include "fakeprojects.h"
#include "scriptedfolderpicker.h"
#include "text/backgroundpool.h"
#include "ui/symbolicon.h"
#include "ui/themecontroller.h"
#include "ui/warmupqueue.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

using namespace kestrune;

class TestWarmUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void startsWithTheFirstPaintAndFinishesByItself();
    void firstImportDrawsNoNewSymbol();
    void laterWindowsDoNotWarmUpAgain();

private:
    std::unique_ptr<MainContentView> makeView();

    QTemporaryDir m_directory;
    std::unique_ptr<ThemeController> m_theme;
    std::shared_ptr<FakeProjects> m_projects = FakeProjects::create();
    std::unique_ptr<MainContentView> m_view;
};

void TestWarmUp::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_theme = std::make_unique<ThemeController>(std::make_unique<QSettings>(
        m_directory.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
}

void TestWarmUp::cleanupTestCase()
{
    m_projects->releaseAll();
    BackgroundPool::instance()->waitForDone();
    BackgroundPool::yielding()->waitForDone();
    m_view.reset();
}

std::unique_ptr<MainContentView> TestWarmUp::makeView()
{
    MainContentView::Dependencies dependencies;
    dependencies.loader = m_projects->loader();
    dependencies.folderPicker =
        std::make_unique<ScriptedFolderPicker>(std::make_shared<ScriptedFolderPicker::Script>());
    auto view = std::make_unique<MainContentView>(*m_theme, std::move(dependencies));
    view->resize(1100, 800);
    return view;
}

void TestWarmUp::startsWithTheFirstPaintAndFinishesByItself()
{
    m_view = makeView();
    QVERIFY(!m_view->warmUp());
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    QTRY_VERIFY(m_view->warmUp());
    QVERIFY(m_view->warmUp()->isStarted());
    QTRY_VERIFY(m_view->warmUp()->isFinished());
}

void TestWarmUp::firstImportDrawsNoNewSymbol()
{
    QVERIFY(m_view && m_view->warmUp() && m_view->warmUp()->isFinished());
    const quint64 misses = SymbolIcon::cacheMisses();
    QDir(m_directory.path()).mkpath(QStringLiteral("shop/kestrune"));
    const QUrl root = QUrl::fromLocalFile(m_directory.filePath(QStringLiteral("shop")));
    m_view->importFolder(root);
    QTRY_VERIFY(qobject_cast<DashboardView *>(m_view->detailArea()->currentView()));
    auto *dashboard = qobject_cast<DashboardView *>(m_view->detailArea()->currentView());
    QTRY_VERIFY(!dashboard->isBuildingCards());
    // Drawn as the window draws them: the tab, the outline, the dashboard with its cards.
    const QImage window = m_view->grab().toImage();
    QVERIFY(!window.isNull());
    QCOMPARE(SymbolIcon::cacheMisses(), misses);
}

void TestWarmUp::laterWindowsDoNotWarmUpAgain()
{
    const std::unique_ptr<MainContentView> later = makeView();
    later->show();
    QVERIFY(QTest::qWaitForWindowExposed(later.get()));
    later->grab();
    QVERIFY(!later->warmUp());
}

QTEST_MAIN(TestWarmUp)
#include "tst_warmup.moc"
