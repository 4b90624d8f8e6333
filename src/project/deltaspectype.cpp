#include "project/deltaspectype.h"

#include "text/rawvaluetable.h"

namespace kestrune {

namespace {

constexpr RawValueTable<DeltaSpecType, 3> rawValues({{
    {DeltaSpecType::added, "ADDED"},
    {DeltaSpecType::modified, "MODIFIED"},
    {DeltaSpecType::removed, "REMOVED"},
}});

} // namespace

QString rawValue(DeltaSpecType value)
{
    return rawValues.rawValue(value);
}

std::optional<DeltaSpecType> deltaSpecTypeFromRawValue(QStringView raw)
{
    return rawValues.fromRawValue(raw);
}

} // namespace kestrune
