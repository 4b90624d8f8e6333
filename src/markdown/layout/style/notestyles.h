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

    // An alert: a bar in the kind's accent colour beside the title row (the kind's mark and
    // title, semibold, in the accent colour) and the body.
    static BlockStyle<AlertConfiguration> alert();

    // The colour an alert kind is told by: blue for a note, green for a tip, purple for
    // something important, amber for a warning, red for caution. Each reads as text on the
    // page of its appearance (contrast 4.5:1 or more).
    static DynamicColor alertAccent(AlertKind kind);
    // An alert's title in the user's language; in English where no table of texts is loaded.
    static QString alertTitle(AlertKind kind);
    // The SymbolIcon name of a kind's mark, "callout.note".
    static QString alertSymbol(AlertKind kind);

    static constexpr DynamicColor defaultRuleColor =
        dynamicColor(1.0f, 1.0f, 1.0f, 0.18f, 0.0f, 0.0f, 0.0f, 0.15f);
};

} // namespace kestrune
