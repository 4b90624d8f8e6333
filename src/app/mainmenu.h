#pragma once

#include <QMenu>
#include <QPointer>

namespace kestrune {

class MainWindowActions;

// The menu behind the toolbar's trailing button: the window's commands with their keys, by group
// and in the order they were added, the theme modes in a submenu. It is built from
// MainWindowActions and built again whenever a command is added there, so commands of other
// features appear without changes here.
class MainMenu : public QMenu
{
    Q_OBJECT

public:
    MainMenu(MainWindowActions &actions, QWidget *parent = nullptr);

    // The recently opened projects go right below "Import Project…": the given menu is shown
    // there as a submenu (titled with its own title), null takes it away. The caller keeps
    // ownership; a menu that is destroyed simply disappears from here.
    void setRecentProjectsMenu(QMenu *menu);
    QMenu *recentProjectsMenu() const { return m_recentProjects; }
    QMenu *themeMenu() const { return m_themeMenu; }

private:
    void rebuild();

    MainWindowActions &m_actions;
    QMenu *m_themeMenu = nullptr;
    QPointer<QMenu> m_recentProjects;
};

} // namespace kestrune
