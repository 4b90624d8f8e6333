#include "preview/deltabadge.h"

#include "preview/previewfonts.h"
#include "ui/deltabadgestyle.h"
#include "ui/standardcolors.h"

#include <QPainter>
#include <QPainterPath>

namespace kestrune {

namespace {

constexpr int paddingH = 6;
constexpr int paddingV = 4;
constexpr qreal cornerRadius = 4;

} // namespace

DeltaBadge::DeltaBadge(DeltaSpecType type, QWidget *parent)
    : QWidget(parent), m_type(type), m_font(PreviewFonts::caption())
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(DeltaBadgeStyle::text(type));
}

void DeltaBadge::setType(DeltaSpecType type)
{
    if (type == m_type)
        return;
    m_type = type;
    setAccessibleName(DeltaBadgeStyle::text(type));
    updateGeometry();
    update();
}

QSize DeltaBadge::sizeHint() const
{
    const QFontMetrics metrics(m_font);
    return {metrics.horizontalAdvance(DeltaBadgeStyle::text(m_type)) + 2 * paddingH,
            metrics.height() + 2 * paddingV};
}

void DeltaBadge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(shape, DeltaBadgeStyle::fill(m_type).resolve(palette()));
    painter.setFont(m_font);
    painter.setPen(StandardColors::primaryText.resolve(palette()));
    painter.drawText(rect().adjusted(paddingH, paddingV, -paddingH, -paddingV),
                     Qt::AlignCenter | Qt::TextSingleLine, DeltaBadgeStyle::text(m_type));
}

} // namespace kestrune
