#include "project/changelookup.h"

#include "text/plainstringorder.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace kestrune {

namespace {

const std::array<QString, 2> archiveFolderNames = {QStringLiteral("archive"), QStringLiteral("archived")};

bool isArchiveFolderName(QStringView name)
{
    return std::find(archiveFolderNames.begin(), archiveFolderNames.end(), name) != archiveFolderNames.end();
}

// "2026-09-14-add-tagging" -> "add-tagging"; nothing for a name without the date.
std::optional<QString> undatedName(const QString &folderName)
{
    static const QRegularExpression dated(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}-(.+)$"));
    const QRegularExpressionMatch match = dated.match(folderName);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

} // namespace

ChangeLookup ChangeLookup::find(const FileSystem &fileSystem, const QUrl &projectRoot, const QString &name)
{
    ChangeLookup lookup;
    if (name.isEmpty() || name.contains(u'/') || name == QLatin1String(".") || name == QLatin1String(".."))
        return lookup;
    QString changes = projectRoot.toLocalFile();
    if (!changes.endsWith(u'/'))
        changes += u'/';
    changes += QLatin1String("kestrune/changes/");

    if (!isArchiveFolderName(name) && fileSystem.isDirectory(changes + name)) {
        lookup.folder = QUrl::fromLocalFile(changes + name);
        return lookup;
    }

    QStringList exact;
    QStringList undated;
    for (const QString &archive : archiveFolderNames) {
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
