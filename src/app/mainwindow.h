#pragma once

#include <QMainWindow>

namespace kestrune {

class MainContentView;
class RecentProjects;
class RecentProjectsMenu;
class ThemeController;

// The program's one window: the root view as its central widget, the root view's toolbar at
// the top, the window background behind them. Ctrl+Q (the platform's quit key) ends the program.
// It also holds the "Open Recent" menu of the recent projects, wired to open the chosen one, for
// the main menu to show.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr QSize contentSize{1200, 1000};
    static constexpr QSize minimumContentSize{600, 400};

    MainWindow(ThemeController &themeController, RecentProjects &recentProjects, QWidget *parent = nullptr);

    MainContentView *contentView() const { return m_contentView; }
    RecentProjectsMenu *recentProjectsMenu() const { return m_recentProjectsMenu; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    MainContentView *m_contentView = nullptr;
    RecentProjectsMenu *m_recentProjectsMenu = nullptr;
};

} // namespace kestrune
