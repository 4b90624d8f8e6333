// The window as a keyboard user meets it: every command's keys, the commands enabled only when
// they apply, the main menu and the shortcuts window built from the commands (also from ones
// added later), going from one change of a file to the next, Tab and F6 through the panes in
// reading order, and folders and files dropped on the window.
#include "app/aboutdialog.h"
#include "app/dashboardbutton.h"
#include "app/detailarea.h"
#include "app/documentprinting.h"
#include "app/dropoverlay.h"
#include "app/keyboardshortcutsdialog.h"
#include "app/maincontentview.h"
#include "app/mainmenu.h"
#include "app/maintoolbar.h"
#include "app/mainwindow.h"
#include "app/mainwindowactions.h"
#include "app/panenavigator.h"
#include "app/projecttabbutton.h"
#include "app/projecttabsbar.h"
#include "app/readingchangecommands.h"
#include "app/recentprojects.h"
#include "app/recentprojectsmenu.h"
#include "app/sidebarpane.h"
#include "fakeprojects.h"
#include "markdown/layout/view/markdownview.h"
#include "modelrows.h"
#include "preview/findbar.h"
#include "preview/markdownpreviewview.h"
#include "preview/previewchangednotice.h"
#include "preview/sourcetextview.h"
#include "scriptedfolderpicker.h"
#include "sidebar/projectsearchfield.h"
#include "sidebar/projecttreemodel.h"
#include "sidebar/projecttreeview.h"
#include "text/backgroundpool.h"
#include "ui/themecontroller.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>
#include <QTranslator>
#include <QTreeView>
#include <QTreeWidget>

using namespace kestrune;

