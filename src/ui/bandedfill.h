#pragma once

class QBrush;
class QPainter;
class QRectF;

namespace kestrune {

// Qt's raster engine hands a fill of 96 spans or more (a scan line of a plain rectangle is one,
// of an antialiased one three) to Qt's thread pool in pieces and waits for them on the painting
// thread. Handing over costs more than filling a window's background on the thread itself, and
// far more than filling a bar or border a few pixels wide: the 64 bars of a deeply nested quote
// took 11 ms of each paint, and the window waited three times that for the pool's threads on a
// busy machine. Tall fills go in bands of `bandRows` device rows, each filled by the painting
// thread itself.
class BandedFill
{
public:
    static constexpr int bandRows = 30;

    // Fills `rect` as one QPainter::fillRect does, in bands that meet at whole device rows.
    static void fillRect(QPainter &painter, const QRectF &rect, const QBrush &brush);
};

} // namespace kestrune
