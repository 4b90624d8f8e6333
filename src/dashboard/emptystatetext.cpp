#include "dashboard/emptystatetext.h"

#include "dashboard/dashboardpalette.h"
#include "ui/systemfont.h"

#include <QFontMetrics>
#include <QPainter>

namespace kestrune {

namespace {

constexpr int paddingH = 8;
constexpr int paddingV = 4;
constexpr int roomyExtra = 12;

QFont textFont()
{
    return SystemFont::font(13, QFont::Medium);
}

} // namespace

EmptyStateText::EmptyStateText(const QString &text, Spacing spacing, QWidget *parent)
    : QWidget(parent), m_text(text), m_spacing(spacing)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(text);
}

QMargins EmptyStateText::padding() const
{
    const int extra = m_spacing == Spacing::roomy ? roomyExtra : 0;
    return {paddingH, paddingV + extra, paddingH, paddingV + extra};
}

QRect EmptyStateText::textRect() const
{
    const QFontMetrics metrics(textFont());
    const QMargins p = padding();
    return {p.left(), p.top(),
            std::min(metrics.horizontalAdvance(m_text), std::max(0, width() - p.left() - p.right())),
            metrics.height()};
}

QSize EmptyStateText::sizeHint() const
{
    const QFontMetrics metrics(textFont());
    const QMargins p = padding();
    return {metrics.horizontalAdvance(m_text) + p.left() + p.right(),
            metrics.height() + p.top() + p.bottom()};
}

QSize EmptyStateText::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void EmptyStateText::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFont font = textFont();
    painter.setFont(font);
    painter.setPen(DashboardPalette::secondaryText.resolve(palette()));
    const QMargins p = padding();
    const QRect area = rect().marginsRemoved(p);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetrics(font).elidedText(m_text, Qt::ElideRight, area.width()));
}

} // namespace kestrune
