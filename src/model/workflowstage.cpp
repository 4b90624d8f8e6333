#include "model/workflowstage.h"

namespace kestrune {

QString rawValue(WorkflowStage stage)
{
    switch (stage) {
    case WorkflowStage::proposal:
        return QStringLiteral("proposal");
    case WorkflowStage::design:
        return QStringLiteral("design");
    case WorkflowStage::specs:
        return QStringLiteral("specs");
    case WorkflowStage::tasks:
        return QStringLiteral("tasks");
    }
    return {};
}

std::optional<WorkflowStage> workflowStageFromRawValue(QStringView raw)
{
    for (WorkflowStage stage : allWorkflowStages()) {
        if (raw == rawValue(stage))
            return stage;
    }
    return std::nullopt;
}

} // namespace kestrune