namespace {

// Project folders on disk shaped like the outline FakeProjects reports for them, so that drops
// can name real files and folders.
class Folders
{
public:
    QString project(const QString &name)
    {
        const QString root = m_directory.filePath(name);
        QDir().mkpath(root + QStringLiteral("/kestrune/changes/add-login/specs"));
        for (const QString &file : {QStringLiteral("/kestrune/project.md"),
                                    QStringLiteral("/kestrune/changes/add-login/proposal.md"),
                                    QStringLiteral("/kestrune/changes/add-login/specs/spec.md")}) {
            QFile markdown(root + file);
            markdown.open(QIODevice::WriteOnly);
            markdown.write("# Title\n");
        }
        return root;
    }
    QString plain(const QString &name)
    {
        QDir().mkpath(m_directory.filePath(name));
        return m_directory.filePath(name);
    }

private:
    QTemporaryDir m_directory;
};

QMimeData *urlData(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

// The rows of the shortcuts window: command (or hint) and keys.
QList<QPair<QString, QString>> shortcutRows(const QTreeWidget *list)
{
    QList<QPair<QString, QString>> rows;
    for (int group = 0; group < list->topLevelItemCount(); ++group) {
        const QTreeWidgetItem *heading = list->topLevelItem(group);
        for (int row = 0; row < heading->childCount(); ++row)
            rows.append({heading->child(row)->text(0), heading->child(row)->text(1)});
    }
    return rows;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void importKeyAsksForAFolder();
    void projectKeys_data();
    void projectKeys();
    void closeAndRefreshKeys();
    void dashboardPreviewAndEscapeKeys();
    void textFieldsKeepTheirEditingKeysAndLeaveTheRestToTheWindow();
    void commandsApplyOnlyWhenTheyCan();
    void printCommandsApplyToAShownFileAndExportIt();
    void themeCommandsAreExclusiveAndFollowTheMode();
    void mainMenuListsTheCommandsAndKeepsAPlaceForRecentProjects();
    void shortcutsWindowListsEveryKeyIncludingLaterOnes();
    void changeKeysVisitTheMarksInBothViews();
    void markAsReadAppliesWhileTheFileIsChanged();
    void aboutNamesTheProgramItsVersionAndLicence();
    void tabVisitsThePanesInReadingOrder();
    void f6CyclesTabsOutlineAndDocument();
    void droppedProjectFolderIsImported();
    void droppedMarkdownFileOpensInItsProject();
    void droppedFolderInsideAProjectIsRevealedInTheOutline();
    void droppedFolderOutsideAProjectShowsTheImportAlert();
    void dragShowsTheOverlayOnlyForFiles();
    void backAndForwardWalkTheProjectsShown();

private:
    QString importProject(const QString &name);
    // Drags the paths over the window and drops them; whether the drop was taken.
    bool drop(const QStringList &paths);
    void press(QKeyCombination key);
    QTreeView *outline() const { return m_view->sidebar()->treeView()->listView(); }

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<ThemeController> m_theme;
    std::unique_ptr<RecentProjects> m_recent;
    std::shared_ptr<FakeProjects> m_projects;
    std::shared_ptr<ScriptedFolderPicker::Script> m_picker;
    std::unique_ptr<Folders> m_folders;
    std::unique_ptr<MainWindow> m_window;
    MainContentView *m_view = nullptr;
};

void TestMainWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    BackgroundPool::instance()->setMaxThreadCount(8);
}

void TestMainWindow::init()
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
    m_recent = std::make_unique<RecentProjects>(std::make_unique<QSettings>(
        m_settingsDir->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    m_window = std::make_unique<MainWindow>(*m_theme, *m_recent, std::move(dependencies));
    m_view = m_window->contentView();
    m_window->resize(1100, 800);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestMainWindow::cleanup()
{
    m_projects->releaseAll();
    BackgroundPool::instance()->waitForDone();
    BackgroundPool::yielding()->waitForDone();
    m_window.reset();
    m_view = nullptr;
    m_folders.reset();
    m_recent.reset();
    m_theme.reset();
}

QString TestMainWindow::importProject(const QString &name)
{
    const QString root = m_folders->project(name);
    m_view->importFolder(QUrl::fromLocalFile(root));
    [&] { QTRY_VERIFY(m_view->store().summaryForProject(QUrl::fromLocalFile(root))); }();
    return root;
}

bool TestMainWindow::drop(const QStringList &paths)
{
    std::unique_ptr<QMimeData> data(urlData(paths));
    const QPoint position(300, 300);
    QDragEnterEvent enter(position, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &enter);
    QDropEvent dropped(position, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &dropped);
    return enter.isAccepted() && dropped.isAccepted();
}

void TestMainWindow::press(QKeyCombination key)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : m_window.get();
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
}

void TestMainWindow::importKeyAsksForAFolder()
{
    const QString root = m_folders->project(QStringLiteral("app"));
    m_picker->answer = {QUrl::fromLocalFile(root)};
    press(Qt::CTRL | Qt::Key_O);
    QTRY_COMPARE(m_view->store().projectRoots(), QList<QUrl>{QUrl::fromLocalFile(root)});
    QCOMPARE(m_picker->messages, QStringList{QStringLiteral("import.panel.message")});
}

void TestMainWindow::projectKeys_data()
{
    QTest::addColumn<int>("key");          // a QKeyCombination
    QTest::addColumn<QString>("selected"); // starting from "beta", the second of three
    QTest::addRow("Ctrl+Tab") << (Qt::CTRL | Qt::Key_Tab).toCombined() << "gamma";
    QTest::addRow("Ctrl+PgDown") << (Qt::CTRL | Qt::Key_PageDown).toCombined() << "gamma";
    QTest::addRow("Ctrl+Shift+Tab") << (Qt::CTRL | Qt::SHIFT | Qt::Key_Tab).toCombined() << "alpha";
    QTest::addRow("Ctrl+Shift+Backtab") << (Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab).toCombined() << "alpha";
    QTest::addRow("Ctrl+PgUp") << (Qt::CTRL | Qt::Key_PageUp).toCombined() << "alpha";
    QTest::addRow("Alt+1") << (Qt::ALT | Qt::Key_1).toCombined() << "alpha";
    QTest::addRow("Alt+3") << (Qt::ALT | Qt::Key_3).toCombined() << "gamma";
    QTest::addRow("Alt+4, no such tab") << (Qt::ALT | Qt::Key_4).toCombined() << "beta";
}

void TestMainWindow::projectKeys()
{
    QFETCH(int, key);
    QFETCH(QString, selected);
    for (const QString &name : {QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")})
        importProject(name);
    m_view->selectProjectAt(1);
    QCOMPARE(ProjectStore::folderName(*m_view->selectedProjectRoot()), QStringLiteral("beta"));
    outline()->setFocus();
    press(QKeyCombination::fromCombined(key));
    QCOMPARE(ProjectStore::folderName(*m_view->selectedProjectRoot()), selected);
    // The tab follows.
    QVERIFY(m_view->tabsBar()->tab(*m_view->selectedProjectRoot())->isSelected());
}

void TestMainWindow::closeAndRefreshKeys()
{
    const QString alpha = importProject(QStringLiteral("alpha"));
    importProject(QStringLiteral("beta"));
    m_view->selectProjectAt(0);
    const int loads = m_projects->loadCount();
    press(Qt::Key_F5);
    QTRY_COMPARE(m_projects->loadCount(), loads + 1);
    press(Qt::CTRL | Qt::Key_R);
    QTRY_COMPARE(m_projects->loadCount(), loads + 2);

    // Closing takes the same way as the tab's context menu: the next project is selected.
    press(Qt::CTRL | Qt::Key_W);
    QCOMPARE(m_view->store().projectRoots().size(), 1);
    QVERIFY(!m_view->store().projectRoots().contains(QUrl::fromLocalFile(alpha)));
    QCOMPARE(ProjectStore::folderName(*m_view->selectedProjectRoot()), QStringLiteral("beta"));
    press(Qt::CTRL | Qt::Key_W);
    QVERIFY(m_view->store().projectRoots().isEmpty());
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::placeholder);
}

void TestMainWindow::dashboardPreviewAndEscapeKeys()
{
    importProject(QStringLiteral("app"));
    const QModelIndex proposal = findRow(outline()->model(), QStringLiteral("proposal.md"));
    QVERIFY(proposal.isValid());
    m_view->setSelectedNode(*ProjectTreeModel::nodeAt(proposal));
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::preview);
    auto *preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QVERIFY(preview);

    press(Qt::CTRL | Qt::Key_U);
    QCOMPARE(preview->viewMode(), MarkdownViewMode::source);
    press(Qt::CTRL | Qt::Key_U);
    QCOMPARE(preview->viewMode(), MarkdownViewMode::preview);

    press(Qt::CTRL | Qt::Key_D);
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);
    QVERIFY(!m_view->selectedNode());

    m_view->setSelectedNode(*ProjectTreeModel::nodeAt(proposal));
    press(Qt::ALT | Qt::Key_Home);
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);

