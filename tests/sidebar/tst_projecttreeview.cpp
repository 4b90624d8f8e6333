#include "sidebar/projecttreemodel.h"
#include "sidebar/projecttreeview.h"
#include "sidebar/sidebarcolors.h"
#include "sidebar/treerowdelegate.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QTreeView>

using namespace kestrune;

namespace {

TreeNode node(TreeNodeKind kind, const QString &name,
              std::optional<std::vector<TreeNode>> children = std::nullopt)
{
    TreeNode result;
    result.id = QUuid::createUuid();
    result.kind = kind;
    result.name = name;
    result.url = QUrl::fromLocalFile(QStringLiteral("/projects/app/") + name);
    result.children = std::move(children);
    return result;
}

TreeNode file(const QString &name)
{
    return node(TreeNodeKind::markdownFile, name);
}

TreeNode folder(const QString &name, std::vector<TreeNode> children = {})
{
    return node(TreeNodeKind::directory, name, std::move(children));
}

//   changes/ (add-login/ (proposal.md)), empty/, kestrune/ (nested.md), readme.md
std::shared_ptr<const TreeNode> sampleTree()
{
    TreeNode root =
        node(TreeNodeKind::projectRoot, QStringLiteral("app"),
             std::vector<TreeNode>{
                 folder(QStringLiteral("changes"),
                        {folder(QStringLiteral("add-login"), {file(QStringLiteral("proposal.md"))})}),
                 folder(QStringLiteral("empty")),
                 node(TreeNodeKind::kestrune, QStringLiteral("kestrune"),
                      std::vector<TreeNode>{file(QStringLiteral("nested.md"))}),
                 file(QStringLiteral("readme.md")),
             });
    return std::make_shared<const TreeNode>(std::move(root));
}

QModelIndex findRow(const QAbstractItemModel *model, const QString &name, const QModelIndex &parent = {})
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.data().toString() == name)
            return index;
        if (const QModelIndex found = findRow(model, name, index); found.isValid())
            return found;
    }
    return {};
}

} // namespace

class TestProjectTreeView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void emptyStateWhenThereAreNoRows_data();
    void emptyStateWhenThereAreNoRows();
    void clickingARow_data();
    void clickingARow();
    void keyboardOntoAFolderKeepsTheSelection();
    void foldersAreExpandableEvenWhenEmpty();
    void badges_data();
    void badges();
    void badgesShrinkToDotsBeforeTheNameIsCut();
    void statusesReachTheChangeFolderRows();
    void themeSwitchCollapsesEveryFolder();
    void choosingTheCurrentModeAgainKeepsTheOutline();
    void filesOfferTheirHistoryAndProjectRootsTheirRemoval();
    void changeFoldersOfferTheirReview();
    void rescanKeepsTheSelectionWithoutHighlight();
    void rescanKeepsOpenFoldersTheCurrentRowAndTheScrollPosition();
    void revealingANode_data();
    void revealingANode();
    void enterAndRightOpenFoldersEnterOpensFiles();
    void focusRingMarksTheCurrentRowOnlyWithFocus();
    void revealShowsARowWithoutChoosingIt();
    void outlineAndRowsReadWithTheirBadges();

private:
    void click(const QString &name);

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<ThemeController> m_theme;
    std::unique_ptr<ProjectTreeView> m_view;
};

