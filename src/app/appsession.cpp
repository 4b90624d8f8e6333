#include "app/appsession.h"

#include "app/maincontentview.h"
#include "app/mainwindow.h"
#include "app/splitview.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QSettings>

namespace kestrune {

AppSession::AppSession(QObject *parent) : AppSession(std::make_unique<QSettings>(), parent) {}

AppSession::AppSession(std::unique_ptr<QSettings> settings, QObject *parent)
    : QObject(parent), m_settings(std::move(settings))
{}

AppSession::~AppSession() = default;

bool AppSession::watchesProjects() const
{
    return m_settings->value(QLatin1String(watchProjectsKey), true).toBool();
}

int AppSession::previewZoom() const
{
    return m_settings->value(QLatin1String(previewZoomKey), 100).toInt();
}

void AppSession::setPreviewZoom(int percent)
{
    m_settings->setValue(QLatin1String(previewZoomKey), percent);
}

void AppSession::setWatchesProjects(bool watch)
{
    m_settings->setValue(QLatin1String(watchProjectsKey), watch);
    m_settings->sync();
}

bool AppSession::loadsRemoteImages() const
{
    return m_settings->value(QLatin1String(remoteImagesKey), true).toBool();
}

void AppSession::setLoadsRemoteImages(bool load)
{
    m_settings->setValue(QLatin1String(remoteImagesKey), load);
    m_settings->sync();
}

bool AppSession::notifiesChanges() const
{
    return m_settings->value(QLatin1String(notifyChangesKey), false).toBool();
}

void AppSession::setNotifiesChanges(bool notify)
{
    m_settings->setValue(QLatin1String(notifyChangesKey), notify);
    m_settings->sync();
}

bool AppSession::showsUnreadMarks() const
{
    return m_settings->value(QLatin1String(unreadMarksKey), true).toBool();
}

void AppSession::setShowsUnreadMarks(bool show)
{
    m_settings->setValue(QLatin1String(unreadMarksKey), show);
    m_settings->sync();
}

bool AppSession::reopensProjectsAtStart() const
{
    return m_settings->value(QLatin1String(reopenAtStartKey), true).toBool();
}

void AppSession::setReopensProjectsAtStart(bool reopen)
{
    m_settings->setValue(QLatin1String(reopenAtStartKey), reopen);
    m_settings->sync();
}

QStringList AppSession::openProjects() const
{
    return m_settings->value(QLatin1String(openProjectsKey)).toStringList();
}

std::optional<QString> AppSession::selectedProject() const
{
    const QString selected = m_settings->value(QLatin1String(selectedProjectKey)).toString();
    if (selected.isEmpty())
        return std::nullopt;
    return selected;
}

bool AppSession::restoreWindow(MainWindow &window) const
{
    const QByteArray sidebar = m_settings->value(QLatin1String(sidebarStateKey)).toByteArray();
    if (!sidebar.isEmpty())
        window.contentView()->splitView()->restoreState(sidebar);
    const QByteArray geometry = m_settings->value(QLatin1String(windowGeometryKey)).toByteArray();
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void AppSession::reopenProjects(MainContentView &view) const
{
    const QStringList paths = openProjects();
    for (const QString &path : paths) {
        if (QDir::isAbsolutePath(path) && QFileInfo(QDir(path).filePath(QStringLiteral("kestrune"))).isDir())
            view.store().importProject(QUrl::fromLocalFile(QDir::cleanPath(path)));
    }
    if (const std::optional<QString> selected = selectedProject()) {
        const QUrl root = QUrl::fromLocalFile(QDir::cleanPath(*selected));
        if (view.store().projectRoots().contains(root))
            view.setSelectedProjectRoot(root);
    }
}

void AppSession::track(MainWindow &window)
{
    m_window = &window;
    window.installEventFilter(this);
    MainContentView *view = window.contentView();
    connect(&view->store(), &ProjectStore::projectRootsChanged, this, [this, view] { saveProjects(*view); });
    connect(view, &MainContentView::selectedProjectRootChanged, this, [this, view] { saveProjects(*view); });
    // Quitting (Ctrl+Q) does not close the window first.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (m_window)
            saveWindow(*m_window);
    });
    saveProjects(*view);
}

void AppSession::saveWindow(const MainWindow &window)
{
    m_settings->setValue(QLatin1String(windowGeometryKey), window.saveGeometry());
    m_settings->setValue(QLatin1String(sidebarStateKey), window.contentView()->splitView()->saveState());
    m_settings->sync();
}

void AppSession::saveProjects(const MainContentView &view)
{
    QStringList paths;
    const QList<QUrl> &roots = view.store().projectRoots();
    for (const QUrl &root : roots)
        paths.append(root.toLocalFile());
    m_settings->setValue(QLatin1String(openProjectsKey), paths);
    if (const std::optional<QUrl> selected = view.effectiveProjectRoot())
        m_settings->setValue(QLatin1String(selectedProjectKey), selected->toLocalFile());
    else
        m_settings->remove(QLatin1String(selectedProjectKey));
    m_settings->sync();
}

bool AppSession::eventFilter(QObject *watched, QEvent *event)
{
    // The type first: the window is not to be looked at while it is being destroyed.
    if (event->type() == QEvent::Close && watched == m_window)
        saveWindow(*m_window);
    return QObject::eventFilter(watched, event);
}

} // namespace kestrune
