#pragma once

#include <QWidget>

#include <memory>

namespace kestrune {

class DashboardButton;
class ProjectSearchController;
class ProjectSearchField;
class ProjectStore;
class ProjectTextIndex;
class ProjectTreeView;
class SearchResultsModel;
class SearchResultsView;
class ThemeController;

// The left pane of the main window: the project search field, the dashboard button, a separator
// and the project outline, over the sidebar background. While a search query is in the field its
// results take the outline's place.
class SidebarPane : public QWidget
{
    Q_OBJECT

public:
    SidebarPane(ThemeController &themeController, ProjectStore &store, ProjectTextIndex &index,
                QWidget *parent = nullptr);
    ~SidebarPane() override;

    DashboardButton *dashboardButton() const { return m_dashboardButton; }
    ProjectTreeView *treeView() const { return m_treeView; }
    ProjectSearchField *searchField() const { return m_searchField; }
    SearchResultsView *searchResults() const { return m_searchResults; }
    ProjectSearchController *search() const { return m_search; }

    static constexpr int minimumWidth = 95;
    // Wide enough for a change name with its status badge in the desktop's UI font.
    static constexpr int idealWidth = 240;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<SearchResultsModel> m_searchModel;
    ProjectSearchField *m_searchField = nullptr;
    DashboardButton *m_dashboardButton = nullptr;
    ProjectTreeView *m_treeView = nullptr;
    SearchResultsView *m_searchResults = nullptr;
    ProjectSearchController *m_search = nullptr;
};

} // namespace kestrune
