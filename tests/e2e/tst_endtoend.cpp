#include "app/appdelegate.h"
#include "app/dashboardbutton.h"
#include "app/detailarea.h"
#include "app/maincontentview.h"
#include "app/mainwindow.h"
#include "app/projecttabbutton.h"
#include "app/projecttabsbar.h"
#include "app/sidebarpane.h"
#include "markdown/layout/view/markdownview.h"
#include "preview/findbar.h"
#include "preview/markdownpreviewheader.h"
#include "preview/markdownpreviewview.h"
#include "preview/segmentbutton.h"
#include "preview/sourcetextview.h"
#include "preview/viewmodeswitch.h"
#include "sidebar/projecttreemodel.h"
#include "sidebar/projecttreeview.h"
#include "text/backgroundpool.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTreeView>

#include <memory>

using namespace kestrune;

namespace {

const QString sampleProject = QDir::cleanPath(QStringLiteral(KESTRUNE_SAMPLE_PROJECT));

QUrl sampleFile(const QString &relativePath)
{
    return QUrl::fromLocalFile(sampleProject + QStringLiteral("/kestrune/") + relativePath);
}

QModelIndex findFile(const QAbstractItemModel *model, const QUrl &url, const QModelIndex &parent = {})
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (const TreeNode *node = ProjectTreeModel::nodeAt(index); node && node->url == url)
            return index;
        if (const QModelIndex found = findFile(model, url, index); found.isValid())
            return found;
    }
    return {};
}

} // namespace

// The program as the user meets it: the real window and views, the sample project named on the
// command line, the outline clicked with the mouse.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void browseTheSampleProject();
    void escapeInTheFindBarClosesOnlyTheBar();

private:
    void clickFile(const QUrl &url);
    MarkdownPreviewView *preview() const;

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<AppDelegate> m_delegate;
    MainContentView *m_view = nullptr;
};

void TestEndToEnd::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    AppDelegate::setApplicationIdentity();
    m_home = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_home->path());
}

void TestEndToEnd::cleanupTestCase()
{
    m_delegate.reset();
    BackgroundPool::instance()->waitForDone();
}