    // Escape leaves the file only from inside the detail area, and the focus stays there.
    m_view->setSelectedNode(*ProjectTreeModel::nodeAt(proposal));
    preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QVERIFY(preview);
    QTRY_VERIFY(preview->state().isContent());
    outline()->setFocus();
    QTRY_VERIFY(outline()->hasFocus());
    press(Qt::Key_Escape);
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::preview);
    QVERIFY(m_view->panes().focusPane(PaneNavigator::Pane::detail));
    QTRY_VERIFY(m_view->detailArea()->isAncestorOf(QApplication::focusWidget()));
    press(Qt::Key_Escape);
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);
    QTRY_VERIFY(m_view->detailArea()->isAncestorOf(QApplication::focusWidget()));
}

// Typed into the find bar or the project search, Ctrl+U switches the file between source and
// rendered view (a line edit would delete its line); the keys that edit stay with the field.
void TestMainWindow::textFieldsKeepTheirEditingKeysAndLeaveTheRestToTheWindow()
{
    importProject(QStringLiteral("app"));
    const QModelIndex proposal = findRow(outline()->model(), QStringLiteral("proposal.md"));
    m_view->setSelectedNode(*ProjectTreeModel::nodeAt(proposal));
    auto *preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QVERIFY(preview);
    QTRY_VERIFY(preview->state().isContent());
    preview->contentView()->setFocus();
    QTRY_VERIFY(preview->contentView()->hasFocus());

    press(Qt::CTRL | Qt::Key_F);
    QLineEdit *find = preview->findBar()->field();
    QTRY_VERIFY(find->hasFocus());
    QTest::keyClicks(find, QStringLiteral("Titel"));
    press(Qt::Key_Backspace);
    press(Qt::Key_Left);
    press(Qt::SHIFT | Qt::Key_Home);
    QCOMPARE(find->selectedText(), QStringLiteral("Tit"));
    press(Qt::CTRL | Qt::Key_A);
    QCOMPARE(find->selectedText(), QStringLiteral("Tite"));
    press(Qt::Key_End);
    press(Qt::CTRL | Qt::Key_U);
    QCOMPARE(preview->viewMode(), MarkdownViewMode::source);
    QCOMPARE(find->text(), QStringLiteral("Tite"));
    QVERIFY(find->hasFocus());
    press(Qt::CTRL | Qt::Key_U);
    QCOMPARE(preview->viewMode(), MarkdownViewMode::preview);

    QLineEdit *search = m_view->sidebar()->searchField()->lineEdit();
    m_view->sidebar()->searchField()->focusField();
    QTRY_VERIFY(search->hasFocus());
    QTest::keyClicks(search, QStringLiteral("login"));
    press(Qt::CTRL | Qt::Key_U);
    QCOMPARE(preview->viewMode(), MarkdownViewMode::source);
    QCOMPARE(search->text(), QStringLiteral("login"));
}

void TestMainWindow::commandsApplyOnlyWhenTheyCan()
{
    MainWindowActions &commands = m_window->commands();
    const auto enabled = [&] {
        return QList<bool>{commands.refresh()->isEnabled(),        commands.closeProject()->isEnabled(),
                           commands.nextProject()->isEnabled(),    commands.projectSlot(0)->isEnabled(),
                           commands.projectSlot(1)->isEnabled(),   commands.showDashboard()->isEnabled(),
                           commands.toggleViewMode()->isEnabled(), commands.importProject()->isEnabled()};
    };
    QCOMPARE(enabled(), (QList<bool>{false, false, false, false, false, false, false, true}));
    press(Qt::CTRL | Qt::Key_W); // nothing to close, nothing happens
    QVERIFY(m_view->store().projectRoots().isEmpty());

    importProject(QStringLiteral("alpha"));
    QCOMPARE(enabled(), (QList<bool>{true, true, false, true, false, true, false, true}));
    importProject(QStringLiteral("beta"));
    QCOMPARE(enabled(), (QList<bool>{true, true, true, true, true, true, false, true}));

    m_view->setSelectedNode(
        *ProjectTreeModel::nodeAt(findRow(outline()->model(), QStringLiteral("project.md"))));
    QVERIFY(commands.toggleViewMode()->isEnabled());
    m_view->showDashboard();
    QVERIFY(!commands.toggleViewMode()->isEnabled());
    QVERIFY(commands.focusDocument()->isEnabled());
    QVERIFY(commands.focusOutline()->isEnabled());
}

