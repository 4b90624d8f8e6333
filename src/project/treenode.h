#pragma once

#include "project/deltaspectype.h"

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>
#include <vector>

namespace kestrune {

enum class TreeNodeKind
{
    projectRoot, // the imported project folder itself; only ever the root of a tree
    kestrune,    // a folder named exactly "kestrune"
    directory,   // any other folder
    markdownFile // a file whose extension is "md" in any letter case
};

// One entry of a project's outline. A plain value: copying a node copies its whole subtree.
// Ids are drawn anew at every scan, so they identify a node within one tree only.
struct TreeNode
{
    QUuid id;
    TreeNodeKind kind = TreeNodeKind::directory;
    QString name;
    QUrl url;
    std::optional<QDateTime> modificationDate;
    std::optional<DeltaSpecType> deltaType;
    bool isArchived = false;
    // A Markdown file that is a symbolic link to something outside the project folder: listed,
    // never read (a repository could point one at /etc/passwd or /proc/self/environ).
    bool linksOutsideProject = false;
    // Absent on Markdown files; present, possibly empty, on the root and on every folder.
    std::optional<std::vector<TreeNode>> children;

    bool isFolder() const { return children.has_value(); }
};

} // namespace kestrune
