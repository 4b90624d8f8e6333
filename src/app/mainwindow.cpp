#include "app/mainwindow.h"

#include "app/maincontentview.h"
#include "app/maintoolbar.h"
#include "app/recentprojectsmenu.h"
#include "app/shellcolors.h"
#include "ui/localization.h"

#include <QAction>
#include <QApplication>
#include <QPainter>

namespace kestrune {

MainWindow::MainWindow(ThemeController &themeController, RecentProjects &recentProjects, QWidget *parent)
    : QMainWindow(parent), m_contentView(new MainContentView(themeController, this)),
      m_recentProjectsMenu(new RecentProjectsMenu(recentProjects, this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(Localization::text("app.title"));
    setCentralWidget(m_contentView);
    MainToolBar *toolBar = m_contentView->toolBar();
    addToolBar(Qt::TopToolBarArea, toolBar);
    toolBar->show();
    setUnifiedTitleAndToolBarOnMac(true);
    setMinimumSize(minimumContentSize);
    resize(contentSize);

    auto *quit = new QAction(this);
    // The platform's quit key, and Ctrl+Q where the platform names none.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!quitKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Q)))
        quitKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcuts(quitKeys);
    quit->setShortcutContext(Qt::ApplicationShortcut);
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    addAction(quit);

    connect(m_recentProjectsMenu, &RecentProjectsMenu::projectChosen, m_contentView,
            [this](const QString &path) { m_contentView->openPaths({path}); });
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), ShellColors::windowBackground.resolve(palette()));
    // The toolbar sits on the same surface as the tabs bar below it.
    if (const QWidget *toolBar = m_contentView->toolBar(); toolBar && toolBar->isVisible())
        painter.fillRect(toolBar->geometry(), ShellColors::tabsBarBackground.resolve(palette()));
}

} // namespace kestrune
