#include "history/requirementhistoryentry.h"

#include "text/rawvaluetable.h"

namespace kestrune {

namespace {

constexpr RawValueTable<RequirementChangeKind, 3> rawValues({{
    {RequirementChangeKind::added, "added"},
    {RequirementChangeKind::modified, "modified"},
    {RequirementChangeKind::removed, "removed"},
}});

} // namespace

QString rawValue(RequirementChangeKind kind)
{
    return rawValues.rawValue(kind);
}

} // namespace kestrune
