#include "preview/segmentbutton.h"

#include "preview/previewcolors.h"
#include "preview/previewfonts.h"

#include <QPainter>
#include <QPainterPath>

namespace kestrune {

namespace {

constexpr int paddingH = 8;
constexpr int segmentHeight = 20;
constexpr qreal cornerRadius = 4.5;

} // namespace

SegmentButton::SegmentButton(const QString &text, QWidget *parent) : QAbstractButton(parent)
{
    setText(text);
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setFont(PreviewFonts::body());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize SegmentButton::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(text()) + 2 * paddingH, segmentHeight};
}

QSize SegmentButton::minimumSizeHint() const
{
    return {2 * paddingH, segmentHeight};
}

void SegmentButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette pal = palette();
    if (isChecked()) {
        QPainterPath surface;
        surface.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
        painter.fillPath(surface, PreviewColors::switchSelectedSegment.resolve(pal));
        painter.setPen(QPen(PreviewColors::switchSegmentOutline.resolve(pal), 1));
        painter.drawPath(surface);
    } else if (isDown()) {
        QPainterPath surface;
        surface.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
        painter.fillPath(surface, PreviewColors::switchTrack.resolve(pal));
    }
    if (hasFocus()) {
        QPainterPath ring;
        ring.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), cornerRadius, cornerRadius);
        painter.setPen(QPen(PreviewColors::accent.resolve(pal), 2));
        painter.drawPath(ring);
    }
    painter.setPen(PreviewColors::primaryText.resolve(pal));
    painter.drawText(rect().adjusted(paddingH / 2, 0, -paddingH / 2, 0), Qt::AlignCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(text(), Qt::ElideRight, width() - paddingH));
}

} // namespace kestrune
