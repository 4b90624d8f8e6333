#include "history/changehistoryevent.h"

#include "text/rawvaluetable.h"

namespace kestrune {

namespace {

constexpr RawValueTable<ChangeEventKind, 5> rawValues({{
    {ChangeEventKind::created, "created"},
    {ChangeEventKind::edited, "edited"},
    {ChangeEventKind::tasks, "tasks"},
    {ChangeEventKind::archived, "archived"},
    {ChangeEventKind::renamed, "renamed"},
}});

} // namespace

QString rawValue(ChangeEventKind kind)
{
    return rawValues.rawValue(kind);
}

std::optional<ChangeEventKind> changeEventKindFromRawValue(QStringView raw)
{
    return rawValues.fromRawValue(raw);
}

} // namespace kestrune
