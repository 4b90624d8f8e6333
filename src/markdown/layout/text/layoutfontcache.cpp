#include "markdown/layout/text/layoutfontcache_p.h"

namespace kestrune {

const QFont &LayoutFontCache::font(const FontProperties &properties)
{
    auto it = m_fonts.find(properties);
    if (it == m_fonts.end())
        it = m_fonts.insert(properties, properties.resolveFont());
    return *it;
}

} // namespace kestrune
