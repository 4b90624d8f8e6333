#include "markdown/layout/style/theme.h"

#include "markdown/layout/style/markerstyles.h"
#include "markdown/layout/style/notestyles.h"

#include <algorithm>

namespace kestrune {

namespace {

constexpr DynamicColor insertedTint = dynamicColor(0.18f, 0.63f, 0.26f, 0.30f, 0.18f, 0.63f, 0.26f, 0.20f);
constexpr DynamicColor deletedTint = dynamicColor(0.97f, 0.32f, 0.29f, 0.30f, 0.97f, 0.32f, 0.29f, 0.18f);

} // namespace

Theme::Theme()
    : code(TextStyle::fontFamilyVariant(FontProperties::FamilyVariant::monospaced)),
      emphasis(TextStyle::fontStyle(FontProperties::Style::italic)),
      strong(TextStyle::fontWeight(QFont::DemiBold)),
      strikethrough(TextStyle::strikethroughStyle(TextLineStyle::single())),
      inserted(TextStyle::underlineStyle(TextLineStyle::single()) + TextStyle::backgroundColor(insertedTint)),
      deleted(TextStyle::strikethroughStyle(TextLineStyle::single()) +
              TextStyle::backgroundColor(deletedTint)),
      findMatch(findMatchTint), currentFindMatch(currentFindMatchTint),
      taskListMarker(MarkerStyles::checkbox()), bulletedListMarker(MarkerStyles::discCircleSquare()),
      numberedListMarker(MarkerStyles::decimal()), footnote(NoteStyles::footnote()),
      alert(NoteStyles::alert())
{}

const BlockStyle<BlockConfiguration> &Theme::heading(int level) const
{
    return headings[size_t(std::clamp(level, 1, 6) - 1)];
}

} // namespace kestrune
