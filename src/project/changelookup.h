#pragma once

#include "project/filesystem.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace kestrune {

// The folder of a change named by a person or a script: an active change by its folder name
// ("add-tagging"), an archived one by its folder name ("2026-09-14-add-tagging", in
// changes/archive or changes/archived, in any letter case) or, when only one archived change has
// it, by the name after the date.
struct ChangeLookup
{
    std::optional<QUrl> folder; // nothing when no change, or more than one, has the name
    bool archived = false;
    QStringList candidates; // the archive folder names an ambiguous name could mean, in order

    static ChangeLookup find(const FileSystem &fileSystem, const QUrl &projectRoot, const QString &name);
    // The name an archived change had before it was archived: "2026-09-14-add-tagging" ->
    // "add-tagging"; nothing for a folder name without the date.
    static std::optional<QString> undatedName(const QString &folderName);
};

} // namespace kestrune