void TestProjectTreeView::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestProjectTreeView::init()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    m_theme = std::make_unique<ThemeController>(std::make_unique<QSettings>(
        m_settingsDir->filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    m_view = std::make_unique<ProjectTreeView>(*m_theme);
    m_view->resize(320, 400);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestProjectTreeView::cleanup()
{
    m_view.reset();
    m_theme.reset();
}

void TestProjectTreeView::click(const QString &name)
{
    QTreeView *list = m_view->listView();
    const QModelIndex index = findRow(list->model(), name);
    QVERIFY2(index.isValid(), qPrintable(name));
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

void TestProjectTreeView::emptyStateWhenThereAreNoRows_data()
{
    QTest::addColumn<int>("shape");
    QTest::addRow("no project") << 0;
    QTest::addRow("root without a children list") << 1;
    QTest::addRow("root with no children") << 2;
    QTest::addRow("root with children") << 3;
}

void TestProjectTreeView::emptyStateWhenThereAreNoRows()
{
    QFETCH(int, shape);
    std::shared_ptr<const TreeNode> tree;
    if (shape == 1)
        tree = std::make_shared<const TreeNode>(node(TreeNodeKind::projectRoot, QStringLiteral("app")));
    else if (shape == 2)
        tree = std::make_shared<const TreeNode>(
            node(TreeNodeKind::projectRoot, QStringLiteral("app"), std::vector<TreeNode>{}));
    else if (shape == 3)
        tree = sampleTree();
    m_view->setOutline(tree);
    QCOMPARE(m_view->isShowingEmptyState(), shape != 3);
    if (shape != 3) {
        auto *text = m_view->findChild<QWidget *>(QStringLiteral("outlineEmptyState"));
        QVERIFY(text && text->isVisible());
        QCOMPARE(text->accessibleName(), QStringLiteral("project_tree.empty"));
    }
}

void TestProjectTreeView::clickingARow_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("selected");
    QTest::addRow("a Markdown file is chosen") << "readme.md"
                                               << "readme.md";
    QTest::addRow("a nested Markdown file is chosen") << "proposal.md"
                                                      << "proposal.md";
    QTest::addRow("a folder keeps the previous choice") << "changes"
                                                        << "nested.md";
    QTest::addRow("a kestrune folder keeps the previous choice") << "kestrune"
                                                                 << "nested.md";
}

void TestProjectTreeView::clickingARow()
{
    QFETCH(QString, clicked);
    QFETCH(QString, selected);
    const auto tree = sampleTree();
    m_view->setOutline(tree);
    m_view->listView()->expandAll();
    const TreeNode previous = tree->children->at(2).children->front(); // nested.md
    m_view->setSelectedNode(previous);
    QSignalSpy changes(m_view.get(), &ProjectTreeView::selectedNodeChanged);

    click(clicked);
    QVERIFY(m_view->selectedNode());
    QCOMPARE(m_view->selectedNode()->name, selected);
    QCOMPARE(changes.count(), selected == QLatin1String("nested.md") ? 0 : 1);
    const QModelIndexList highlighted = m_view->listView()->selectionModel()->selectedRows();
    QCOMPARE(highlighted.size(), 1);
    QCOMPARE(highlighted.constFirst().data().toString(), selected);
}

void TestProjectTreeView::keyboardOntoAFolderKeepsTheSelection()
{
    m_view->setOutline(sampleTree());
    click(QStringLiteral("readme.md"));
    QCOMPARE(m_view->selectedNode()->name, QStringLiteral("readme.md"));
    QTest::keyClick(m_view->listView(), Qt::Key_Up); // onto the kestrune folder
    QCOMPARE(m_view->selectedNode()->name, QStringLiteral("readme.md"));
    QCOMPARE(m_view->listView()->selectionModel()->selectedRows().size(), 1);
    QTest::keyClick(m_view->listView(), Qt::Key_Down); // back onto the file
    QCOMPARE(m_view->selectedNode()->name, QStringLiteral("readme.md"));
}

void TestProjectTreeView::foldersAreExpandableEvenWhenEmpty()
{
    m_view->setOutline(sampleTree());
    const QAbstractItemModel *model = m_view->listView()->model();
    const QModelIndex empty = findRow(model, QStringLiteral("empty"));
    QVERIFY(model->hasChildren(empty));
    QCOMPARE(model->rowCount(empty), 0);
    QVERIFY(!model->hasChildren(findRow(model, QStringLiteral("readme.md"))));
    QVERIFY(!findRow(model, QStringLiteral("app")).isValid()); // the project root is no row
}

void TestProjectTreeView::badges_data()
{
    QTest::addColumn<std::optional<ChangeStatus>>("status");
    QTest::addColumn<std::optional<DeltaSpecType>>("delta");
    QTest::addColumn<QString>("statusBadge"); // empty: none
    QTest::addColumn<QString>("deltaBadge");
    using S = std::optional<ChangeStatus>;
    using D = std::optional<DeltaSpecType>;
    QTest::addRow("draft change") << S(ChangeStatus::draft) << D() << "dashboard.badge.draft"
                                  << "";
    QTest::addRow("active change") << S(ChangeStatus::active) << D() << "dashboard.badge.active"
                                   << "";
    QTest::addRow("completed change") << S(ChangeStatus::completed) << D() << "dashboard.badge.completed"
                                      << "";
    QTest::addRow("archived change has no badge") << S(ChangeStatus::archived) << D() << ""
                                                  << "";
    QTest::addRow("added delta") << S() << D(DeltaSpecType::added) << ""
                                 << "ADDED";
    QTest::addRow("modified delta") << S() << D(DeltaSpecType::modified) << ""
                                    << "MODIFIED";
    QTest::addRow("removed delta") << S() << D(DeltaSpecType::removed) << ""
                                   << "REMOVED";
    QTest::addRow("plain row") << S() << D() << ""
                               << "";
    QTest::addRow("both badges") << S(ChangeStatus::active) << D(DeltaSpecType::added)
                                 << "dashboard.badge.active"
                                 << "ADDED";
}

void TestProjectTreeView::badges()
{
    QFETCH(std::optional<ChangeStatus>, status);
    QFETCH(std::optional<DeltaSpecType>, delta);
    QFETCH(QString, statusBadge);
    QFETCH(QString, deltaBadge);
    TreeNode row = file(QStringLiteral("spec.md"));
    row.deltaType = delta;
    const QRectF rect(0, 0, 300, 26);
    const TreeRowDelegate::RowLayout layout = TreeRowDelegate::layoutRow(rect, row, status);
    QCOMPARE(layout.statusBadge ? layout.statusBadge->text : QString(), statusBadge);
    QCOMPARE(layout.deltaBadge ? layout.deltaBadge->text : QString(), deltaBadge);
    QCOMPARE(layout.symbol, QStringLiteral("doc.text"));
    // Badges sit at the trailing edge, the status badge last, the name stops short of them.
    qreal trailing = rect.right();
    for (const auto &badge : {layout.statusBadge, layout.deltaBadge}) {
        if (!badge)
            continue;
        QVERIFY(badge->rect.right() <= trailing);
        QVERIFY(rect.contains(badge->rect));
        trailing = badge->rect.left();
    }
    QVERIFY(layout.nameRect.right() + 4 <= trailing);
}

void TestProjectTreeView::badgesShrinkToDotsBeforeTheNameIsCut()
{
    TreeNode row = file(QStringLiteral("update-account-recovery.md"));
    row.deltaType = DeltaSpecType::modified;
    bool sawDotsBesideTheWholeName = false;
    for (int width = 640; width >= 60; width -= 2) {
        const QRectF rect(0, 0, width, 26);
        const auto layout = TreeRowDelegate::layoutRow(rect, row, ChangeStatus::completed);
        QVERIFY(layout.statusBadge && layout.deltaBadge);
        const bool dots = layout.statusBadge->dot;
        QCOMPARE(layout.deltaBadge->dot, dots);
        if (width == 640)
            QVERIFY2(!dots, "a wide row shows the badges' texts");
        // The name is cut only once the badges are dots, and nothing overlaps.
        if (layout.name != row.name)
            QVERIFY2(dots, qPrintable(QStringLiteral("name cut beside text badges at %1 px").arg(width)));
        sawDotsBesideTheWholeName = sawDotsBesideTheWholeName || (dots && layout.name == row.name);
        for (const auto &badge : {layout.statusBadge, layout.deltaBadge}) {
            QVERIFY(rect.contains(badge->rect));
            QVERIFY(!badge->rect.intersects(layout.icon));
            QVERIFY(badge->rect.left() >= layout.nameRect.right());
        }
    }
    QVERIFY(sawDotsBesideTheWholeName);
}

void TestProjectTreeView::statusesReachTheChangeFolderRows()
{
    const auto tree = sampleTree();
    const TreeNode &change = tree->children->front().children->front();
    m_view->setOutline(tree);
    m_view->setChangeStatuses({{change.id, ChangeStatus::completed}});
    const QAbstractItemModel *model = m_view->listView()->model();
    QCOMPARE(findRow(model, QStringLiteral("add-login")).data(ProjectTreeModel::ChangeStatusRole).toInt(),
             int(ChangeStatus::completed));
    QVERIFY(!findRow(model, QStringLiteral("changes")).data(ProjectTreeModel::ChangeStatusRole).isValid());
    // Badges may be drawn as bare dots: the tooltip and the accessible text say them.
    const QString completed = Localization::text("dashboard.badge.completed");
    QCOMPARE(findRow(model, QStringLiteral("add-login")).data(Qt::ToolTipRole).toString(),
             QStringLiteral("add-login (%1)").arg(completed));
    QCOMPARE(findRow(model, QStringLiteral("add-login")).data(Qt::AccessibleTextRole).toString(),
             QStringLiteral("add-login, %1").arg(completed));
    QCOMPARE(findRow(model, QStringLiteral("add-login")).data(Qt::DisplayRole).toString(),
             QStringLiteral("add-login"));
}

void TestProjectTreeView::themeSwitchCollapsesEveryFolder()
{
    m_view->setOutline(sampleTree());
    QTreeView *list = m_view->listView();
    list->expandAll();
    const auto expandedCount = [list] {
        int count = 0;
        for (const QString &name :
             {QStringLiteral("changes"), QStringLiteral("add-login"), QStringLiteral("kestrune")})
            count += list->isExpanded(findRow(list->model(), name)) ? 1 : 0;
        return count;
    };
    QCOMPARE(expandedCount(), 3);
    m_theme->setMode(ThemeMode::dark);
    QCOMPARE(expandedCount(), 0);
}

void TestProjectTreeView::choosingTheCurrentModeAgainKeepsTheOutline()
{
    m_view->setOutline(sampleTree());
    QTreeView *list = m_view->listView();
    QSignalSpy changes(m_view.get(), &ProjectTreeView::selectedNodeChanged);
    const QStringList folders = {QStringLiteral("changes"), QStringLiteral("add-login"),
                                 QStringLiteral("kestrune")};
    // The mode the view was built in, then one it switched to. The selection sits in another
    // folder than the expanded changes, which nothing would open again.
    for (const ThemeMode mode : {m_theme->mode(), ThemeMode::dark}) {
        if (mode != m_theme->mode())
            m_theme->setMode(mode);
        for (const QString &name : folders)
            list->expand(findRow(list->model(), name));
        click(QStringLiteral("nested.md"));
        QCOMPARE(m_view->selectedNode()->name, QStringLiteral("nested.md"));
        changes.clear();

        m_theme->setMode(mode);
        for (const QString &name : folders)
            QVERIFY2(list->isExpanded(findRow(list->model(), name)), qPrintable(name));
        const QModelIndexList highlighted = list->selectionModel()->selectedRows();
        QCOMPARE(highlighted.size(), 1);
        QCOMPARE(highlighted.constFirst().data().toString(), QStringLiteral("nested.md"));
        QCOMPARE(m_view->selectedNode()->name, QStringLiteral("nested.md"));
        QCOMPARE(changes.count(), 0);
    }
}

void TestProjectTreeView::filesOfferTheirHistoryAndProjectRootsTheirRemoval()
{
    TreeNode nestedProject =
        node(TreeNodeKind::projectRoot, QStringLiteral("other"), std::vector<TreeNode>{});
    const auto tree = std::make_shared<const TreeNode>(
        node(TreeNodeKind::projectRoot, QStringLiteral("app"),
             std::vector<TreeNode>{nestedProject, file(QStringLiteral("a.md"))}));
    m_view->setOutline(tree);
    QTreeView *list = m_view->listView();
    const auto requestMenu = [&](const QString &name) {
        Q_EMIT list->customContextMenuRequested(list->visualRect(findRow(list->model(), name)).center());
        return m_view->findChild<QMenu *>();
    };

    QVERIFY2(!requestMenu(QStringLiteral("other")), "no handler: no menu");

    QList<QUrl> removed;
    m_view->setRemoveProjectHandler([&](const QUrl &url) { removed.append(url); });
    QMenu *fileMenu = requestMenu(QStringLiteral("a.md"));
    QVERIFY2(fileMenu, "a file row offers its history instead");
    QCOMPARE(fileMenu->actions().size(), 1);
    QSignalSpy histories(m_view.get(), &ProjectTreeView::fileHistoryRequested);
    fileMenu->actions().constFirst()->trigger();
    QCOMPARE(histories.count(), 1);
    QCOMPARE(histories.at(0).at(0).toUrl(), tree->children->back().url);
    delete fileMenu;
    click(QStringLiteral("other"));
    QCOMPARE(m_view->selectedNode()->name, QStringLiteral("other"));
    QSignalSpy changes(m_view.get(), &ProjectTreeView::selectedNodeChanged);
    QMenu *menu = requestMenu(QStringLiteral("other"));
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("common.remove_from_list"));
    menu->actions().constFirst()->trigger();
    menu->close();
    QCOMPARE(removed, QList<QUrl>{nestedProject.url});
    QVERIFY(!m_view->selectedNode());
    QCOMPARE(changes.count(), 1);
}

void TestProjectTreeView::changeFoldersOfferTheirReview()
{
    const auto tree = sampleTree();
    m_view->setOutline(tree);
    const TreeNode &change = tree->children->front().children->front(); // changes/add-login
    m_view->setChangeStatuses({{change.id, ChangeStatus::active}});
    QTreeView *list = m_view->listView();
    list->expandAll();
    QSignalSpy reviews(m_view.get(), &ProjectTreeView::reviewRequested);
    const auto requestMenu = [&](const QString &name) {
        Q_EMIT list->customContextMenuRequested(list->visualRect(findRow(list->model(), name)).center());
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    };
    QVERIFY2(!requestMenu(QStringLiteral("changes")), "a folder without a status is no change");
    QMenu *menu = requestMenu(QStringLiteral("add-login"));
    QVERIFY(menu);
    QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("review.action"));
    menu->actions().constFirst()->trigger();
    menu->close();
    QCOMPARE(reviews.count(), 1);
    QCOMPARE(reviews.at(0).at(0).toUrl(), change.url);
    QCOMPARE(menu->actions().size(), 1); // no history outside git

    // In a project with history, the change's menu leads there too.
    m_view->setShowsHistory(true);
    QSignalSpy histories(m_view.get(), &ProjectTreeView::historyRequested);
    menu = requestMenu(QStringLiteral("add-login"));
    QVERIFY(menu);
    QAction *history = menu->findChild<QAction *>(QStringLiteral("historyAction"));
    QVERIFY(history);
    QCOMPARE(history->text(), QStringLiteral("history.action"));
    history->trigger();
    menu->close();
    QCOMPARE(histories.count(), 1);
    QCOMPARE(histories.at(0).at(0).toUrl(), change.url);
}

