#include "markdown/layout/style/notestyles.h"

#include "markdown/layout/style/relativesize.h"

namespace kestrune {

BlockStyle<FootnoteConfiguration> NoteStyles::footnote(const DynamicColor &rule)
{
    return [rule](const FootnoteConfiguration &configuration) {
        const BlockView note = configuration.label.textStyle(TextStyle::fontSize(RelativeSize::em(0.85)));
        if (configuration.number != 1)
            return note;
        return BlockView::vstack(
                   {BlockView::divider(rule), note.padding(BlockView::top, RelativeSize::em(0.8))})
            .margin(RelativeSize::em(1.5), std::nullopt);
    };
}

} // namespace kestrune
