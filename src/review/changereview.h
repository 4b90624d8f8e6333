#pragma once

#include "project/filesystem.h"
#include "review/capabilityreview.h"

#include <QList>
#include <QString>
#include <QUrl>

namespace kestrune {

// Every delta specification of a change beside the current specification of its capability.
struct ChangeReview
{
    QString changeName; // the change folder's name
    QUrl changeFolder;
    bool archived = false;                // the folder lies in changes/archive or changes/archived
    QList<CapabilityReview> capabilities; // in plain order of their names
    ReviewCounts counts;                  // of all capabilities

    bool hasFindings() const;
};

// Reads the delta specifications of `changeFolder` (specs/<capability>/spec.md or
// specs/<capability>.md) and the current specification of each capability
// (kestrune/specs/<capability>/spec.md, else kestrune/specs/<capability>.md) and compares them.
// Archived changes are compared with the specifications as they are now. Nothing is written.
ChangeReview reviewChange(const FileSystem &fileSystem, const QUrl &projectRoot, const QUrl &changeFolder);

} // namespace kestrune
