#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace kestrune {

// The kind of a delta specification, read from the first delta heading of the file.
enum class DeltaSpecType
{
    added,
    modified,
    removed
};

QString rawValue(DeltaSpecType type);
std::optional<DeltaSpecType> deltaSpecTypeFromRawValue(QStringView raw);

} // namespace kestrune
