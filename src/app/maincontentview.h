#pragma once

#include "app/detailviewfactory.h"
#include "app/folderpicker.h"
#include "model/changestatus.h"
#include "model/projectstore.h"
#include "model/treenode.h"

#include <QHash>
#include <QUrl>
#include <QUuid>
#include <QWidget>

#include <memory>
#include <optional>

class QMessageBox;

namespace kestrune {

class DetailArea;
class MainToolBar;
class ProjectTabsBar;

class SidebarPane;
class SplitView;
class ThemeController;

// The root view of the main window. It owns the project store, keeps the selected project and
// the selected outline node, and lays out the tabs bar, the sidebar and the detail area; it
// also provides the window's toolbar and runs the import flow.
class MainContentView : public QWidget
{
    Q_OBJECT

public:
    // What tests replace; everything left empty gets the real thing.
    struct Dependencies
    {
        ProjectStore::Loader loader;
        std::unique_ptr<FolderPicker> folderPicker;
        std::unique_ptr<DetailViewFactory> detailViews;
    };

    explicit MainContentView(ThemeController &themeController, QWidget *parent = nullptr);
    MainContentView(ThemeController &themeController, Dependencies dependencies, QWidget *parent = nullptr);
    ~MainContentView() override;

    ProjectStore &store() const { return *m_store; }
    // The toolbar the window shows; the window takes it over.
    MainToolBar *toolBar() const { return m_toolBar; }

    const std::optional<QUrl> &selectedProjectRoot() const { return m_selectedProjectRoot; }
    void setSelectedProjectRoot(const std::optional<QUrl> &root);
    const std::optional<TreeNode> &selectedNode() const { return m_selectedNode; }
    void setSelectedNode(const std::optional<TreeNode> &node);
    // The selected project when it is imported, else the first imported one.
    std::optional<QUrl> effectiveProjectRoot() const;

    // The import flow: ask for a folder, then importFolder.
    void startImport();
    // Imports a chosen folder when it holds a "kestrune" folder and selects it; otherwise shows
    // the import-failure alert. Folders named on the command line come here too.
    void importFolder(const QUrl &folder);
    // Removes a project; when it was the selected one, the first remaining project is selected.
    void removeProject(const QUrl &root);
    // Rescans the current project, or every project when there is none.
    void refresh();

    const std::optional<QString> &importError() const { return m_importError; }
    bool isShowingImportError() const { return m_showImportError; }

    // Derived inputs of the sidebar.
    std::shared_ptr<const TreeNode> outlineTree() const;
    QHash<QUuid, ChangeStatus> changeStatusByNodeId() const;

    ProjectTabsBar *tabsBar() const { return m_tabsBar; }
    SidebarPane *sidebar() const { return m_sidebar; }
    DetailArea *detailArea() const { return m_detailArea; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void onProjectRootsChanged();
    void onProjectDataChanged(const QUrl &root);
    void showImportError(const QString &message);
    void dismissImportError();
    void updateAll();
    void updateTabs();
    void updateSidebar();
    void updateDetail();
    void updateDashboardButton();

    ThemeController &m_themeController;
    ProjectStore *m_store = nullptr;
    std::unique_ptr<FolderPicker> m_folderPicker;
    std::optional<QUrl> m_selectedProjectRoot;
    std::optional<TreeNode> m_selectedNode;
    std::optional<QString> m_importError;
    bool m_showImportError = false;
    // Counts the summaries published, so the dashboard is only updated for a new one.
    quint64 m_summaryRevision = 0;

    MainToolBar *m_toolBar = nullptr;
    ProjectTabsBar *m_tabsBar = nullptr;
    SplitView *m_splitView = nullptr;
    SidebarPane *m_sidebar = nullptr;
    DetailArea *m_detailArea = nullptr;
    QMessageBox *m_alert = nullptr;
};

} // namespace kestrune
