#pragma once

#include "ui/dynamiccolor.h"

#include <QRectF>

class QPainter;
class QPalette;

namespace kestrune {

// A capsule track in the faint ink at 14 % with a capsule of the colour over it from the leading
// edge, as wide as the percentage of the track. The percentage is clamped to 0–100 for the fill
// only; whoever shows it as text shows the value as it is.
class TaskProgressBar
{
public:
    TaskProgressBar(qint64 percent, DynamicColor color);

    qint64 percent() const { return m_percent; }
    // The width of the fill on a track of the given width.
    qreal fillWidth(qreal trackWidth) const;
    void paint(QPainter *painter, const QRectF &rect, const QPalette &palette) const;

private:
    qint64 m_percent = 0;
    DynamicColor m_color;
};

} // namespace kestrune
