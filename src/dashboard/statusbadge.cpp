#include "dashboard/statusbadge.h"

#include "dashboard/cardsurface.h"
#include "ui/systemfont.h"

#include <QFontMetrics>
#include <QPainter>

namespace kestrune {

namespace {

constexpr int paddingH = 10;
constexpr int paddingV = 4;
constexpr qreal cornerRadius = 8;
constexpr float outlineOpacity = 0.45f;

QFont badgeFont()
{
    return SystemFont::font(12, QFont::Bold);
}

} // namespace

StatusBadge::StatusBadge(const QString &text, DynamicColor color, float fillOpacity)
    : m_text(text), m_color(color), m_fillOpacity(fillOpacity)
{}

QSizeF StatusBadge::size() const
{
    return {qreal(QFontMetrics(badgeFont()).horizontalAdvance(m_text) + 2 * paddingH), height()};
}

qreal StatusBadge::height()
{
    return qreal(QFontMetrics(badgeFont()).height() + 2 * paddingV);
}

void StatusBadge::paint(QPainter *painter, const QPointF &topLeft, const QPalette &palette) const
{
    const QRectF bounds(topLeft, size());
    CardSurface::paint(painter, bounds, cornerRadius, m_color.withOpacity(m_fillOpacity).resolve(palette),
                       m_color.withOpacity(outlineOpacity).resolve(palette));
    painter->save();
    painter->setFont(badgeFont());
    painter->setPen(m_color.resolve(palette));
    painter->drawText(bounds, Qt::AlignCenter | Qt::TextSingleLine, m_text);
    painter->restore();
}

} // namespace kestrune
