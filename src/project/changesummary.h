#pragma once

#include "project/changestatus.h"
#include "project/workflowstage.h"

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

namespace kestrune {

// The analysis of one change folder.
struct ChangeSummary
{
    QUuid id; // the id of the change folder's tree node
    QString changeName;
    QUrl changeDirectoryURL;
    ChangeStatus status = ChangeStatus::draft;
    WorkflowStage workflowStage = WorkflowStage::proposal;
    std::optional<WorkflowStage> currentDraftStage;
    bool hasProposal = false;
    bool hasDesign = false;
    bool hasSpecs = false;
    bool hasTasks = false;
    qint64 taskProgressPercent = 0;
    std::optional<QDateTime> completedAt;
    std::optional<QDateTime> archivedAt;
};

} // namespace kestrune
