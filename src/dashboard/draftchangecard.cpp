#include "dashboard/draftchangecard.h"

#include "dashboard/dashboardpalette.h"
#include "ui/localization.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"

#include <QKeyEvent>
#include <QPainter>

namespace kestrune {

namespace {

constexpr int paddingH = 14;
constexpr int paddingV = 12;
constexpr int stackSpacing = 12;
constexpr int symbolSize = 13;
constexpr float badgeFillOpacity = 0.16f;
const QList<qreal> dashPattern = {4, 4};

QFont nameFont()
{
    return SystemFont::font(18, QFont::Bold, SystemFont::Design::monospaced);
}

} // namespace

DraftChangeCard::DraftChangeCard(const ChangeSummary &change, QWidget *parent)
    : QAbstractButton(parent), m_change(change),
      m_badge(Localization::text("dashboard.badge.draft"), DashboardPalette::secondaryText, badgeFillOpacity),
      m_indicator(change.currentDraftStage, change.hasProposal, change.hasDesign, change.hasSpecs,
                  change.hasTasks),
      m_frame(this, paddingH, paddingV,
              {DashboardPalette::cardFillMuted, DashboardPalette::dashedBorder, dashPattern})
{
    setFocusPolicy(Qt::StrongFocus);
    setChange(change);
}

void DraftChangeCard::setChange(const ChangeSummary &change)
{
    m_change = change;
    m_indicator = WorkflowStageIndicator(change.currentDraftStage, change.hasProposal, change.hasDesign,
                                         change.hasSpecs, change.hasTasks);
    updateAccessibleName();
    update();
}

void DraftChangeCard::setNew(bool isNew)
{
    if (isNew == m_isNew)
        return;
    m_isNew = isNew;
    updateAccessibleName();
    update();
}

void DraftChangeCard::updateAccessibleName()
{
    const ChangeSummary &change = m_change;
    setAccessibleName(ChangeCardFrame::accessibleText(
        {change.changeName, m_badge.text(),
         change.currentDraftStage ? WorkflowStageIndicator::label(workflowPosition(*change.currentDraftStage))
                                  : QString(),
         m_isNew ? Localization::text("reading.card.new") : QString()}));
}

int DraftChangeCard::headerHeight()
{
    return ChangeCardFrame::headerHeight(nameFont(), symbolSize);
}

int DraftChangeCard::cardHeight()
{
    return paddingV + headerHeight() + stackSpacing + WorkflowStageIndicator::height() + paddingV;
}

int DraftChangeCard::minimumWidth()
{
    return ChangeCardFrame::minimumWidth(paddingH);
}

QSize DraftChangeCard::sizeHint() const
{
    return ChangeCardFrame::sizeHint(cardHeight());
}

QSize DraftChangeCard::minimumSizeHint() const
{
    return m_frame.minimumSizeHint(cardHeight());
}

void DraftChangeCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect content = m_frame.paintSurface(painter);
    const QPalette &pal = palette();
    const int header = headerHeight();
    const QRectF icon =
        m_frame.paintHeader(painter, content, m_badge, m_change.changeName, nameFont(), symbolSize);
    SymbolIcon::paint(&painter, icon, u"clock", DashboardPalette::draftAccent.resolve(pal), QFont::Bold);
    if (m_isNew) {
        // New since the reader last looked: the outline's unread dot, ringed off the symbol.
        constexpr qreal markSize = 7;
        painter.setPen(QPen(DashboardPalette::cardFillMuted.resolve(pal), 1.5));
        painter.setBrush(DashboardPalette::activeAccent.resolve(pal));
        painter.drawEllipse(QRectF(icon.right() - markSize + 2, icon.top() - 2, markSize, markSize));
    }

    m_indicator.paint(&painter,
                      QRectF(content.left(), content.top() + header + stackSpacing, content.width(),
                             WorkflowStageIndicator::height()),
                      pal);

    m_frame.paintFocusRing(painter);
}

void DraftChangeCard::keyPressEvent(QKeyEvent *event)
{
    if (ChangeCardFrame::isActivationKey(event)) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace kestrune
