#pragma once

#include "ui/appearance.h"

#include <QColor>
#include <QPalette>

namespace kestrune {

// A colour that depends on the appearance: a dark and a light RGBA quadruple (components 0 to 1),
// resolved at paint time. Keep it as a value and resolve it where it is drawn, so that a theme
// switch repaints with the other quadruple without any view being rebuilt:
//
//     painter.fillRect(rect, colors.background.resolve(palette()));
class DynamicColor
{
public:
    struct Rgba
    {
        float red = 0;
        float green = 0;
        float blue = 0;
        float alpha = 1;
    };

    constexpr DynamicColor() = default;
    constexpr DynamicColor(Rgba dark, Rgba light) : m_dark(dark), m_light(light) {}

    constexpr Rgba dark() const { return m_dark; }
    constexpr Rgba light() const { return m_light; }

    QColor resolve(Appearance appearance) const;
    // Against the appearance that the palette (normally the painting widget's) carries.
    QColor resolve(const QPalette &palette) const { return resolve(appearanceOf(palette)); }
    // Against the application's appearance, for code that paints without a widget at hand.
    QColor resolve() const { return resolve(currentAppearance()); }

    // The same colour with its alpha multiplied by the factor, in both appearances.
    constexpr DynamicColor withOpacity(float factor) const
    {
        return {{m_dark.red, m_dark.green, m_dark.blue, m_dark.alpha * factor},
                {m_light.red, m_light.green, m_light.blue, m_light.alpha * factor}};
    }

private:
    Rgba m_dark;
    Rgba m_light;
};

// Makes an appearance-dependent colour from eight components: dark red, green, blue, alpha, then
// light red, green, blue, alpha.
constexpr DynamicColor dynamicColor(float darkRed, float darkGreen, float darkBlue, float darkAlpha,
                                    float lightRed, float lightGreen, float lightBlue, float lightAlpha)
{
    return {{darkRed, darkGreen, darkBlue, darkAlpha}, {lightRed, lightGreen, lightBlue, lightAlpha}};
}

} // namespace kestrune
