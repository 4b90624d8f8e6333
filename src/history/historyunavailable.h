#pragma once

#include <QString>

namespace kestrune {

// Why a project has no history: a reason to show once, not an error.
enum class HistoryUnavailable
{
    none,
    noRepository,   // the project folder lies in no git work tree
    bareRepository, // the repository found has no work tree
    noCommits,      // the repository has no commit yet (HEAD names an unborn branch)
    unreadable,     // the repository is there but could not be opened or read
};

// A sentence that says why, for a tool or a notice.
QString describe(HistoryUnavailable reason);

} // namespace kestrune
