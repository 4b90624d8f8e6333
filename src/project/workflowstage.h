#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace kestrune {

// The stages of the workflow, declared in workflow order; views compare stages by position.
enum class WorkflowStage
{
    proposal,
    design,
    specs,
    tasks
};

QString rawValue(WorkflowStage stage);
std::optional<WorkflowStage> workflowStageFromRawValue(QStringView raw);

// Every stage in workflow order.
constexpr std::array<WorkflowStage, 4> allWorkflowStages()
{
    return {WorkflowStage::proposal, WorkflowStage::design, WorkflowStage::specs, WorkflowStage::tasks};
}

// Position of a stage in the workflow, 0 to 3.
constexpr int workflowPosition(WorkflowStage stage)
{
    return static_cast<int>(stage);
}

} // namespace kestrune
