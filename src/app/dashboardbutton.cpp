#include "app/dashboardbutton.h"

#include "app/shellcolors.h"
#include "ui/localization.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"

#include <QPainter>

namespace kestrune {

namespace {

constexpr int paddingH = 12;
constexpr int paddingV = 10;
constexpr int spacing = 8;
constexpr int symbolSize = 12;

QFont labelFont()
{
    return SystemFont::font(13, QFont::DemiBold);
}

} // namespace

DashboardButton::DashboardButton(QWidget *parent) : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("dashboardButton"));
    setText(Localization::text("sidebar.dashboard"));
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void DashboardButton::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    update();
}

QSize DashboardButton::sizeHint() const
{
    const QFontMetrics metrics(labelFont());
    return {2 * paddingH + symbolSize + spacing + metrics.horizontalAdvance(text()),
            2 * paddingV + std::max(metrics.height(), symbolSize)};
}

QSize DashboardButton::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void DashboardButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    if (m_active)
        painter.fillRect(rect(), ShellColors::subtleFill.resolve(pal));
    const QColor foreground = (m_active ? ShellColors::strongText : ShellColors::mutedText).resolve(pal);

    const QRect content = rect().adjusted(paddingH, paddingV, -paddingH, -paddingV);
    const QRectF symbol(content.left(), content.top(), symbolSize, content.height());
    SymbolIcon::paint(&painter, symbol, u"square.grid.2x2", foreground, QFont::DemiBold, symbolSize);

    const QFont font = labelFont();
    painter.setFont(font);
    painter.setPen(foreground);
    const QRect label = content.adjusted(symbolSize + spacing, 0, 0, 0);
    painter.drawText(label, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     QFontMetrics(font).elidedText(text(), Qt::ElideRight, label.width()));

    if (hasFocus()) {
        painter.setPen(QPen(ShellColors::accent.resolve(pal), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

} // namespace kestrune
