#include "app/recentprojectsmenu.h"

#include "app/recentprojects.h"
#include "text/nativepath.h"
#include "ui/localization.h"

#include <QDir>

namespace kestrune {

namespace {

// The folder as a reader knows it: the home folder as "~", undecodable bytes as U+FFFD, and
// ampersands that are no shortcut marks.
QString entryText(const QString &path)
{
    QString shown = path;
    const QString home = QDir::homePath();
    if (home != QLatin1String("/") && (path == home || path.startsWith(home + QLatin1Char('/'))))
        shown = QLatin1Char('~') + path.mid(home.size());
    shown = NativePath::displayName(QDir::toNativeSeparators(shown));
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return shown;
}

} // namespace

RecentProjectsMenu::RecentProjectsMenu(RecentProjects &projects, QWidget *parent)
    : QMenu(Localization::text("app.recent.title"), parent), m_projects(projects)
{
    setObjectName(QStringLiteral("recentProjectsMenu"));
    connect(&m_projects, &RecentProjects::changed, this, &RecentProjectsMenu::rebuild);
    // A folder may have gone, or come back, since the menu was last built.
    connect(this, &QMenu::aboutToShow, this, &RecentProjectsMenu::rebuild);
    rebuild();
}

void RecentProjectsMenu::rebuild()
{
    // Choosing an entry or "Clear" changes the list while the action is still reporting it, so
    // the old actions go later.
    const QList<QAction *> old = actions();
    for (QAction *action : old) {
        removeAction(action);
        action->deleteLater();
    }
    const QList<RecentProjects::Entry> entries = m_projects.entries();
    for (const RecentProjects::Entry &entry : entries) {
        const QString text = entryText(entry.path);
        QAction *action = addAction(entry.exists ? text : Localization::format("app.recent.missing", text));
        action->setData(entry.path);
        action->setEnabled(entry.exists);
        connect(action, &QAction::triggered, this, [this, path = entry.path] { Q_EMIT projectChosen(path); });
    }
    if (entries.isEmpty())
        addAction(Localization::text("app.recent.empty"))->setEnabled(false);
    addSeparator();
    QAction *clearList = addAction(Localization::text("app.recent.clear"));
    clearList->setObjectName(QStringLiteral("clearRecentProjects"));
    clearList->setEnabled(!entries.isEmpty());
    connect(clearList, &QAction::triggered, &m_projects, &RecentProjects::clear);
}

} // namespace kestrune
