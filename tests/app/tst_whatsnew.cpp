// What's New in the window: its key (clashing with no other command) in the shortcuts window and
// on the toolbar, the list of a project's files changed, new and removed since last read with
// their line counts, choosing one to open it at its first change, the list following the marks
// as files are read, and Mark All as Read emptying it.
#include "app/detailarea.h"
#include "app/keyboardshortcutsdialog.h"
#include "app/maincontentview.h"
#include "app/maintoolbar.h"
#include "app/mainwindow.h"
#include "app/mainwindowactions.h"
#include "app/projectreading.h"
#include "app/recentprojects.h"
#include "app/whatsnewcontroller.h"
#include "catchup/catchuplistmodel.h"
#include "catchup/catchuppopup.h"
#include "markdown/layout/view/markdownview.h"
#include "preview/markdownpreviewview.h"
#include "preview/previewseentimer.h"
#include "reading/readingstore.h"
#include "text/backgroundpool.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>
#include <QTreeWidget>

using namespace kestrune;

namespace {

const QString proposal = QStringLiteral("kestrune/changes/add-login/proposal.md");
const QString design = QStringLiteral("kestrune/changes/add-login/design.md");
const QString notes = QStringLiteral("kestrune/changes/add-login/notes.md");

// A long text: its change far down the page, out of view at the top.
QByteArray longText(const QByteArray &paragraph80)
{
    QByteArray text = "# Add login\n\n";
    for (int index = 0; index < 80; ++index) {
        text += index == 60 ? paragraph80 : QByteArray("Paragraph ") + QByteArray::number(index);
        text += "\n\n";
    }
    return text;
}

} // namespace

