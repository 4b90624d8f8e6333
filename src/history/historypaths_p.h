#pragma once

// Where a path on disk lies in an opened repository, and what a repository path is in the
// planning folder: the conversions every history read begins with.

#include "history/historyrepositorystate_p.h"
#include "project/planningpath.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kestrune::HistoryPaths {

// The repository path ("kestrune/changes/x", no "/" at either end) of an absolute path on disk
// inside the project folder; nothing for a path outside it.
std::optional<QByteArray> repositoryPathOfFile(const HistoryRepositoryState &state,
                                               const QString &absolutePath);

// What a repository path is in the project's planning folder; nothing outside it.
std::optional<PlanningPath> planningPathOf(const HistoryRepositoryState &state,
                                           const QByteArray &repositoryPath, bool isFolder);

// The repository path of a path relative to the planning folder.
QByteArray repositoryPathOfPlanning(const HistoryRepositoryState &state, const QString &planningPath);

} // namespace kestrune::HistoryPaths
