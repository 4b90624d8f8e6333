#include "dashboard/specmenubutton.h"

#include "dashboard/dashboardpalette.h"
#include "ui/symbolicon.h"

#include <QPainter>

namespace kestrune {

namespace {

constexpr int symbolSize = 14;

} // namespace

SpecMenuButton::SpecMenuButton(QWidget *parent) : QAbstractButton(parent)
{
    setFixedSize(side, side);
    setFocusPolicy(Qt::TabFocus);
}

QSize SpecMenuButton::sizeHint() const
{
    return {side, side};
}

void SpecMenuButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    if (isDown() || hasFocus()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(DashboardPalette::pillFill.resolve(pal));
        painter.drawRoundedRect(QRectF(rect()), 6, 6);
    }
    SymbolIcon::paint(&painter, QRectF(rect()), u"ellipsis", DashboardPalette::secondaryText.resolve(pal),
                      QFont::DemiBold, symbolSize);
}

} // namespace kestrune
