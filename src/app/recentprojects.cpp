#include "app/recentprojects.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kestrune {

namespace {

// What the settings hold, as a clean list: absolute paths, each once, no more than the maximum.
QStringList readPaths(const QSettings &settings)
{
    QStringList paths;
    const QStringList stored = settings.value(QLatin1String(RecentProjects::settingsKey)).toStringList();
    for (const QString &path : stored) {
        const QString clean = QDir::cleanPath(path);
        if (QDir::isAbsolutePath(clean) && !paths.contains(clean) &&
            paths.size() < RecentProjects::maximumCount)
            paths.append(clean);
    }
    return paths;
}

} // namespace

RecentProjects::RecentProjects(QObject *parent) : RecentProjects(std::make_unique<QSettings>(), parent) {}

RecentProjects::RecentProjects(std::unique_ptr<QSettings> settings, QObject *parent)
    : QObject(parent), m_settings(std::move(settings)), m_paths(readPaths(*m_settings))
{}

RecentProjects::~RecentProjects() = default;

QList<RecentProjects::Entry> RecentProjects::entries() const
{
    QList<Entry> entries;
    entries.reserve(m_paths.size());
    for (const QString &path : m_paths)
        entries.append({path, QFileInfo(path).isDir()});
    return entries;
}

void RecentProjects::add(const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    QStringList paths = m_paths;
    paths.removeAll(clean);
    paths.prepend(clean);
    while (paths.size() > maximumCount)
        paths.removeLast();
    setPaths(std::move(paths));
}

void RecentProjects::remove(const QString &path)
{
    QStringList paths = m_paths;
    paths.removeAll(QDir::cleanPath(path));
    setPaths(std::move(paths));
}

void RecentProjects::clear()
{
    setPaths({});
}

void RecentProjects::setPaths(QStringList paths)
{
    if (paths == m_paths)
        return;
    m_paths = std::move(paths);
    if (m_paths.isEmpty())
        m_settings->remove(QLatin1String(settingsKey));
    else
        m_settings->setValue(QLatin1String(settingsKey), m_paths);
    m_settings->sync();
    Q_EMIT changed();
}

} // namespace kestrune
