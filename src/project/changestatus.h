#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace kestrune {

// Where a change stands; the rules that choose it live in the change analysis.
enum class ChangeStatus
{
    draft,
    active,
    completed,
    archived
};

QString rawValue(ChangeStatus status);
std::optional<ChangeStatus> changeStatusFromRawValue(QStringView raw);

} // namespace kestrune