void TestMainWindow::printCommandsApplyToAShownFileAndExportIt()
{
    // The program's texts, for the failure's message to have its place holders filled.
    QTranslator english;
    QVERIFY(english.load(QStringLiteral("kestrune_en"), QStringLiteral(":/i18n")));
    QCoreApplication::installTranslator(&english);
    const auto removeTranslator = qScopeGuard([&english] { QCoreApplication::removeTranslator(&english); });
    MainWindowActions &commands = m_window->commands();
    QVERIFY(!commands.print()->isEnabled());
    QVERIFY(!commands.exportPdf()->isEnabled());
    // Ctrl+Shift+P prints, and no other command has it.
    const QKeySequence printKey(Qt::CTRL | Qt::SHIFT | Qt::Key_P);
    QCOMPARE(commands.print()->shortcut(), printKey);
    for (const MainWindowActions::Entry &entry : commands.entries()) {
        if (entry.action != commands.print())
            QVERIFY(!entry.action->shortcuts().contains(printKey));
    }

    importProject(QStringLiteral("app"));
    m_view->setSelectedNode(
        *ProjectTreeModel::nodeAt(findRow(outline()->model(), QStringLiteral("proposal.md"))));
    auto *preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QVERIFY(preview);
    QTRY_VERIFY(preview->state().isContent());
    QVERIFY(commands.print()->isEnabled());
    QVERIFY(commands.exportPdf()->isEnabled());

    // The source prints the rendered document too: the export asks where to, suggesting the
    // file's name, and writes a PDF there.
    preview->setViewMode(MarkdownViewMode::source);
    QTemporaryDir target;
    QStringList suggested;
    QString chosen = target.filePath(QStringLiteral("exported"));
    m_window->printing().setSavePathChooser([&suggested, &chosen](QWidget *, const QString &path) {
        suggested.append(path);
        return chosen;
    });
    QSignalSpy exported(&m_window->printing(), &DocumentPrinting::pdfExported);
    QSignalSpy failed(&m_window->printing(), &DocumentPrinting::failed);
    commands.exportPdf()->trigger();
    QCOMPARE(QFileInfo(suggested.value(0)).fileName(), QStringLiteral("proposal.pdf"));
    QCOMPARE(exported.size(), 1);
    const QString pdf = target.filePath(QStringLiteral("exported.pdf"));
    QCOMPARE(exported.at(0).at(0).toString(), pdf);
    QFile written(pdf);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.read(5).startsWith("%PDF-"));

    // The next export starts in the folder used last; a folder that is not there is named with
    // the reason in the message.
    chosen = target.filePath(QStringLiteral("missing/folder/out.pdf"));
    commands.exportPdf()->trigger();
    QCOMPARE(QFileInfo(suggested.value(1)).absolutePath(), QFileInfo(pdf).absolutePath());
    QCOMPARE(failed.size(), 1);
    const QString message = failed.at(0).at(0).toString();
    QVERIFY2(message.contains(QDir::toNativeSeparators(chosen)), qPrintable(message));
    QVERIFY2(message.size() > QDir::toNativeSeparators(chosen).size() + 20, qPrintable(message));
    auto *box = m_window->findChild<QMessageBox *>(QStringLiteral("printFailure"));
    QVERIFY(box);
    QCOMPARE(box->text(), message);
    box->close();

    m_view->showDashboard();
    QVERIFY(!commands.print()->isEnabled());
    QVERIFY(!commands.exportPdf()->isEnabled());
}

void TestMainWindow::themeCommandsAreExclusiveAndFollowTheMode()
{
    MainWindowActions &commands = m_window->commands();
    QVERIFY(commands.themeGroup()->isExclusive());
    QVERIFY(commands.theme(ThemeMode::system)->isChecked());
    commands.theme(ThemeMode::dark)->trigger();
    QCOMPARE(m_theme->mode(), ThemeMode::dark);
    QVERIFY(!commands.theme(ThemeMode::system)->isChecked());
    // The toolbar's theme menu goes the same way and the commands follow.
    m_theme->setMode(ThemeMode::light);
    QVERIFY(commands.theme(ThemeMode::light)->isChecked());
    QCOMPARE(commands.themeGroup()->checkedAction(), commands.theme(ThemeMode::light));
    QVERIFY(!commands.theme(ThemeMode::dark)->icon().isNull());
}

