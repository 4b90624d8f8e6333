#pragma once

#include <QMenu>

namespace kestrune {

class RecentProjects;

// "Open Recent": one entry per recent project, most recent first, showing its folder (the home
// folder as "~"); a folder that is gone is marked missing and cannot be chosen. Below them,
// "Clear" empties the list. The entries follow every change of the list and are checked for
// missing folders each time the menu opens. Choosing an entry only reports it: whoever shows
// the menu opens the folder (MainContentView::openPaths).
class RecentProjectsMenu : public QMenu
{
    Q_OBJECT

public:
    explicit RecentProjectsMenu(RecentProjects &projects, QWidget *parent = nullptr);

Q_SIGNALS:
    void projectChosen(const QString &path);

private:
    void rebuild();

    RecentProjects &m_projects;
};

} // namespace kestrune
