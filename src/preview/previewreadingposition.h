#pragma once

#include "markdown/layout/view/markdownview.h"
#include "preview/markdownviewmode.h"

#include <optional>

namespace kestrune {

// Where the reader stands in the preview pane: the view mode on show, and the position in the
// rendered document and the top line of the source, for those of the two made so far.
struct PreviewReadingPosition
{
    MarkdownViewMode mode = MarkdownViewMode::preview;
    std::optional<MarkdownView::ReadingPosition> document;
    int sourceTopLine = 0;
};

} // namespace kestrune