void TestMainWindow::mainMenuListsTheCommandsAndKeepsAPlaceForRecentProjects()
{
    MainWindowActions &commands = m_window->commands();
    MainMenu *menu = m_window->mainMenu();
    QToolButton *button = m_view->toolBar()->mainMenuButton();
    QCOMPARE(button->menu(), menu);
    QVERIFY(!button->icon().isNull());
    QCOMPARE(m_view->toolBar()->buttons().constLast(), button);

    const QList<QAction *> items = menu->actions();
    for (QAction *command :
         {commands.importProject(), commands.refresh(), commands.closeProject(), commands.print(),
          commands.exportPdf(), commands.nextProject(), commands.showDashboard(), commands.toggleViewMode(),
          commands.keyboardShortcuts(), commands.about(), commands.quit()})
        QVERIFY2(items.contains(command), qPrintable(command->text()));
    // Keys only: in the shortcuts window, not the menu.
    QVERIFY(!items.contains(commands.projectSlot(0)));
    QVERIFY(!items.contains(commands.nextPane()));
    QCOMPARE(menu->themeMenu()->actions(), commands.themeGroup()->actions());
    QVERIFY(items.contains(menu->themeMenu()->menuAction()));
    QVERIFY(commands.importProject()->isShortcutVisibleInContextMenu());

    // A later command of another feature lands in its group.
    auto *later = new QAction(QStringLiteral("Reopen Closed Project"));
    later->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    commands.add(later, MainWindowActions::Group::project);
    QVERIFY(menu->actions().indexOf(later) > menu->actions().indexOf(commands.closeProject()));
    QVERIFY(menu->actions().indexOf(later) < menu->actions().indexOf(commands.showDashboard()));
    QCOMPARE(later->parent(), m_window.get());

    // Recent projects right below the import command, gone again with their menu.
    QCOMPARE(menu->recentProjectsMenu(), m_window->recentProjectsMenu());
    auto recent = std::make_unique<QMenu>(QStringLiteral("Open Recent"));
    menu->setRecentProjectsMenu(recent.get());
    QCOMPARE(menu->actions().indexOf(recent->menuAction()),
             menu->actions().indexOf(commands.importProject()) + 1);
    recent.reset();
    QVERIFY(!menu->recentProjectsMenu());
    QCOMPARE(menu->actions().at(menu->actions().indexOf(commands.importProject()) + 1), commands.refresh());

    // F10 opens it without waiting for it to close.
    press(Qt::Key_F10);
    QTRY_VERIFY(menu->isVisible());
    menu->close();
}

