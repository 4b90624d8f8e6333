#include "ui/dynamiccolor.h"

namespace kestrune {

QColor DynamicColor::resolve(Appearance appearance) const
{
    const Rgba &c = appearance == Appearance::dark ? m_dark : m_light;
    return QColor::fromRgbF(c.red, c.green, c.blue, c.alpha);
}

} // namespace kestrune
