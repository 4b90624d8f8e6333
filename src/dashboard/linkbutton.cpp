#include "dashboard/linkbutton.h"

#include <QFontMetrics>
#include <QPainter>

namespace kestrune {

LinkButton::LinkButton(const QString &text, const QFont &font, DynamicColor color, QWidget *parent)
    : QAbstractButton(parent), m_font(font), m_color(color)
{
    setText(text);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

int LinkButton::baseline() const
{
    return contentsMargins().top() + QFontMetrics(m_font).ascent();
}

QSize LinkButton::sizeHint() const
{
    const QFontMetrics metrics(m_font);
    const QMargins margins = contentsMargins();
    return {metrics.horizontalAdvance(text()) + margins.left() + margins.right(),
            metrics.height() + margins.top() + margins.bottom()};
}

void LinkButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QColor color = m_color.resolve(palette());
    if (isDown())
        color.setAlphaF(color.alphaF() * 0.6f);
    painter.setFont(m_font);
    painter.setPen(color);
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
    if (hasFocus()) {
        const QFontMetrics metrics(m_font);
        const QRect r = contentsRect();
        painter.drawLine(r.left(), baseline() + 2, r.left() + metrics.horizontalAdvance(text()),
                         baseline() + 2);
    }
}

} // namespace kestrune
