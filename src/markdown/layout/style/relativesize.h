#pragma once

#include <QtGlobal>

#include <optional>

namespace kestrune {

struct FontProperties;

// A length relative to the text: `em` follows the current, already scaled font size, `rem` the
// unscaled base size of the font properties in force.
struct RelativeSize
{
    enum class Unit
    {
        em,
        rem
    };

    qreal value = 1;
    Unit unit = Unit::em;

    static constexpr RelativeSize em(qreal value) { return {value, Unit::em}; }
    static constexpr RelativeSize rem(qreal value) { return {value, Unit::rem}; }

    // Whole points against the font properties in force (size 13 at scale 1 when there are
    // none). The base and the result are both rounded to the nearest point, halves away from
    // zero: 1.5 em on 17 × 0.92 is round(round(15.64) × 1.5) = 24.
    qreal points(const std::optional<FontProperties> &properties) const;

    friend bool operator==(const RelativeSize &, const RelativeSize &) = default;
};

} // namespace kestrune
