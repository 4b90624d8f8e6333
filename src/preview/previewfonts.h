#pragma once

#include "ui/systemfont.h"

#include <QFont>

namespace kestrune {

// The text styles the preview pane names, as fonts of the system design: headline (13, bold),
// body (13) and caption (10).
struct PreviewFonts
{
    static constexpr int bodyPixelSize = SystemFont::defaultPixelSize;
    static constexpr int captionPixelSize = 10;

    static QFont headline() { return SystemFont::font(bodyPixelSize, QFont::Bold); }
    static QFont body() { return SystemFont::font(bodyPixelSize); }
    static QFont caption() { return SystemFont::font(captionPixelSize); }
    // The monospaced design of the body style, for source text.
    static QFont bodyMonospaced()
    {
        return SystemFont::font(bodyPixelSize, QFont::Normal, SystemFont::Design::monospaced);
    }
};

} // namespace kestrune
