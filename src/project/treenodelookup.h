#pragma once

#include "project/treenode.h"

#include <QString>
#include <QUrl>

namespace kestrune {

// The node of an outline at a local path (cleaned, no trailing slash); only the folders on the
// way are searched. Null when the outline does not list the path.
const TreeNode *findNodeAtPath(const TreeNode &tree, const QString &path);

// Where a file of an active change went when the change was archived: the same path inside the
// change's folder, below an archive folder named after the change (with or without the date in
// front, "2025-01-31-add-login" for "add-login"). Null when the file is not in a change, or the
// outline has no such file.
const TreeNode *findArchivedCounterpart(const TreeNode &tree, const QUrl &fileUrl);

} // namespace kestrune
