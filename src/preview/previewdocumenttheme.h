#pragma once

#include "markdown/layout/style/theme.h"

namespace kestrune {

// The look of a rendered specification: 17-point text in the primary colour, headings on a
// scale from 1.85 em down to 0.88 em (the two largest underlined with a rule), generous
// paragraph spacing, quotes with a bar, code on a rounded tinted background that scrolls
// sideways and is coloured by language, and semibold table headers. Every colour follows the
// appearance.
class PreviewDocumentTheme
{
public:
    PreviewDocumentTheme() = delete;

    static Theme make();
};

} // namespace kestrune
