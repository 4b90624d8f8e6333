#include "ui/separatorline.h"

#include <QPainter>

namespace kestrune {

SeparatorLine::SeparatorLine(Qt::Orientation orientation, DynamicColor color, QWidget *parent)
    : QWidget(parent), m_color(color)
{
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
}

void SeparatorLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color.resolve(palette()));
}

} // namespace kestrune
