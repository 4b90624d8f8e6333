#include "dashboard/draftchangecard.h"

#include "dashboard/cardsurface.h"
#include "dashboard/dashboardpalette.h"
#include "dashboard/elisiontooltip.h"
#include "dashboard/hoverhighlightmodifier.h"
#include "ui/localization.h"
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
constexpr int stackSpacing = 12;
constexpr int iconSize = 13;
constexpr int iconSpacing = 10;
constexpr int headerSpacing = 8;
constexpr qreal cornerRadius = 18;
constexpr float badgeFillOpacity = 0.16f;
const QList<qreal> dashPattern = {4, 4};

QFont nameFont()
{
    return SystemFont::font(18, QFont::Bold, SystemFont::Design::monospaced);
}

} // namespace

DraftChangeCard::DraftChangeCard(const ChangeSummary &change, QWidget *parent)
    : QWidget(parent), m_change(change),
      m_badge(Localization::text("dashboard.badge.draft"), DashboardPalette::secondaryText, badgeFillOpacity),
      m_indicator(change.currentDraftStage, change.hasProposal, change.hasDesign, change.hasSpecs,
                  change.hasTasks)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(change.changeName);
    new HoverHighlightModifier(cornerRadius, this);
}

int DraftChangeCard::headerHeight() const
{
    return std::max({QFontMetrics(nameFont()).height(), iconSize, int(std::ceil(m_badge.size().height()))});
}

QSize DraftChangeCard::sizeHint() const
{
    return {320, paddingV + headerHeight() + stackSpacing + WorkflowStageIndicator::height() + paddingV};
}

QSize DraftChangeCard::minimumSizeHint() const
{
    return {2 * paddingH + 120, sizeHint().height()};
}

void DraftChangeCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    CardSurface::paint(&painter, QRectF(rect()), cornerRadius, DashboardPalette::cardFillMuted.resolve(pal),
                       DashboardPalette::dashedBorder.resolve(pal), dashPattern);

    const QRect content = rect().adjusted(paddingH, paddingV, -paddingH, -paddingV);
    const int header = headerHeight();
    const QSizeF badge = m_badge.size();
    m_badge.paint(&painter,
                  QPointF(content.right() + 1 - badge.width(), content.top() + (header - badge.height()) / 2),
                  pal);

    SymbolIcon::paint(&painter,
                      QRectF(content.left(), content.top() + (header - iconSize) / 2.0, iconSize, iconSize),
                      u"clock", DashboardPalette::draftAccent.resolve(pal), QFont::Bold);

    const QFont font = nameFont();
    const QFontMetrics metrics(font);
    const int nameLeft = content.left() + iconSize + iconSpacing;
    const int nameWidth = std::max(0, content.right() + 1 - int(badge.width()) - headerSpacing - nameLeft);
    painter.setFont(font);
    painter.setPen(DashboardPalette::primaryText.resolve(pal));
    const QString shownName = metrics.elidedText(m_change.changeName, Qt::ElideRight, nameWidth);
    m_nameElided = shownName != m_change.changeName;
    painter.drawText(QRect(nameLeft, content.top(), nameWidth, header),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownName);

    m_indicator.paint(&painter,
                      QRectF(content.left(), content.top() + header + stackSpacing, content.width(),
                             WorkflowStageIndicator::height()),
                      pal);
}

bool DraftChangeCard::event(QEvent *event)
{
    // Not a tooltip: leave every other event alone (some come before the members are set).
    if (event->type() == QEvent::ToolTip)
        return ElisionToolTip::show(event, this, m_change.changeName, m_nameElided);
    return QWidget::event(event);
}

} // namespace kestrune
