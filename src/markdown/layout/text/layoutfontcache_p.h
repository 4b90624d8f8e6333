#pragma once

#include "markdown/layout/style/fontproperties.h"

#include <QFont>
#include <QHash>

namespace kestrune {

// Resolved fonts by their properties, shared by the text of one document.
class LayoutFontCache
{
public:
    const QFont &font(const FontProperties &properties);

private:
    QHash<FontProperties, QFont> m_fonts;
};

} // namespace kestrune