void TestProjectTreeView::rescanKeepsTheSelectionWithoutHighlight()
{
    m_view->setOutline(sampleTree());
    click(QStringLiteral("readme.md"));
    const QUuid chosen = m_view->selectedNode()->id;
    QSignalSpy changes(m_view.get(), &ProjectTreeView::selectedNodeChanged);
    m_view->setOutline(sampleTree()); // the same folders under new ids
    QCOMPARE(m_view->selectedNode()->id, chosen);
    QVERIFY(m_view->listView()->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(changes.count(), 0);
}

void TestProjectTreeView::rescanKeepsOpenFoldersTheCurrentRowAndTheScrollPosition()
{
    // A short list, so that there is something to scroll.
    m_view->resize(320, 60);
    m_view->setOutline(sampleTree());
    QTreeView *list = m_view->listView();
    list->expand(findRow(list->model(), QStringLiteral("changes")));
    list->expand(findRow(list->model(), QStringLiteral("add-login")));
    list->expand(findRow(list->model(), QStringLiteral("kestrune")));
    list->selectionModel()->setCurrentIndex(findRow(list->model(), QStringLiteral("nested.md")),
                                            QItemSelectionModel::NoUpdate);
    QVERIFY(list->verticalScrollBar()->maximum() > 0);
    list->verticalScrollBar()->setValue(1);
    const int scroll = list->verticalScrollBar()->value();

    // The rescan brings a new folder beside the open ones.
    TreeNode rescanned = *sampleTree();
    (*rescanned.children)[0].children->push_back(folder(QStringLiteral("add-export")));
    m_view->setOutline(std::make_shared<const TreeNode>(std::move(rescanned)));
    for (const char *name : {"changes", "add-login", "kestrune"})
        QVERIFY2(list->isExpanded(findRow(list->model(), QLatin1String(name))), name);
    QVERIFY(!list->isExpanded(findRow(list->model(), QStringLiteral("add-export"))));
    QCOMPARE(list->currentIndex().data().toString(), QStringLiteral("nested.md"));
    QCOMPARE(list->verticalScrollBar()->value(), scroll);

    // Another project's outline starts closed.
    TreeNode other = *sampleTree();
    other.url = QUrl::fromLocalFile(QStringLiteral("/projects/other"));
    m_view->setOutline(std::make_shared<const TreeNode>(std::move(other)));
    QVERIFY(!list->isExpanded(findRow(list->model(), QStringLiteral("changes"))));
}

void TestProjectTreeView::revealingANode_data()
{
    QTest::addColumn<QString>("revealed");
    QTest::addColumn<QStringList>("expanded");
    QTest::addRow("a nested file opens the folders above it")
        << "proposal.md" << QStringList{"changes", "add-login"};
    QTest::addRow("a folder opens itself and the folders above it")
        << "add-login" << QStringList{"changes", "add-login"};
    QTest::addRow("a top-level file opens nothing") << "readme.md" << QStringList{};
}

void TestProjectTreeView::revealingANode()
{
    QFETCH(QString, revealed);
    QFETCH(QStringList, expanded);
    // A short list, so that the revealed row starts out of view.
    m_view->resize(320, 60);
    const auto tree = sampleTree();
    m_view->setOutline(tree);
    QTreeView *list = m_view->listView();
    const QModelIndex row = findRow(list->model(), revealed);
    QVERIFY(row.isValid());
    QSignalSpy changes(m_view.get(), &ProjectTreeView::selectedNodeChanged);

    QVERIFY(m_view->revealNode(ProjectTreeModel::nodeAt(row)->id));
    QStringList open;
    for (const QString &name :
         {QStringLiteral("changes"), QStringLiteral("add-login"), QStringLiteral("kestrune")})
        if (list->isExpanded(findRow(list->model(), name)))
            open.append(name);
    QCOMPARE(open, expanded);
    QVERIFY(list->viewport()->rect().intersects(list->visualRect(row)));
    QCOMPARE(changes.count(), 0);
    QVERIFY(list->selectionModel()->selectedRows().isEmpty());
    QVERIFY(!m_view->revealNode(QUuid::createUuid()));
}

void TestProjectTreeView::enterAndRightOpenFoldersEnterOpensFiles()
{
    m_view->setOutline(sampleTree());
    QTreeView *list = m_view->listView();
    const QAbstractItemModel *model = list->model();
    QSignalSpy choices(m_view.get(), &ProjectTreeView::selectedNodeChanged);
    const QModelIndex changes = findRow(model, QStringLiteral("changes"));
    list->setCurrentIndex(changes);
    QVERIFY(!list->isExpanded(changes));
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(list->isExpanded(changes));
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(!list->isExpanded(changes));
    QTest::keyClick(list, Qt::Key_Right);
    QVERIFY(list->isExpanded(changes));
    QCOMPARE(choices.count(), 0); // a folder is never chosen

    // Onto the change folder and open it: the current row goes onto folders too.
    QTest::keyClick(list, Qt::Key_Down);
    const QModelIndex change = findRow(model, QStringLiteral("add-login"));
    QCOMPARE(list->currentIndex(), change);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(list->isExpanded(change));

    // Enter opens a file the arrow keys only made current.
    const QModelIndex proposal = findRow(model, QStringLiteral("proposal.md"));
    list->selectionModel()->setCurrentIndex(proposal, QItemSelectionModel::NoUpdate);
    QVERIFY(!m_view->selectedNode());
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(choices.count(), 1);
    QCOMPARE(m_view->selectedNode()->name, QStringLiteral("proposal.md"));
}

void TestProjectTreeView::focusRingMarksTheCurrentRowOnlyWithFocus()
{
    m_view->setOutline(sampleTree());
    QTreeView *list = m_view->listView();
    const QModelIndex empty = findRow(list->model(), QStringLiteral("empty"));
    list->selectionModel()->setCurrentIndex(empty, QItemSelectionModel::NoUpdate);
    const QColor accent = SidebarColors::focusRing.resolve(m_view->palette());
    // The ring runs along the row's top edge, across the indentation, where nothing else draws.
    const QRect row = list->visualRect(empty);
    const auto ringPixels = [&] {
        const QImage image = list->viewport()->grab().toImage();
        int found = 0;
        for (int x = 10; x < list->viewport()->width() - 10; ++x) {
            for (int y = row.top(); y <= row.top() + 3; ++y) {
                const QColor pixel = image.pixelColor(x, y);
                if (qAbs(pixel.red() - accent.red()) < 24 && qAbs(pixel.green() - accent.green()) < 24 &&
                    qAbs(pixel.blue() - accent.blue()) < 24)
                    ++found;
            }
        }
        return found;
    };
    m_view->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    QTRY_VERIFY(ringPixels() > list->viewport()->width() / 2);
    list->clearFocus();
    QTRY_COMPARE(ringPixels(), 0);
}

void TestProjectTreeView::revealShowsARowWithoutChoosingIt()
{
    const auto tree = sampleTree();
    m_view->setOutline(tree);
    QSignalSpy choices(m_view.get(), &ProjectTreeView::selectedNodeChanged);
    const TreeNode &change = tree->children->front().children->front();
    QVERIFY(m_view->revealNode(change.id));
    QTreeView *list = m_view->listView();
    QCOMPARE(list->currentIndex().data().toString(), QStringLiteral("add-login"));
    QVERIFY(list->isExpanded(findRow(list->model(), QStringLiteral("changes"))));
    QVERIFY(list->isExpanded(list->currentIndex()));
    QVERIFY(list->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(choices.count(), 0);
    QVERIFY(!m_view->revealNode(QUuid::createUuid()));
}

void TestProjectTreeView::outlineAndRowsReadWithTheirBadges()
{
    Localization::install(qApp, QLocale(QLocale::English));
    auto tree = std::make_shared<TreeNode>(*sampleTree());
    TreeNode &change = tree->children->front().children->front();
    change.children->push_back(file(QStringLiteral("spec.md")));
    change.children->back().deltaType = DeltaSpecType::added;
    m_view->setOutline(tree);
    m_view->setChangeStatuses({{change.id, ChangeStatus::active}});
    QTreeView *list = m_view->listView();
    list->expandAll();

    QAccessibleInterface *outline = QAccessible::queryAccessibleInterface(list);
    QVERIFY(outline);
    // Named when it was made, before the table was installed here.
    QCOMPARE(outline->text(QAccessible::Name), QStringLiteral("project_tree.accessible_name"));
    QCOMPARE(outline->role(), QAccessible::Tree);
    QStringList rows;
    for (int i = 0; i < outline->childCount(); ++i) {
        if (QAccessibleInterface *row = outline->child(i); row && row->role() == QAccessible::TreeItem)
            rows.append(row->text(QAccessible::Name));
    }
    QVERIFY2(rows.contains(QStringLiteral("add-login, Active")), qPrintable(rows.join(u'|')));
    QVERIFY2(rows.contains(QStringLiteral("spec.md, ADDED")), qPrintable(rows.join(u'|')));
    QVERIFY(rows.contains(QStringLiteral("readme.md")));

    const auto translators = qApp->findChildren<QTranslator *>();
    for (QTranslator *translator : translators) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

QTEST_MAIN(TestProjectTreeView)
#include "tst_projecttreeview.moc"
