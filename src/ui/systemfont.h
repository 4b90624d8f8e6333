#pragma once

#include <QFont>

namespace kestrune {

// Fonts given as "the system font at N points, weight W, design D". A point is one
// device-independent pixel, so sizes are pixel sizes. The default design is the application's
// UI font, the monospaced design the system's fixed font; the rounded design has no counterpart
// and uses the UI font.
class SystemFont
{
public:
    enum class Design
    {
        standard,
        rounded,
        monospaced
    };

    SystemFont() = delete;

    // The size of body text ("the default font").
    static constexpr int defaultPixelSize = 13;
    // The size of the smallest caption style.
    static constexpr int caption2PixelSize = 10;

    static QFont font(qreal pixelSize, QFont::Weight weight = QFont::Normal,
                      Design design = Design::standard);
    // The application's UI font at the default size.
    static QFont defaultFont();
};

} // namespace kestrune
