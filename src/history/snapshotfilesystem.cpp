#include "history/snapshotfilesystem.h"

#include <QDir>

#include <algorithm>

namespace kestrune {

namespace {

const QString specificationsFolder = QStringLiteral("kestrune/specs");

} // namespace

SnapshotFileSystem::SnapshotFileSystem(const FileSystem &base, const QString &projectFolder,
                                       const SpecificationSnapshot &snapshot)
    : m_base(base), m_projectFolder(QDir::cleanPath(projectFolder)),
      m_canonicalProjectFolder(base.canonicalPath(m_projectFolder).value_or(m_projectFolder))
{
    for (const HistoricalFile &file : snapshot.files)
        m_files.insert(QDir::cleanPath(file.path), file.content);
}

std::optional<QString> SnapshotFileSystem::specificationPath(const QString &path) const
{
    const QString clean = QDir::cleanPath(path);
    for (const QString &folder : {m_projectFolder, m_canonicalProjectFolder}) {
        if (!clean.startsWith(folder + u'/'))
            continue;
        const QString relative = clean.sliced(folder.size() + 1);
        if (relative == specificationsFolder || relative.startsWith(specificationsFolder + u'/'))
            return relative;
    }
    return std::nullopt;
}

bool SnapshotFileSystem::isSnapshotFolder(const QString &relative) const
{
    const QString prefix = relative + u'/';
    return std::any_of(m_files.keyBegin(), m_files.keyEnd(),
                       [&prefix](const QString &file) { return file.startsWith(prefix); });
}

std::optional<std::vector<DirectoryEntry>> SnapshotFileSystem::listDirectory(const QString &path) const
{
    const std::optional<QString> relative = specificationPath(path);
    if (!relative)
        return m_base.listDirectory(path);
    if (!isSnapshotFolder(*relative))
        return std::nullopt;
    const QString prefix = *relative + u'/';
    const QString folder = QDir::cleanPath(path);
    std::vector<DirectoryEntry> entries;
    QStringList seen;
    QStringList files = m_files.keys();
    files.sort();
    for (const QString &file : std::as_const(files)) {
        if (!file.startsWith(prefix))
            continue;
        const QString rest = file.sliced(prefix.size());
        const qsizetype slash = rest.indexOf(u'/');
        const QString name = slash < 0 ? rest : rest.first(slash);
        if (name.startsWith(u'.') || seen.contains(name))
            continue;
        seen.append(name);
        entries.push_back({name, folder + u'/' + name, slash >= 0, false, std::nullopt});
    }
    return entries;
}

std::optional<QDateTime> SnapshotFileSystem::contentModificationDate(const QString &path) const
{
    if (specificationPath(path))
        return std::nullopt;
    return m_base.contentModificationDate(path);
}

std::optional<QByteArray> SnapshotFileSystem::readFile(const QString &path) const
{
    const std::optional<QString> relative = specificationPath(path);
    if (!relative)
        return m_base.readFile(path);
    const auto file = m_files.constFind(*relative);
    if (file == m_files.cend())
        return std::nullopt;
    return *file;
}

std::optional<QString> SnapshotFileSystem::canonicalPath(const QString &path) const
{
    const std::optional<QString> relative = specificationPath(path);
    if (!relative)
        return m_base.canonicalPath(path);
    if (!exists(path))
        return std::nullopt;
    return m_canonicalProjectFolder + u'/' + *relative;
}

bool SnapshotFileSystem::exists(const QString &path) const
{
    const std::optional<QString> relative = specificationPath(path);
    if (!relative)
        return m_base.exists(path);
    return m_files.contains(*relative) || isSnapshotFolder(*relative);
}

bool SnapshotFileSystem::isDirectory(const QString &path) const
{
    const std::optional<QString> relative = specificationPath(path);
    if (!relative)
        return m_base.isDirectory(path);
    return isSnapshotFolder(*relative);
}

} // namespace kestrune