// Alt+Down and Alt+Up go from one change mark to the next and back, in the rendered document and
// the source, from the view or the find field (whose editing keys they are not); without marks
// they do nothing and are disabled.
void TestMainWindow::changeKeysVisitTheMarksInBothViews()
{
    const QString root = importProject(QStringLiteral("app"));
    QFile file(root + QStringLiteral("/kestrune/changes/add-login/proposal.md"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("# Title\n\nKept.\n\nChanged, now longer.\n\nKept too.\n\nNew paragraph.\n");
    file.close();
    m_view->setSelectedNode(
        *ProjectTreeModel::nodeAt(findRow(outline()->model(), QStringLiteral("proposal.md"))));
    auto *preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QVERIFY(preview);
    QTRY_VERIFY(preview->state().isContent());
    const ReadingChangeCommands &changes = m_window->readingChangeCommands();
    auto *document = qobject_cast<MarkdownView *>(preview->contentView());
    QVERIFY(document);
    document->setFocus();
    QTRY_VERIFY(document->hasFocus());
    QVERIFY(!changes.nextChange()->isEnabled());
    QVERIFY(!changes.previousChange()->isEnabled());
    press(Qt::ALT | Qt::Key_Down);
    QCOMPARE(document->currentChange(), -1);

    preview->setSeenText(QStringLiteral("# Title\n\nKept.\n\nChanged.\n\nKept too.\n"));
    QTRY_VERIFY(changes.nextChange()->isEnabled());
    QVERIFY(changes.previousChange()->isEnabled());
    QCOMPARE(preview->changeMarks().size(), 2);
    QList<int> visited;
    for (const QKeyCombination key :
         {Qt::ALT | Qt::Key_Down, Qt::ALT | Qt::Key_Down, Qt::ALT | Qt::Key_Down, Qt::ALT | Qt::Key_Up}) {
        press(key);
        visited.append(document->currentChange());
    }
    QCOMPARE(visited, QList<int>({0, 1, 1, 0})); // in order, stopping at the last

    press(Qt::CTRL | Qt::Key_U);
    auto *source = qobject_cast<SourceTextView *>(preview->contentView());
    QVERIFY(source);
    source->setFocus();
    QTRY_VERIFY(source->hasFocus());
    visited.clear();
    for (const QKeyCombination key : {Qt::ALT | Qt::Key_Down, Qt::ALT | Qt::Key_Down, Qt::ALT | Qt::Key_Up}) {
        press(key);
        visited.append(source->currentChange());
    }
    QCOMPARE(visited, QList<int>({0, 1, 0}));
    QCOMPARE(source->textCursor().blockNumber(), preview->changeMarks().at(0).firstLine);

    press(Qt::CTRL | Qt::Key_F);
    QLineEdit *find = preview->findBar()->field();
    QTRY_VERIFY(find->hasFocus());
    QTest::keyClicks(find, QStringLiteral("Kept"));
    press(Qt::ALT | Qt::Key_Down);
    QCOMPARE(source->currentChange(), 1);
    QCOMPARE(find->text(), QStringLiteral("Kept"));
    QVERIFY(find->hasFocus());
}

// Ctrl+M marks the file on show as read: its marks, or the notice that it changed, go, and the
// change commands with them.
void TestMainWindow::markAsReadAppliesWhileTheFileIsChanged()
{
    importProject(QStringLiteral("app"));
    m_view->setSelectedNode(
        *ProjectTreeModel::nodeAt(findRow(outline()->model(), QStringLiteral("proposal.md"))));
    auto *preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QVERIFY(preview);
    QTRY_VERIFY(preview->state().isContent());
    const ReadingChangeCommands &changes = m_window->readingChangeCommands();
    QVERIFY(!changes.markAsRead()->isEnabled());
    QSignalSpy read(preview, &MarkdownPreviewView::markedAsRead);
    press(Qt::CTRL | Qt::Key_M);
    QCOMPARE(read.size(), 0);

    preview->setSeenText(QStringLiteral("# Old title\n"));
    QTRY_VERIFY(changes.markAsRead()->isEnabled());
    QVERIFY(changes.nextChange()->isEnabled());
    press(Qt::CTRL | Qt::Key_M);
    QCOMPARE(read.size(), 1);
    QVERIFY(preview->changeMarks().isEmpty());
    QVERIFY(!changes.markAsRead()->isEnabled());
    QVERIFY(!changes.nextChange()->isEnabled());

    // Changed with nothing to compare: the notice alone, and nothing to go to.
    preview->setChangedWithoutSeenText();
    QVERIFY(preview->changedNotice()->isVisible());
    QVERIFY(changes.markAsRead()->isEnabled());
    QVERIFY(!changes.nextChange()->isEnabled());
    press(Qt::CTRL | Qt::Key_M);
    QCOMPARE(read.size(), 2);
    QVERIFY(!preview->isShowingChangedNotice());
    QVERIFY(!changes.markAsRead()->isEnabled());

    // The menu lists them.
    const QList<QAction *> menu = m_window->mainMenu()->actions();
    for (QAction *action : {changes.nextChange(), changes.previousChange(), changes.markAsRead()})
        QVERIFY(menu.contains(action));
    // On the dashboard they do not apply.
    preview->setSeenText(QStringLiteral("# Old title\n"));
    QTRY_VERIFY(changes.nextChange()->isEnabled());
    m_view->showDashboard();
    QVERIFY(!changes.nextChange()->isEnabled());
    QVERIFY(!changes.markAsRead()->isEnabled());
}

void TestMainWindow::shortcutsWindowListsEveryKeyIncludingLaterOnes()
{
    press(Qt::Key_F1);
    KeyboardShortcutsDialog *dialog = m_window->keyboardShortcutsDialog();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    MainWindowActions &commands = m_window->commands();
    const auto rows = shortcutRows(dialog->list());
    const auto keysOf = [&rows](const QString &text) {
        for (const auto &[command, keys] : rows) {
            if (command == text)
                return keys;
        }
        return QString();
    };
    const QString refreshKeys = keysOf(commands.refresh()->text());
    QVERIFY2(refreshKeys.contains(QStringLiteral("F5")) && refreshKeys.contains(QStringLiteral("Ctrl+R")),
             qPrintable(refreshKeys));
    QVERIFY(keysOf(commands.previousProject()->text()).contains(QStringLiteral("Ctrl+Shift+Tab")));
    QVERIFY(!keysOf(commands.previousProject()->text()).contains(QStringLiteral("Backtab")));
    QCOMPARE(keysOf(commands.nextPane()->text()), QStringLiteral("F6"));
    QCOMPARE(keysOf(commands.print()->text()), QStringLiteral("Ctrl+Shift+P"));
    const ReadingChangeCommands &changes = m_window->readingChangeCommands();
    QCOMPARE(keysOf(changes.nextChange()->text()), QStringLiteral("Alt+Down"));
    QCOMPARE(keysOf(changes.previousChange()->text()), QStringLiteral("Alt+Up"));
    QCOMPARE(keysOf(changes.markAsRead()->text()), QStringLiteral("Ctrl+M"));
    QCOMPARE(keysOf(commands.fileHistory()->text()), QStringLiteral("Ctrl+Alt+H"));
    for (const MainWindowActions::Entry &entry : commands.entries()) {
        if (entry.action != commands.fileHistory())
            QVERIFY(!entry.action->shortcuts().contains(commands.fileHistory()->shortcut()));
    }
    QVERIFY(keysOf(commands.keyboardShortcuts()->text()).contains(QStringLiteral("F1")));
    // Keys that are no command, and the nine project keys on one line.
    QCOMPARE(keysOf(QStringLiteral("shortcuts.hint.leave_preview")), QStringLiteral("Esc"));
    QVERIFY(!keysOf(QStringLiteral("shortcuts.hint.project_slots")).isEmpty());
    QVERIFY(keysOf(commands.projectSlot(0)->text()).isEmpty());
    // Commands without keys are left out.
    QVERIFY(keysOf(commands.about()->text()).isEmpty());
    QCOMPARE(dialog->list()->topLevelItemCount(), 4);
    QCOMPARE(dialog->list()->topLevelItem(0)->text(0),
             MainWindowActions::groupTitle(MainWindowActions::Group::project));

    auto *later = new QAction(QStringLiteral("Find in Project"));
    later->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    commands.add(later, MainWindowActions::Group::navigation);
    const auto updated = shortcutRows(dialog->list());
    QVERIFY(updated.contains(qMakePair(QStringLiteral("Find in Project"), QStringLiteral("Ctrl+Shift+F"))));

    dialog->close();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    press(Qt::CTRL | Qt::Key_Question);
    QTRY_VERIFY(dialog->isVisible());
}

void TestMainWindow::aboutNamesTheProgramItsVersionAndLicence()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("3.4.5"));
    m_window->commands().about()->trigger();
    AboutDialog *about = m_window->aboutDialog();
    QVERIFY(about);
    QTRY_VERIFY(about->isVisible());
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("aboutName"))->text(), QStringLiteral("app.title"));
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("aboutVersion"))->text(),
             QStringLiteral("about.version_format"));
    QCOMPARE(about->findChild<QLabel *>(QStringLiteral("aboutLicence"))->text(),
             QStringLiteral("about.licence"));
    about->accept();
}

