#include "dashboard/completedchangerow.h"

#include "dashboard/cardsurface.h"
#include "dashboard/dashboardpalette.h"
#include "dashboard/daystring.h"
#include "dashboard/elisiontooltip.h"
#include "dashboard/hoverhighlightmodifier.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kestrune {

namespace {

constexpr int paddingH = 14;
constexpr int paddingV = 12;
constexpr int spacing = 10;
constexpr int lineSpacing = 4;
constexpr int checkSize = 18;
constexpr int chevronSize = 12;
constexpr qreal cornerRadius = 18;
constexpr float chevronOpacity = 0.65f;

QFont nameFont()
{
    return SystemFont::font(17, QFont::Bold, SystemFont::Design::monospaced);
}

QFont dateFont()
{
    return SystemFont::font(11, QFont::DemiBold, SystemFont::Design::monospaced);
}

} // namespace

CompletedChangeRow::CompletedChangeRow(const ChangeSummary &change, QWidget *parent)
    : QAbstractButton(parent), m_change(change),
      m_date(change.completedAt ? dayString(*change.completedAt) : QString())
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
    setText(change.changeName);
    new HoverHighlightModifier(cornerRadius, this);
}

int CompletedChangeRow::textHeight() const
{
    int height = QFontMetrics(nameFont()).height();
    if (!m_date.isEmpty())
        height += lineSpacing + QFontMetrics(dateFont()).height();
    return height;
}

QSize CompletedChangeRow::sizeHint() const
{
    return {320, 2 * paddingV + std::max(checkSize, textHeight())};
}

QSize CompletedChangeRow::minimumSizeHint() const
{
    return {2 * paddingH + 120, sizeHint().height()};
}

void CompletedChangeRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    CardSurface::paint(&painter, QRectF(rect()), cornerRadius, DashboardPalette::cardFill.resolve(pal),
                       DashboardPalette::cardBorder.resolve(pal));

    const QRect content = rect().adjusted(paddingH, paddingV, -paddingH, -paddingV);
    const qreal middle = content.top() + content.height() / 2.0;
    SymbolIcon::paint(&painter, QRectF(content.left(), middle - checkSize / 2.0, checkSize, checkSize),
                      u"checkmark.circle", DashboardPalette::completedAccent.resolve(pal), QFont::Bold);
    SymbolIcon::paint(
        &painter,
        QRectF(content.right() + 1 - chevronSize, middle - chevronSize / 2.0, chevronSize, chevronSize),
        u"chevron.right", DashboardPalette::secondaryText.withOpacity(chevronOpacity).resolve(pal),
        QFont::Bold);

    const int textLeft = content.left() + checkSize + spacing;
    const int textWidth = std::max(0, content.right() + 1 - chevronSize - spacing - textLeft);
    const QFont name = nameFont();
    const QFontMetrics nameMetrics(name);
    int y = int(std::lround(middle - textHeight() / 2.0));
    painter.setFont(name);
    painter.setPen(DashboardPalette::primaryText.resolve(pal));
    const QString shownName = nameMetrics.elidedText(m_change.changeName, Qt::ElideRight, textWidth);
    m_nameElided = shownName != m_change.changeName;
    painter.drawText(QRect(textLeft, y, textWidth, nameMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownName);
    if (!m_date.isEmpty()) {
        y += nameMetrics.height() + lineSpacing;
        const QFont date = dateFont();
        painter.setFont(date);
        painter.setPen(DashboardPalette::secondaryText.resolve(pal));
        painter.drawText(QRect(textLeft, y, textWidth, QFontMetrics(date).height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_date);
    }

    if (hasFocus()) {
        painter.setPen(QPen(DashboardPalette::activeAccent.resolve(pal), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(CardSurface::roundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), cornerRadius - 1));
    }
}

bool CompletedChangeRow::event(QEvent *event)
{
    // Not a tooltip: leave every other event alone (some come before the members are set).
    if (event->type() == QEvent::ToolTip)
        return ElisionToolTip::show(event, this, m_change.changeName, m_nameElided);
    return QAbstractButton::event(event);
}

} // namespace kestrune
