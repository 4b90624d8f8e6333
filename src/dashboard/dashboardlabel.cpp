#include "dashboard/dashboardlabel.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace kestrune {

DashboardLabel::DashboardLabel(const QString &text, const QFont &font, DynamicColor color, QWidget *parent)
    : QWidget(parent), m_text(text), m_font(font), m_color(color)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void DashboardLabel::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

int DashboardLabel::baseline() const
{
    return QFontMetrics(m_font).ascent();
}

QSize DashboardLabel::sizeHint() const
{
    // Tracking makes advances fractional: round up, or the text would not fit its own width.
    const QFontMetricsF metrics(m_font);
    return {int(std::ceil(metrics.horizontalAdvance(m_text))), QFontMetrics(m_font).height()};
}

QSize DashboardLabel::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void DashboardLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(m_font);
    painter.setPen(m_color.resolve(palette()));
    const QFontMetrics metrics(m_font);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     metrics.elidedText(m_text, Qt::ElideRight, width()));
}

} // namespace kestrune
