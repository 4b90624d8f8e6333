#include "model/changestatus.h"

namespace kestrune {

QString rawValue(ChangeStatus status)
{
    switch (status) {
    case ChangeStatus::draft:
        return QStringLiteral("draft");
    case ChangeStatus::active:
        return QStringLiteral("active");
    case ChangeStatus::completed:
        return QStringLiteral("completed");
    case ChangeStatus::archived:
        return QStringLiteral("archived");
    }
    return {};
}

std::optional<ChangeStatus> changeStatusFromRawValue(QStringView raw)
{
    for (ChangeStatus status :
         {ChangeStatus::draft, ChangeStatus::active, ChangeStatus::completed, ChangeStatus::archived}) {
        if (raw == rawValue(status))
            return status;
    }
    return std::nullopt;
}

} // namespace kestrune
