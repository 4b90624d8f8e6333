#pragma once

#include <QImage>
#include <QSize>

namespace kestrune {

// The soft shadow of a rounded card: the card's shape in black, blurred. Images are kept per
// size, radius and corner so that an animated lift does not blur anew on every frame.
class CardShadow
{
public:
    CardShadow() = delete;

    // The card's shape in black, blurred by the radius, with `margin(blurRadius)` of
    // transparent room on every side; the card's top-left corner lies at (margin, margin).
    static QImage image(const QSize &cardSize, qreal cornerRadius, int blurRadius, qreal devicePixelRatio);
    static int margin(int blurRadius) { return blurRadius; }
};

} // namespace kestrune
