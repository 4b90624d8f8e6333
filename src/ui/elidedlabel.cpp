#include "ui/elidedlabel.h"

#include <QPainter>

namespace kestrune {

ElidedLabel::ElidedLabel(const QFont &font, DynamicColor color, Qt::TextElideMode elideMode, QWidget *parent)
    : QWidget(parent), m_font(font), m_color(color), m_elideMode(elideMode)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ElidedLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    setToolTip(text);
    updateGeometry();
    update();
}

QString ElidedLabel::displayedText() const
{
    return QFontMetrics(m_font).elidedText(m_text, m_elideMode, width());
}

QSize ElidedLabel::sizeHint() const
{
    const QFontMetrics metrics(m_font);
    return {metrics.horizontalAdvance(m_text), metrics.height()};
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {0, QFontMetrics(m_font).height()};
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(m_font);
    painter.setPen(m_color.resolve(palette()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, displayedText());
}

} // namespace kestrune
