#pragma once

#include "project/changeitem.h"
#include "project/changesummary.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace kestrune {

// Markdown files and unarchived change files of one top-level grouping.
struct ModuleStat
{
    QString name;
    qint64 specCount = 0;
    qint64 activeChanges = 0;
};

// The statistics of one project.
struct ProjectSummary
{
    qint64 totalChanges = 0;
    qint64 activeChanges = 0;
    qint64 archivedChanges = 0;
    qint64 draftCount = 0;
    qint64 specCount = 0;
    std::optional<qint64> specReqsCount;
    qint64 addedCount = 0;
    qint64 modifiedCount = 0;
    qint64 removedCount = 0;
    qint64 totalSpecFiles = 0;
    qint64 deltaSpecFiles = 0;
    qint64 moduleCount = 0;
    QList<ChangeItem> recentChanges;
    QList<ChangeSummary> changeSummaries;
    QStringList specNames;
    // Keyed by specification name; iteration follows plain string order of the names.
    QMap<QString, qint64> specRequirementCounts;
    std::optional<qint64> oldestUnarchivedDays;
    qint64 unarchivedOver30Days = 0;
    qint64 unarchivedOver60Days = 0;
    QList<ModuleStat> moduleStats;
};

} // namespace kestrune
