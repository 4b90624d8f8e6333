#include "markdown/layout/theme.h"

#include "markdown/layout/markerstyles.h"

#include <algorithm>

namespace kestrune {

Theme::Theme()
    : code(TextStyle::fontFamilyVariant(FontProperties::FamilyVariant::monospaced)),
      emphasis(TextStyle::fontStyle(FontProperties::Style::italic)),
      strong(TextStyle::fontWeight(QFont::DemiBold)),
      strikethrough(TextStyle::strikethroughStyle(TextLineStyle::single())),
      taskListMarker(MarkerStyles::checkbox()), bulletedListMarker(MarkerStyles::discCircleSquare()),
      numberedListMarker(MarkerStyles::decimal())
{}

const BlockStyle<BlockConfiguration> &Theme::heading(int level) const
{
    return headings[size_t(std::clamp(level, 1, 6) - 1)];
}

} // namespace kestrune
