#include "app/mainmenu.h"

#include "app/mainwindowactions.h"
#include "ui/localization.h"

#include <QActionGroup>

namespace kestrune {

MainMenu::MainMenu(MainWindowActions &actions, QWidget *parent)
    : QMenu(parent), m_actions(actions), m_themeMenu(new QMenu(Localization::text("theme.menu"), this))
{
    setObjectName(QStringLiteral("mainMenu"));
    m_themeMenu->setObjectName(QStringLiteral("mainMenuTheme"));
    connect(&m_actions, &MainWindowActions::listChanged, this, &MainMenu::rebuild);
    rebuild();
}

void MainMenu::setRecentProjectsMenu(QMenu *menu)
{
    if (m_recentProjects)
        disconnect(m_recentProjects, &QObject::destroyed, this, nullptr);
    m_recentProjects = menu;
    if (menu) {
        // Emitted while the menu is half destroyed: it must not be added again.
        connect(menu, &QObject::destroyed, this, [this] {
            m_recentProjects = nullptr;
            rebuild();
        });
    }
    rebuild();
}

void MainMenu::rebuild()
{
    clear();
    m_themeMenu->clear();
    const QList<QAction *> themes = m_actions.themeGroup()->actions();
    for (const MainWindowActions::Group group : MainWindowActions::allGroups) {
        const QList<QAction *> actions =
            m_actions.actions(group, MainWindowActions::Listing::menuAndShortcuts);
        if (actions.isEmpty())
            continue;
        if (!isEmpty())
            addSeparator();
        for (QAction *action : actions) {
            if (themes.contains(action)) {
                if (m_themeMenu->isEmpty())
                    addMenu(m_themeMenu);
                m_themeMenu->addAction(action);
                continue;
            }
            addAction(action);
            if (action == m_actions.importProject() && m_recentProjects)
                addMenu(m_recentProjects);
        }
    }
}

} // namespace kestrune
