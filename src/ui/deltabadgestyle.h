#pragma once

#include "ui/dynamiccolor.h"

#include <QString>

namespace kestrune {

// Declared here without its values: the kinds belong to the project records, which only this
// style's own source needs.
enum class DeltaSpecType;

// How the kind of a delta specification is shown wherever it appears as a badge (the outline's
// rows, the preview's header): the heading word of its section, never localised, on a tint of the
// kind's colour.
class DeltaBadgeStyle
{
public:
    DeltaBadgeStyle() = delete;

    static QString text(DeltaSpecType type);
    static DynamicColor color(DeltaSpecType type);
    // The badge's background: the kind's colour at the opacity every badge uses.
    static DynamicColor fill(DeltaSpecType type);
};

} // namespace kestrune