void TestMainWindow::tabVisitsThePanesInReadingOrder()
{
    importProject(QStringLiteral("alpha"));
    importProject(QStringLiteral("beta"));
    m_view->selectProjectAt(0);
    QTRY_COMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);
    QTRY_VERIFY(m_view->tabsBar()->isVisible());

    const QList<ProjectTabButton *> tabs = m_view->tabsBar()->tabs();
    MainToolBar *toolBar = m_view->toolBar();
    // Back leads to the project left; there is no way forward yet, so that button is skipped.
    QVERIFY(!toolBar->forwardButton()->isEnabled());
    const QList<QWidget *> expectedStart = {tabs.at(0),
                                            tabs.at(1),
                                            toolBar->backButton(),
                                            toolBar->whatsNewButton(),
                                            toolBar->themeButton(),
                                            toolBar->refreshButton(),
                                            toolBar->importButton(),
                                            toolBar->mainMenuButton(),
                                            m_view->sidebar()->searchField()->lineEdit(),
                                            m_view->sidebar()->dashboardButton(),
                                            outline()};
    tabs.at(0)->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(tabs.at(0)->hasFocus());
    QList<QWidget *> visited = {QApplication::focusWidget()};
    do {
        press(Qt::Key_Tab);
        visited.append(QApplication::focusWidget());
    } while (visited.constLast() != tabs.at(0) && visited.size() < 60);
    QCOMPARE(visited.constLast(), tabs.at(0)); // wrapped around
    QCOMPARE(visited.mid(0, expectedStart.size()), expectedStart);
    const QList<QWidget *> detail =
        visited.mid(expectedStart.size(), visited.size() - expectedStart.size() - 1);
    QVERIFY(!detail.isEmpty());
    for (QWidget *widget : detail)
        QVERIFY2(m_view->detailArea()->isAncestorOf(widget), qPrintable(widget->metaObject()->className()));
    QCOMPARE(m_view->panes().focusChain(), visited.mid(0, visited.size() - 1));

    // Shift+Tab goes the same way back.
    press(Qt::SHIFT | Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), detail.constLast());
    press(Qt::SHIFT | Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), detail.size() > 1 ? detail.at(detail.size() - 2) : outline());

    // Tabs made anew (a project added) keep their place at the front.
    importProject(QStringLiteral("gamma"));
    const QList<ProjectTabButton *> madeAnew = m_view->tabsBar()->tabs();
    QCOMPARE(m_view->panes().focusChain().mid(0, 3), QList<QWidget *>(madeAnew.begin(), madeAnew.end()));
}

void TestMainWindow::f6CyclesTabsOutlineAndDocument()
{
    importProject(QStringLiteral("app"));
    m_view->setSelectedNode(
        *ProjectTreeModel::nodeAt(findRow(outline()->model(), QStringLiteral("project.md"))));
    auto *preview = qobject_cast<MarkdownPreviewView *>(m_view->detailArea()->currentView());
    QVERIFY(preview);
    QTRY_VERIFY(preview->state().isContent());
    outline()->setFocus();
    QTRY_VERIFY(outline()->hasFocus());

    press(Qt::Key_F6);
    // The document itself, not the preview's header.
    QTRY_VERIFY(preview->contentView()->isAncestorOf(QApplication::focusWidget()) ||
                preview->contentView() == QApplication::focusWidget());
    press(Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), m_view->tabsBar()->tabs().constFirst());
    press(Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), outline());
    press(Qt::SHIFT | Qt::Key_F6);
    QCOMPARE(QApplication::focusWidget(), m_view->tabsBar()->tabs().constFirst());

    m_window->commands().focusDocument()->trigger();
    QVERIFY(m_view->detailArea()->isAncestorOf(QApplication::focusWidget()));
    m_window->commands().focusOutline()->trigger();
    QCOMPARE(QApplication::focusWidget(), outline());
}

void TestMainWindow::droppedProjectFolderIsImported()
{
    const QString alpha = m_folders->project(QStringLiteral("alpha"));
    const QString beta = m_folders->project(QStringLiteral("beta"));
    QVERIFY(drop({alpha, beta}));
    QVERIFY(!m_window->dropOverlay()->isVisible()); // shown while dragging, gone with the drop
    QCOMPARE(m_view->store().projectRoots(),
             (QList<QUrl>{QUrl::fromLocalFile(alpha), QUrl::fromLocalFile(beta)}));
    QVERIFY(m_view->selectedProjectRoot());
    QCOMPARE(*m_view->selectedProjectRoot(), QUrl::fromLocalFile(beta)); // the last one
    QVERIFY(!m_view->isShowingImportError());
}

