#include "model/deltaspectype.h"

namespace kestrune {

QString rawValue(DeltaSpecType type)
{
    switch (type) {
    case DeltaSpecType::added:
        return QStringLiteral("ADDED");
    case DeltaSpecType::modified:
        return QStringLiteral("MODIFIED");
    case DeltaSpecType::removed:
        return QStringLiteral("REMOVED");
    }
    return {};
}

std::optional<DeltaSpecType> deltaSpecTypeFromRawValue(QStringView raw)
{
    for (DeltaSpecType type : {DeltaSpecType::added, DeltaSpecType::modified, DeltaSpecType::removed}) {
        if (raw == rawValue(type))
            return type;
    }
    return std::nullopt;
}

} // namespace kestrune
