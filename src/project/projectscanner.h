#pragma once

#include "project/deltaspectype.h"
#include "project/modelenvironment.h"
#include "project/treenode.h"

#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>
#include <vector>

namespace kestrune {

// The outline tree of a project folder: the entries of its "kestrune" folder, archive folders
// lifted out of "changes" to the top, nothing when the project has no "kestrune" folder.
std::optional<TreeNode> buildTree(const QUrl &projectRoot,
                                  const ModelEnvironment &environment = ModelEnvironment::system());

// A folder's node with its whole subtree, or nothing when the folder cannot be listed. Files
// linking outside that folder are marked as linking outside the project.
std::optional<TreeNode> scanDirectory(const QUrl &url, const QString &name,
                                      const ModelEnvironment &environment = ModelEnvironment::system());

// The delta type of a Markdown file: its first delta heading decides.
std::optional<DeltaSpecType>
detectDeltaType(const QUrl &fileURL, const ModelEnvironment &environment = ModelEnvironment::system());
std::optional<DeltaSpecType> detectDeltaTypeInText(QStringView text);

// True when the lower-cased path contains "archive" (and so "archived") anywhere.
bool isArchivedPath(QStringView path);

// Folders first, then Markdown files; each group in localized standard order of the names.
void orderChildren(std::vector<TreeNode> &nodes);

} // namespace kestrune
