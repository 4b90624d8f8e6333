#pragma once

#include <QWidget>

namespace kestrune {

class DashboardButton;
class ProjectTreeView;
class ThemeController;

// The left pane of the main window: the dashboard button, a separator and the project outline,
// over the sidebar background.
class SidebarPane : public QWidget
{
    Q_OBJECT

public:
    explicit SidebarPane(ThemeController &themeController, QWidget *parent = nullptr);

    DashboardButton *dashboardButton() const { return m_dashboardButton; }
    ProjectTreeView *treeView() const { return m_treeView; }

    static constexpr int minimumWidth = 95;
    // Wide enough for a change name with its status badge in the desktop's UI font.
    static constexpr int idealWidth = 240;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DashboardButton *m_dashboardButton = nullptr;
    ProjectTreeView *m_treeView = nullptr;
};

} // namespace kestrune
