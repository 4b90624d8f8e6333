#include "ui/elidedlabel.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace kestrune {

ElidedLabel::ElidedLabel(const QString &text, const QFont &font, DynamicColor color, QWidget *parent)
    : QWidget(parent), m_text(text), m_font(font), m_color(color)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void ElidedLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    if (m_toolTipShowsText)
        setToolTip(text);
    updateGeometry();
    update();
}

void ElidedLabel::setElideMode(Qt::TextElideMode mode)
{
    m_elideMode = mode;
    update();
}

void ElidedLabel::setToolTipShowsText(bool shows)
{
    m_toolTipShowsText = shows;
    setToolTip(shows ? m_text : QString());
}

QString ElidedLabel::displayedText() const
{
    return QFontMetrics(m_font).elidedText(m_text, m_elideMode, width());
}

QSize ElidedLabel::sizeHint() const
{
    // Tracking and hinting make advances fractional: round up, or the text would be elided at
    // its own width.
    const QFontMetricsF metrics(m_font);
    return {int(std::ceil(metrics.horizontalAdvance(m_text))), QFontMetrics(m_font).height()};
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
