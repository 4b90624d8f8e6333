#pragma once

#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>

namespace kestrune {

struct PlanningPath;
struct TreeNode;

// How the reading store names the files of a project: by their path relative to the project
// folder, "/" between names ("kestrune/changes/add-login/tasks.md"). The outline lifts archive
// folders, so the path is taken from a node's URL, never from its place in the tree.
namespace ReadingPaths {

// The path of an outline's root, the prefix of its nodes' paths: the folder the outline was
// scanned from, as it was named (which need not be its canonical path).
QString rootPathOf(const TreeNode &tree);
// The path of `url` below `projectPath` (a folder path without a trailing slash); empty for a URL
// outside it.
QString relativeTo(const QString &projectPath, const QUrl &url);
// What a relative path is in the planning folder: nothing outside "kestrune/".
std::optional<PlanningPath> planningPathOf(QStringView relativePath, bool isFolder);
// Whether the path is a change's task list, "kestrune/changes/<change>/tasks.md".
bool isTaskList(QStringView relativePath);

} // namespace ReadingPaths

} // namespace kestrune