void TestEndToEnd::clickFile(const QUrl &url)
{
    QTreeView *list = m_view->sidebar()->treeView()->listView();
    const QModelIndex index = findFile(list->model(), url);
    QVERIFY2(index.isValid(), qPrintable(url.toLocalFile()));
    list->scrollTo(index); // opens the folders above it
    const QRect row = list->visualRect(index);
    QVERIFY(row.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
}

MarkdownPreviewView *TestEndToEnd::preview() const
{
    return qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
}

void TestEndToEnd::browseTheSampleProject()
{
    m_delegate = std::make_unique<AppDelegate>();
    m_delegate->applicationDidFinishLaunching({sampleProject});
    m_view = m_delegate->mainWindow()->contentView();
    QVERIFY(QTest::qWaitForWindowExposed(m_delegate->mainWindow()));
    const QUrl root = QUrl::fromLocalFile(sampleProject);
    QCOMPARE(m_view->store().projectRoots(), QList<QUrl>{root});
    QTRY_COMPARE_WITH_TIMEOUT(m_view->detailArea()->content(), DetailArea::Content::dashboard, 20000);

    // A delta specification, rendered.
    const QUrl deltaSpec = sampleFile(QStringLiteral("changes/add-note-history/specs/note-editing/spec.md"));
    clickFile(deltaSpec);
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::preview);
    QPointer<MarkdownPreviewView> pane = preview();
    QVERIFY(pane);
    QCOMPARE(pane->fileURL(), deltaSpec);
    QVERIFY(pane->deltaType().has_value());
    QTRY_COMPARE_WITH_TIMEOUT(pane->state().kind(), MarkdownPreviewState::Kind::content, 10000);
    QCOMPARE(pane->viewMode(), MarkdownViewMode::preview);
    QCOMPARE(pane->contentView()->objectName(), QStringLiteral("renderedDocument"));
    QVERIFY(pane->contentView()->isVisible());

    // The source of the same file.
    ViewModeSwitch *modeSwitch = pane->header()->modeSwitch();
    QTest::mouseClick(modeSwitch->segment(MarkdownViewMode::source), Qt::LeftButton);
    QCOMPARE(pane->viewMode(), MarkdownViewMode::source);
    auto *source = qobject_cast<SourceTextView *>(pane->contentView());
    QVERIFY(source);
    QVERIFY(source->toPlainText().contains(QStringLiteral("## ")));

    // Another file: the same pane, still in source mode.
    const QUrl proposal = sampleFile(QStringLiteral("changes/add-note-history/proposal.md"));
    clickFile(proposal);
    QCOMPARE(preview(), pane.data());
    QCOMPARE(pane->fileURL(), proposal);
    QVERIFY(!pane->deltaType());
    QTRY_COMPARE_WITH_TIMEOUT(pane->state().kind(), MarkdownPreviewState::Kind::content, 10000);
    QCOMPARE(pane->viewMode(), MarkdownViewMode::source);
    source = qobject_cast<SourceTextView *>(pane->contentView());
    QVERIFY(source);
    QFile proposalFile(proposal.toLocalFile());
    QVERIFY(proposalFile.open(QIODevice::ReadOnly));
    QCOMPARE(source->toPlainText(), QString::fromUtf8(proposalFile.readAll()));

    // To the dashboard and back: a new pane, in preview mode again.
    QTest::mouseClick(m_view->sidebar()->dashboardButton(), Qt::LeftButton);
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);
    QTRY_VERIFY(!pane); // the old pane is gone
    clickFile(proposal);
    QVERIFY(preview());
    QCOMPARE(preview()->viewMode(), MarkdownViewMode::preview);
    QTRY_COMPARE_WITH_TIMEOUT(preview()->state().kind(), MarkdownPreviewState::Kind::content, 10000);
    QCOMPARE(preview()->contentView()->objectName(), QStringLiteral("renderedDocument"));

    // Removing the project through its tab leaves the placeholder.
    ProjectTabButton *tab = m_view->tabsBar()->tab(root);
    QVERIFY(tab);
    Q_EMIT tab->customContextMenuRequested(QPoint(5, 5));
    auto *menu = m_view->tabsBar()->findChild<QMenu *>();
    QVERIFY(menu);
    menu->actions().constFirst()->trigger();
    menu->close();
    QVERIFY(m_view->store().projectRoots().isEmpty());
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::placeholder);
}

// A file named on the command line, searched with the find bar: Escape closes the bar and leaves
// the reader in the page where the find took them, the focus in it.
void TestEndToEnd::escapeInTheFindBarClosesOnlyTheBar()
{
    const QUrl overview = sampleFile(QStringLiteral("project.md"));
    m_delegate = std::make_unique<AppDelegate>();
    m_delegate->applicationDidFinishLaunching({overview.toLocalFile()});
    m_view = m_delegate->mainWindow()->contentView();
    QVERIFY(QTest::qWaitForWindowExposed(m_delegate->mainWindow()));
    m_delegate->mainWindow()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_delegate->mainWindow()));
    QTRY_VERIFY_WITH_TIMEOUT(preview() && preview()->fileURL() == overview, 20000);
    MarkdownPreviewView *pane = preview();
    QTRY_COMPARE_WITH_TIMEOUT(pane->state().kind(), MarkdownPreviewState::Kind::content, 10000);
    auto *document = qobject_cast<MarkdownView *>(pane->contentView());
    QVERIFY(document);
    document->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(document->hasFocus());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    auto *findBar = pane->findChild<FindBar *>();
    QVERIFY(findBar && findBar->isVisible());
    QTRY_VERIFY(findBar->field()->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("note"));
    QCOMPARE(findBar->field()->text(), QStringLiteral("note"));
    const int scrolled = document->verticalScrollBar()->value();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(findBar->isHidden());
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::preview);
    QCOMPARE(preview(), pane);
    QCOMPARE(pane->fileURL(), overview);
    QCOMPARE(document->verticalScrollBar()->value(), scrolled);
    QTRY_VERIFY(document->hasFocus() || document->isAncestorOf(QApplication::focusWidget()));
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