class TestWhatsNew : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Localization::install(qApp, QLocale(QLocale::English));
        PreviewSeenTimer::setDelay(50);
    }

    void init()
    {
        m_settingsDir = std::make_unique<QTemporaryDir>();
        m_project = std::make_unique<QTemporaryDir>();
        m_state = std::make_unique<QTemporaryDir>();
        write(proposal, longText("Paragraph 60"), 60);
        write(design, "# Design\n", 60);
        write(QStringLiteral("kestrune/specs/auth/spec.md"), "# Auth\n", 60);
        const QString settings = m_settingsDir->filePath(QStringLiteral("settings.ini"));
        m_theme =
            std::make_unique<ThemeController>(std::make_unique<QSettings>(settings, QSettings::IniFormat));
        m_recent =
            std::make_unique<RecentProjects>(std::make_unique<QSettings>(settings, QSettings::IniFormat));
        MainContentView::Dependencies dependencies;
        dependencies.readingStateRoot = m_state->path();
        m_window = std::make_unique<MainWindow>(*m_theme, *m_recent, std::move(dependencies));
        m_window->resize(1100, 800);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        BackgroundPool::instance()->waitForDone();
        MarkdownPreviewView::readPool()->waitForDone();
        m_recent.reset();
        m_theme.reset();
    }

    void theKeyIsListedAndClashesWithNoOther()
    {
        QAction *whatsNew = m_window->whatsNew().action();
        QCOMPARE(whatsNew->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
        for (const MainWindowActions::Entry &entry : m_window->commands().entries()) {
            if (entry.action != whatsNew)
                QVERIFY2(!entry.action->shortcuts().contains(whatsNew->shortcut()),
                         qPrintable(entry.action->text()));
        }
        QVERIFY(m_window->commands()
                    .actions(MainWindowActions::Group::project, MainWindowActions::Listing::menuAndShortcuts)
                    .contains(whatsNew));
        m_window->showKeyboardShortcuts();
        const QTreeWidget *list = m_window->keyboardShortcutsDialog()->list();
        bool listed = false;
        for (int group = 0; group < list->topLevelItemCount(); ++group)
            for (int row = 0; row < list->topLevelItem(group)->childCount(); ++row)
                listed |= list->topLevelItem(group)->child(row)->text(0) == whatsNew->text() &&
                          list->topLevelItem(group)->child(row)->text(1) == QStringLiteral("Ctrl+Shift+N");
        QVERIFY(listed);
        // No project: nothing to list, on the toolbar either.
        QToolButton *button = m_window->contentView()->toolBar()->whatsNewButton();
        QVERIFY(!whatsNew->isEnabled());
        QVERIFY(!button->isEnabled());
        QVERIFY(!button->icon().isNull());
        openProject();
        QTRY_VERIFY(button->isEnabled());
        button->click();
        QTRY_VERIFY(m_window->whatsNew().popup() && m_window->whatsNew().popup()->isVisible());
        // The first import counts as seen.
        QCOMPARE(m_window->whatsNew().popup()->emptyLabel()->text(),
                 QStringLiteral("Nothing new since you last looked"));
    }

    void aChosenFileOpensAtItsFirstChange()
    {
        openProject();
        seeInPreview(proposal);
        // The first import's texts are kept after it, a few files at a time: the removed file's
        // text must be in before it goes.
        const ReadingStore *store = m_window->contentView()->reading().storeFor(root());
        QVERIFY(store);
        QTRY_VERIFY_WITH_TIMEOUT(store->record().files.value(design).hasText, 20000);
        write(proposal, longText("Paragraph 60, rewritten since."), 0);
        write(notes, "# Notes\n\nOne.\n", 0);
        QFile::remove(pathOf(design));
        m_window->contentView()->showDashboard();
        m_window->contentView()->refresh();
        QTRY_COMPARE(marks().files.size(), 2);
        QTRY_COMPARE(marks().removed.size(), 1);

        QTest::keyClick(m_window.get(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(m_window->whatsNew().popup() && m_window->whatsNew().popup()->isVisible());
        CatchUpPopup *popup = m_window->whatsNew().popup();
        CatchUpListModel *model = popup->model();
        // One change: its heading, then design.md (removed), notes.md (new), proposal.md.
        QCOMPARE(model->rowCount(), 4);
        QCOMPARE(model->headingText(0), QStringLiteral("add-login"));
        QCOMPARE(model->entryAt(1)->change, CatchUpEntry::Change::removed);
        QCOMPARE(model->entryAt(2)->name, QStringLiteral("notes.md"));
        QCOMPARE(model->entryAt(3)->name, QStringLiteral("proposal.md"));
        QTRY_COMPARE(model->countText(3), QStringLiteral("+1 \u22121"));
        QTRY_COMPARE(model->countText(2), QStringLiteral("+3 \u22120"));
        // The first import's text of the removed file was kept: its lines count as removed.
        QTRY_COMPARE(model->countText(1), QStringLiteral("+0 \u22121"));
        QCOMPARE(model->detailText(1), QStringLiteral("removed"));

        QTest::keyClick(popup->filterField(), Qt::Key_Down);
        QTest::keyClick(popup->filterField(), Qt::Key_Down);
        QCOMPARE(popup->currentEntry()->name, QStringLiteral("proposal.md"));
        QTest::keyClick(popup->filterField(), Qt::Key_Return);
        QTRY_VERIFY(!m_window->whatsNew().popup());

        MarkdownPreviewView *preview = m_window->contentView()->currentPreview();
        QVERIFY(preview);
        QCOMPARE(preview->fileURL(), QUrl::fromLocalFile(pathOf(proposal)));
        QTRY_VERIFY(!preview->changeMarks().isEmpty());
        auto *document = qobject_cast<MarkdownView *>(preview->contentView());
        QVERIFY(document);
        QTRY_COMPARE(document->currentChange(), 0);
        QVERIFY(document->verticalScrollBar()->value() > 0); // far down: scrolled to it
    }

    void theListFollowsTheMarksAndMarkAllAsReadEmptiesIt()
    {
        openProject();
        write(notes, "# Notes\n", 0);
        write(QStringLiteral("kestrune/specs/auth/spec.md"), "# Auth\n\nMore.\n", 0);
        m_window->contentView()->refresh();
        QTRY_COMPARE(marks().files.size(), 2);
        m_window->whatsNew().action()->trigger();
        CatchUpPopup *popup = m_window->whatsNew().popup();
        QVERIFY(popup);
        QCOMPARE(popup->model()->rowCount(), 4); // add-login: notes.md; specifications: auth/spec.md
        QCOMPARE(popup->model()->headingText(2), QStringLiteral("Specifications"));

        // Read by the menu's command: gone from the list while it is open; edited again: back.
        m_window->contentView()->markAllAsRead();
        QTRY_COMPARE(popup->model()->rowCount(), 0);
        write(notes, "# Notes, again\n", 0);
        m_window->contentView()->refresh();
        QTRY_COMPARE(popup->model()->rowCount(), 2);

        popup->markAllButton()->click();
        QTRY_COMPARE(popup->model()->rowCount(), 0);
        QVERIFY(!popup->emptyLabel()->isHidden());
        QCOMPARE(popup->emptyLabel()->text(), QStringLiteral("Nothing new since you last looked"));
        QVERIFY(!popup->markAllButton()->isEnabled());
        QVERIFY(marks().files.isEmpty());
    }

private:
    QUrl root() const { return QUrl::fromLocalFile(m_project->path()); }
    QString pathOf(const QString &relative) const { return m_project->filePath(relative); }
    ReadingMarks marks() const
    {
        return m_window->contentView()->reading().marksFor(root()).value_or(ReadingMarks{});
    }

    void write(const QString &relative, const QByteArray &bytes, int secondsAgo)
    {
        const QString path = pathOf(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-secondsAgo),
                                 QFileDevice::FileModificationTime));
    }

    void openProject()
    {
        m_window->contentView()->openPaths({m_project->path()});
        QTRY_VERIFY(m_window->contentView()->reading().marksFor(root()).has_value());
        // The baseline of the first import is recorded before anything is seen.
        QTRY_VERIFY(!m_window->contentView()->reading().marksFor(root())->firstImport);
    }

    void seeInPreview(const QString &relative)
    {
        m_window->contentView()->revealInProject(root(), QUrl::fromLocalFile(pathOf(relative)));
        QTRY_VERIFY(m_window->contentView()->currentPreview());
        QSignalSpy seen(m_window->contentView()->currentPreview(), &MarkdownPreviewView::textSeen);
        QVERIFY(seen.wait());
        QTRY_VERIFY(!marks().files.contains(relative));
    }

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_project;
    std::unique_ptr<QTemporaryDir> m_state;
    std::unique_ptr<ThemeController> m_theme;
    std::unique_ptr<RecentProjects> m_recent;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TestWhatsNew)
#include "tst_whatsnew.moc"
