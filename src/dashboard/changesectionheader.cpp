#include "dashboard/changesectionheader.h"

#include "dashboard/cardsurface.h"
#include "dashboard/dashboardpalette.h"
#include "ui/localization.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kestrune {

namespace {

constexpr int spacing = 10;
constexpr qreal barWidth = 4;
constexpr qreal barHeight = 18;
constexpr qreal barRadius = 6;
constexpr qreal titleTracking = 1.6;
constexpr int pillPaddingH = 10;
constexpr int pillPaddingV = 4;
constexpr int chevronSize = 11;
constexpr float titleOpacity = 0.90f;
constexpr float countOpacity = 0.85f;

QFont titleFont()
{
    QFont font = SystemFont::font(16, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, titleTracking);
    return font;
}

QFont countFont()
{
    return SystemFont::font(13, QFont::DemiBold, SystemFont::Design::rounded);
}

} // namespace

ChangeSectionHeader::ChangeSectionHeader(const QString &title, DynamicColor accent, QWidget *parent)
    : QAbstractButton(parent), m_accent(accent)
{
    setText(title);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
}

void ChangeSectionHeader::setCount(qint64 count)
{
    if (m_count == count)
        return;
    m_count = count;
    updateGeometry();
    update();
}

QString ChangeSectionHeader::countText() const
{
    return Localization::integer("%lld", m_count);
}

void ChangeSectionHeader::setExpanded(bool expanded)
{
    if (m_expanded == expanded)
        return;
    m_expanded = expanded;
    update();
}

QString ChangeSectionHeader::chevronSymbol() const
{
    return m_expanded ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right");
}

QSizeF ChangeSectionHeader::pillSize() const
{
    const QFontMetrics metrics(countFont());
    return {qreal(metrics.horizontalAdvance(countText()) + 2 * pillPaddingH),
            qreal(metrics.height() + 2 * pillPaddingV)};
}

QSize ChangeSectionHeader::sizeHint() const
{
    const QFontMetrics title(titleFont());
    const QSizeF pill = pillSize();
    const int width = int(barWidth) + spacing + title.horizontalAdvance(text()) + spacing +
                      int(std::ceil(pill.width())) + spacing + chevronSize;
    const int height = std::max({int(barHeight), title.height(), int(std::ceil(pill.height())), chevronSize});
    return {width, height};
}

QSize ChangeSectionHeader::minimumSizeHint() const
{
    return {int(barWidth) + spacing + int(std::ceil(pillSize().width())) + spacing + chevronSize,
            sizeHint().height()};
}

void ChangeSectionHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const qreal middle = height() / 2.0;

    painter.fillPath(
        CardSurface::roundedRect(QRectF(0, middle - barHeight / 2, barWidth, barHeight), barRadius),
        m_accent.resolve(pal));

    const QSizeF pill = pillSize();
    const int chevronLeft = width() - chevronSize;
    const QFont title = titleFont();
    const QFontMetrics titleMetrics(title);
    const int titleLeft = int(barWidth) + spacing;
    // The title gives way first when the header is narrow; pill and chevron keep their size.
    const int titleRoom =
        std::max(0, chevronLeft - spacing - int(std::ceil(pill.width())) - spacing - titleLeft);
    const QString shownTitle = titleMetrics.elidedText(text(), Qt::ElideRight, titleRoom);
    const int titleWidth = std::min(titleRoom, titleMetrics.horizontalAdvance(shownTitle));
    painter.setFont(title);
    painter.setPen(DashboardPalette::secondaryText.withOpacity(titleOpacity).resolve(pal));
    painter.drawText(QRect(titleLeft, 0, titleWidth + 2, height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownTitle);

    const QRectF pillRect(titleLeft + titleWidth + spacing, middle - pill.height() / 2, pill.width(),
                          pill.height());
    painter.fillPath(CardSurface::capsule(pillRect), DashboardPalette::pillFill.resolve(pal));
    painter.setFont(countFont());
    painter.setPen(DashboardPalette::primaryText.withOpacity(countOpacity).resolve(pal));
    painter.drawText(pillRect, Qt::AlignCenter | Qt::TextSingleLine, countText());

    SymbolIcon::paint(&painter, QRectF(chevronLeft, middle - chevronSize / 2.0, chevronSize, chevronSize),
                      chevronSymbol(), DashboardPalette::secondaryText.resolve(pal), QFont::DemiBold);

    if (hasFocus()) {
        painter.setPen(QPen(DashboardPalette::activeAccent.resolve(pal), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(CardSurface::roundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 6));
    }
}

} // namespace kestrune
