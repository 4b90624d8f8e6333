#include "ui/centeredtextview.h"

#include "ui/systemfont.h"

#include <QPainter>

namespace kestrune {

CenteredTextView::CenteredTextView(const QString &text, DynamicColor color, QWidget *parent)
    : QWidget(parent), m_text(text), m_color(color), m_font(SystemFont::defaultFont())
{
    setAccessibleName(text);
}

void CenteredTextView::setText(const QString &text)
{
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void CenteredTextView::setBackground(DynamicColor background)
{
    m_background = background;
    update();
}

void CenteredTextView::setTextFont(const QFont &font)
{
    m_font = font;
    updateGeometry();
    update();
}

QSize CenteredTextView::sizeHint() const
{
    return QFontMetrics(m_font).size(0, m_text) + QSize(16, 16);
}

QSize CenteredTextView::minimumSizeHint() const
{
    return {0, QFontMetrics(m_font).height()};
}

void CenteredTextView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_background)
        painter.fillRect(rect(), m_background->resolve(palette()));
    painter.setFont(m_font);
    painter.setPen(m_color.resolve(palette()));
    painter.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignCenter | Qt::TextWordWrap, m_text);
}

} // namespace kestrune
