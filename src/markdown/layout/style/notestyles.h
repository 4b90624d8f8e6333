#pragma once

#include "markdown/layout/style/blockconfiguration.h"
#include "markdown/layout/style/blockstyle.h"
#include "ui/dynamiccolor.h"

namespace kestrune {

// The default looks of the notes of a page, kept apart from the other styles of a theme.
class NoteStyles
{
public:
    // A footnote in a smaller size (0.85 em), the first of the notes below a thin rule that
    // separates them from the text.
    static BlockStyle<FootnoteConfiguration> footnote(const DynamicColor &rule = defaultRuleColor);

    static constexpr DynamicColor defaultRuleColor =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.18f, 0.0f, 0.0f, 0.0f, 0.15f);
};

} // namespace kestrune
