#pragma once

#include "history/commitrecord.h"

#include <QString>
#include <QStringList>

namespace kestrune {

// What one commit did to a requirement of a specification.
enum class RequirementChangeKind
{
    added,
    modified,
    removed,
};

// "added", "modified", "removed".
QString rawValue(RequirementChangeKind kind);

// One entry of a requirement's history.
struct RequirementHistoryEntry
{
    CommitRecord commit;
    RequirementChangeKind kind = RequirementChangeKind::modified;
    QString specification; // the specification's path after the commit, relative to the project
    // The requirement's block (heading, text and scenarios) before and after; empty where it
    // was not there.
    QString textBefore;
    QString textAfter;
    // The archived change folders (relative to the project) the same commit brought in or changed
    // whose delta specification of this capability names the requirement: the changes that
    // altered it, in path order.
    QStringList archivedChanges;
};

} // namespace kestrune