void TestMainWindow::droppedMarkdownFileOpensInItsProject()
{
    const QString root = m_folders->project(QStringLiteral("app"));
    m_projects->hold(QUrl::fromLocalFile(root)); // the file is opened once the outline is read
    const QString proposal = root + QStringLiteral("/kestrune/changes/add-login/proposal.md");
    QVERIFY(drop({proposal}));
    QCOMPARE(m_view->store().projectRoots(), QList<QUrl>{QUrl::fromLocalFile(root)});
    QVERIFY(!m_view->selectedNode());
    m_projects->release(QUrl::fromLocalFile(root));
    QTRY_VERIFY(m_view->selectedNode().has_value());
    QCOMPARE(m_view->selectedNode()->url, QUrl::fromLocalFile(proposal));
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::preview);

    // Dropped again once the project is read: opened at once.
    m_view->showDashboard();
    const QString spec = root + QStringLiteral("/kestrune/changes/add-login/specs/spec.md");
    QVERIFY(drop({spec}));
    QVERIFY(m_view->selectedNode().has_value());
    QCOMPARE(m_view->selectedNode()->name, QStringLiteral("spec.md"));
}

void TestMainWindow::droppedFolderInsideAProjectIsRevealedInTheOutline()
{
    const QString root = m_folders->project(QStringLiteral("app"));
    QVERIFY(drop({root + QStringLiteral("/kestrune/changes/add-login")}));
    QTRY_VERIFY(outline()->currentIndex().isValid());
    const QModelIndex change = outline()->currentIndex();
    QCOMPARE(change.data().toString(), QStringLiteral("add-login"));
    QVERIFY(outline()->isExpanded(change.parent()));
    QVERIFY(outline()->isExpanded(change));
    // Shown, not chosen: the dashboard stays.
    QVERIFY(!m_view->selectedNode());
    QCOMPARE(m_view->detailArea()->content(), DetailArea::Content::dashboard);
}

void TestMainWindow::droppedFolderOutsideAProjectShowsTheImportAlert()
{
    const QString plain = m_folders->plain(QStringLiteral("plain"));
    QVERIFY(drop({plain}));
    QVERIFY(m_view->store().projectRoots().isEmpty());
    QVERIFY(m_view->isShowingImportError());
    // Named with its reason, as the command line names it.
    QVERIFY(m_view->importError() && m_view->importError()->contains(plain) &&
            m_view->importError()->contains(QLatin1String("import.failed.no_kestrune_folder")));
    auto *box = m_view->findChild<QMessageBox *>(QStringLiteral("importFailedAlert"));
    QVERIFY(box && box->isVisible());
    box->buttons().constFirst()->click();
}

void TestMainWindow::dragShowsTheOverlayOnlyForFiles()
{
    DropOverlay *overlay = m_window->dropOverlay();
    QVERIFY(!overlay->isVisible());

    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/project"))});
    QDragEnterEvent ignored(QPoint(200, 200), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &ignored);
    QVERIFY(!ignored.isAccepted());
    QVERIFY(!overlay->isVisible());

    std::unique_ptr<QMimeData> folder(urlData({m_folders->plain(QStringLiteral("plain"))}));
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, folder.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QVERIFY(overlay->isVisible());
    QCOMPARE(overlay->geometry(), m_window->rect());
    QCOMPARE(overlay->text(), QStringLiteral("drop.hint"));
    QVERIFY(overlay->testAttribute(Qt::WA_TransparentForMouseEvents));
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(m_window.get(), &leave);
    QVERIFY(!overlay->isVisible());
}

void TestMainWindow::backAndForwardWalkTheProjectsShown()
{
    MainWindowActions &commands = m_window->commands();
    QVERIFY(
        commands.actions(MainWindowActions::Group::navigation, MainWindowActions::Listing::menuAndShortcuts)
            .contains(commands.back()));
    QCOMPARE(commands.back()->shortcuts().constFirst(),
             QKeySequence::keyBindings(QKeySequence::Back).constFirst());
    QVERIFY(!commands.back()->isEnabled());
    importProject(QStringLiteral("alpha"));
    const QUrl beta = QUrl::fromLocalFile(importProject(QStringLiteral("beta")));
    m_view->selectProjectAt(0);
    QTRY_VERIFY(commands.back()->isEnabled());
    QVERIFY(!commands.forward()->isEnabled());

    // The mouse's back button, wherever it is pressed in the window.
    QTest::mousePress(outline()->viewport(), Qt::BackButton, {}, QPoint(5, 5));
    QCOMPARE(m_view->effectiveProjectRoot(), beta);
    QVERIFY(commands.forward()->isEnabled());
    QTest::mousePress(outline()->viewport(), Qt::ForwardButton, {}, QPoint(5, 5));
    QVERIFY(m_view->effectiveProjectRoot() != beta);
    QVERIFY(!commands.forward()->isEnabled());
    commands.back()->trigger();
    QCOMPARE(m_view->effectiveProjectRoot(), beta);
    commands.forward()->trigger();
    QVERIFY(m_view->effectiveProjectRoot() != beta);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
