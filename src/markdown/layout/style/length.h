#pragma once

#include "markdown/layout/style/relativesize.h"
#include "markdown/layout/style/textattributes.h"

#include <variant>

namespace kestrune {

// A length a style declares: absolute points, or a size relative to the text style in force
// where the length is used (resolved late, when the view tree is laid out).
class Length
{
public:
    constexpr Length(qreal points = 0) : m_value(points) {}  // NOLINT(google-explicit-constructor)
    constexpr Length(int points) : m_value(qreal(points)) {} // NOLINT(google-explicit-constructor)
    constexpr Length(RelativeSize size) : m_value(size) {}   // NOLINT(google-explicit-constructor)

    qreal points(const TextAttributes &attributes) const
    {
        if (const auto *size = std::get_if<RelativeSize>(&m_value))
            return size->points(attributes.fontProperties);
        return std::get<qreal>(m_value);
    }

    friend bool operator==(const Length &, const Length &) = default;

private:
    std::variant<qreal, RelativeSize> m_value;
};

} // namespace kestrune
