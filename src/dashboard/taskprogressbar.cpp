#include "dashboard/taskprogressbar.h"

#include "dashboard/cardsurface.h"
#include "dashboard/dashboardpalette.h"

#include <QPainter>

#include <algorithm>

namespace kestrune {

namespace {

constexpr float trackOpacity = 0.14f;

} // namespace

TaskProgressBar::TaskProgressBar(qint64 percent, DynamicColor color) : m_percent(percent), m_color(color) {}

qreal TaskProgressBar::fillWidth(qreal trackWidth) const
{
    const qint64 clamped = std::clamp<qint64>(m_percent, 0, 100);
    return std::max(0.0, trackWidth) * qreal(clamped) / 100.0;
}

void TaskProgressBar::paint(QPainter *painter, const QRectF &rect, const QPalette &palette) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(CardSurface::capsule(rect),
                      DashboardPalette::faintInk.withOpacity(trackOpacity).resolve(palette));
    const qreal fill = fillWidth(rect.width());
    if (fill > 0) {
        const QRectF bar(rect.left(), rect.top(), fill, rect.height());
        painter->fillPath(CardSurface::capsule(bar), m_color.resolve(palette));
    }
    painter->restore();
}

} // namespace kestrune
