#include "project/changelookup.h"

#include "project/planningpath.h"
#include "text/plainstringorder.h"

#include <QRegularExpression>

#include <algorithm>

namespace kestrune {

std::optional<QString> ChangeLookup::undatedName(const QString &folderName)
{
    static const QRegularExpression dated(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}-(.+)$"));
    const QRegularExpressionMatch match = dated.match(folderName);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

ChangeLookup ChangeLookup::find(const FileSystem &fileSystem, const QUrl &projectRoot, const QString &name)
{
    ChangeLookup lookup;
    if (name.isEmpty() || name.contains(u'/') || name == QLatin1String(".") || name == QLatin1String(".."))
        return lookup;
    QString changes = projectRoot.toLocalFile();
    if (!changes.endsWith(u'/'))
        changes += u'/';
    changes += QLatin1String("kestrune/changes/");

    if (!PlanningPath::isArchiveFolderName(name) && fileSystem.isDirectory(changes + name)) {
        lookup.folder = QUrl::fromLocalFile(changes + name);
        return lookup;
    }

    // The archive folders as they are spelt on disk, in any letter case.
    QStringList archives;
    if (const std::optional<std::vector<DirectoryEntry>> folders = fileSystem.listDirectory(changes)) {
        for (const DirectoryEntry &folder : *folders) {
            if (PlanningPath::isArchiveFolderName(folder.name))
                archives.append(folder.name);
        }
    }
    std::sort(archives.begin(), archives.end(),
              [](const QString &a, const QString &b) { return plainStringLess(a, b); });

    QStringList exact;
    QStringList undated;
    for (const QString &archive : std::as_const(archives)) {
        const std::optional<std::vector<DirectoryEntry>> entries =
            fileSystem.listDirectory(changes + archive);
        if (!entries)
            continue;
        for (const DirectoryEntry &entry : *entries) {
            if (!entry.isDirectory.value_or(false))
                continue;
            if (entry.name == name)
                exact.append(entry.path);
            else if (undatedName(entry.name) == name)
                undated.append(entry.path);
        }
    }
    const QStringList &found = exact.isEmpty() ? undated : exact;
    if (found.size() == 1) {
        lookup.folder = QUrl::fromLocalFile(found.first());
        lookup.archived = true;
    } else {
        for (const QString &path : found)
            lookup.candidates.append(path.sliced(changes.size()));
        std::sort(lookup.candidates.begin(), lookup.candidates.end(),
                  [](const QString &a, const QString &b) { return plainStringLess(a, b); });
    }
    return lookup;
}

} // namespace kestrune
