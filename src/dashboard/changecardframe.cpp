#include "dashboard/changecardframe.h"

#include "dashboard/cardsurface.h"
#include "dashboard/dashboardpalette.h"
#include "dashboard/elisiontooltip.h"
#include "dashboard/hoverhighlightmodifier.h"
#include "dashboard/statusbadge.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kestrune {

namespace {

constexpr int headerMarkSpacing = 10; // between the leading mark and the name
constexpr int headerBadgeSpacing = 8; // between the name and the badge

} // namespace

ChangeCardFrame::ChangeCardFrame(QWidget *card, int paddingH, int paddingV, const Surface &surface)
    : m_card(card), m_paddingH(paddingH), m_paddingV(paddingV), m_surface(surface),
      m_nameToolTip(new ElisionToolTip(card))
{
    card->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    new HoverHighlightModifier(cornerRadius, card);
}

QRect ChangeCardFrame::paintSurface(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &palette = m_card->palette();
    CardSurface::paint(&painter, QRectF(m_card->rect()), cornerRadius, m_surface.fill.resolve(palette),
                       m_surface.outline.resolve(palette), m_surface.dashPattern);
    return m_card->rect().adjusted(m_paddingH, m_paddingV, -m_paddingH, -m_paddingV);
}

void ChangeCardFrame::paintFocusRing(QPainter &painter) const
{
    if (!m_card->hasFocus())
        return;
    painter.setPen(QPen(DashboardPalette::activeAccent.resolve(m_card->palette()), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(
        CardSurface::roundedRect(QRectF(m_card->rect()).adjusted(1, 1, -1, -1), cornerRadius - 1));
}

void ChangeCardFrame::paintName(QPainter &painter, const QString &name, const QFont &font, DynamicColor color,
                                const QRect &rect)
{
    painter.setFont(font);
    painter.setPen(color.resolve(m_card->palette()));
    const QString shown = QFontMetrics(font).elidedText(name, Qt::ElideRight, rect.width());
    m_nameToolTip->setShownText(name, shown != name);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

int ChangeCardFrame::headerHeight(const QFont &nameFont, int markSize)
{
    return std::max({QFontMetrics(nameFont).height(), markSize, int(std::ceil(StatusBadge::height()))});
}

QRectF ChangeCardFrame::paintHeader(QPainter &painter, const QRect &content, const StatusBadge &badge,
                                    const QString &name, const QFont &nameFont, int markSize)
{
    const int header = headerHeight(nameFont, markSize);
    const QSizeF badgeSize = badge.size();
    badge.paint(
        &painter,
        QPointF(content.right() + 1 - badgeSize.width(), content.top() + (header - badgeSize.height()) / 2),
        m_card->palette());

    const int nameLeft = content.left() + markSize + headerMarkSpacing;
    const int nameWidth =
        std::max(0, content.right() + 1 - int(badgeSize.width()) - headerBadgeSpacing - nameLeft);
    paintName(painter, name, nameFont, DashboardPalette::primaryText,
              QRect(nameLeft, content.top(), nameWidth, header));

    return {qreal(content.left()), content.top() + (header - markSize) / 2.0, qreal(markSize),
            qreal(markSize)};
}

QString ChangeCardFrame::accessibleText(const QStringList &parts)
{
    QStringList said;
    for (const QString &part : parts) {
        if (!part.isEmpty())
            said.append(part);
    }
    return said.join(QStringLiteral(", "));
}

bool ChangeCardFrame::isActivationKey(const QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return enter && !(event->modifiers() & ~Qt::KeypadModifier);
}

} // namespace kestrune
