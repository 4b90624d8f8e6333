#include "dashboard/completedchangerow.h"

#include "dashboard/dashboardpalette.h"
#include "text/daystring.h"
#include "ui/localization.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"

#include <QFontMetrics>
#include <QKeyEvent>
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
    : QAbstractButton(parent), m_change(change), m_date(dateTextOf(change)),
      m_frame(this, paddingH, paddingV, {DashboardPalette::cardFill, DashboardPalette::cardBorder, {}})
{
    setFocusPolicy(Qt::TabFocus);
    setChange(change);
}

void CompletedChangeRow::setChange(const ChangeSummary &change)
{
    const QString date = dateTextOf(change);
    const bool resized = date.isEmpty() != m_date.isEmpty();
    m_change = change;
    m_date = date;
    setText(change.changeName);
    // The check mark says "completed".
    setAccessibleName(ChangeCardFrame::accessibleText(
        {change.changeName, Localization::text("dashboard.badge.completed"), m_date}));
    if (resized)
        updateGeometry();
    update();
}

bool CompletedChangeRow::showsDate(const ChangeSummary &change)
{
    // An invalid date has no text: the same as no date.
    return change.completedAt && change.completedAt->isValid();
}

QString CompletedChangeRow::dateTextOf(const ChangeSummary &change)
{
    return showsDate(change) ? dayString(*change.completedAt) : QString();
}

int CompletedChangeRow::textHeight(bool withDate)
{
    int height = QFontMetrics(nameFont()).height();
    if (withDate)
        height += lineSpacing + QFontMetrics(dateFont()).height();
    return height;
}

int CompletedChangeRow::rowHeight(bool withDate)
{
    return 2 * paddingV + std::max(checkSize, textHeight(withDate));
}

int CompletedChangeRow::minimumWidth()
{
    return ChangeCardFrame::minimumWidth(paddingH);
}

QSize CompletedChangeRow::sizeHint() const
{
    return ChangeCardFrame::sizeHint(rowHeight(!m_date.isEmpty()));
}

QSize CompletedChangeRow::minimumSizeHint() const
{
    return m_frame.minimumSizeHint(rowHeight(!m_date.isEmpty()));
}

void CompletedChangeRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect content = m_frame.paintSurface(painter);
    const QPalette &pal = palette();
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
    const QFontMetrics nameMetrics(nameFont());
    int y = int(std::lround(middle - textHeight(!m_date.isEmpty()) / 2.0));
    m_frame.paintName(painter, m_change.changeName, nameFont(), DashboardPalette::primaryText,
                      QRect(textLeft, y, textWidth, nameMetrics.height()));
    if (!m_date.isEmpty()) {
        y += nameMetrics.height() + lineSpacing;
        const QFont date = dateFont();
        painter.setFont(date);
        painter.setPen(DashboardPalette::secondaryText.resolve(pal));
        painter.drawText(QRect(textLeft, y, textWidth, QFontMetrics(date).height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_date);
    }

    m_frame.paintFocusRing(painter);
}

void CompletedChangeRow::keyPressEvent(QKeyEvent *event)
{
    if (ChangeCardFrame::isActivationKey(event)) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace kestrune
