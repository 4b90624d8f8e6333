#pragma once

#include "project/modelenvironment.h"
#include "project/projectsummary.h"
#include "project/treenode.h"

#include <QStringView>
#include <QUrl>

#include <optional>

namespace kestrune {

// The statistics of a scanned project, computed in one walk of its tree.
ProjectSummary computeSummary(const TreeNode &root,
                              const ModelEnvironment &environment = ModelEnvironment::system());

// The file holding a specification: <root>/kestrune/specs/<name>/spec.md, else
// <root>/kestrune/specs/<name>.md, else nothing.
std::optional<QUrl> specFileURL(const QUrl &projectRoot, const QString &specName,
                                const ModelEnvironment &environment = ModelEnvironment::system());
std::optional<QUrl> specFileURL(const QUrl &projectRoot, const QString &specName,
                                const FileSystem &fileSystem);

// The requirement headings of a specification's text as the review reads them
// (SpecificationLineReader): "### Requirement: NAME" or "### Requirement：NAME" outside fenced code.
qint64 countRequirements(QStringView text);

} // namespace kestrune
