#include "project/workflowstage.h"

#include "text/rawvaluetable.h"

namespace kestrune {

namespace {

constexpr RawValueTable<WorkflowStage, 4> rawValues({{
    {WorkflowStage::proposal, "proposal"},
    {WorkflowStage::design, "design"},
    {WorkflowStage::specs, "specs"},
    {WorkflowStage::tasks, "tasks"},
}});

} // namespace

QString rawValue(WorkflowStage value)
{
    return rawValues.rawValue(value);
}

std::optional<WorkflowStage> workflowStageFromRawValue(QStringView raw)
{
    return rawValues.fromRawValue(raw);
}

} // namespace kestrune
