#include "project/changestatus.h"

#include "text/rawvaluetable.h"

namespace kestrune {

namespace {

constexpr RawValueTable<ChangeStatus, 4> rawValues({{
    {ChangeStatus::draft, "draft"},
    {ChangeStatus::active, "active"},
    {ChangeStatus::completed, "completed"},
    {ChangeStatus::archived, "archived"},
}});

} // namespace

QString rawValue(ChangeStatus value)
{
    return rawValues.rawValue(value);
}

std::optional<ChangeStatus> changeStatusFromRawValue(QStringView raw)
{
    return rawValues.fromRawValue(raw);
}

} // namespace kestrune
