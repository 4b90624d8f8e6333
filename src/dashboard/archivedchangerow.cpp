#include "dashboard/archivedchangerow.h"

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
constexpr int paddingV = 11;
constexpr int spacing = 10;
constexpr int lineSpacing = 4;
constexpr int symbolSize = 14;
constexpr float fillOpacity = 0.70f;
constexpr float nameOpacity = 0.90f;
constexpr float captionOpacity = 0.86f;
constexpr float restoreIconOpacity = 0.70f;
const QList<qreal> dashPattern = {5, 4};

QFont nameFont()
{
    return SystemFont::font(16, QFont::Bold, SystemFont::Design::monospaced);
}

QFont captionFont()
{
    QFont font = SystemFont::font(10, QFont::DemiBold, SystemFont::Design::monospaced);
    font.setItalic(true);
    return font;
}

} // namespace

ArchivedChangeRow::ArchivedChangeRow(const ChangeSummary &change, QWidget *parent)
    : QAbstractButton(parent), m_change(change), m_caption(captionOf(change)),
      m_frame(this, paddingH, paddingV,
              {DashboardPalette::cardFillMuted.withOpacity(fillOpacity), DashboardPalette::dashedBorder,
               dashPattern})
{
    setFocusPolicy(Qt::StrongFocus);
    setChange(change);
}

void ArchivedChangeRow::setChange(const ChangeSummary &change)
{
    const QString caption = captionOf(change);
    const bool resized = caption.isEmpty() != m_caption.isEmpty();
    m_change = change;
    m_caption = caption;
    setAccessibleName(ChangeCardFrame::accessibleText(
        {change.changeName,
         m_caption.isEmpty() ? Localization::text("dashboard.summary.archive") : m_caption}));
    if (resized)
        updateGeometry();
    update();
}

bool ArchivedChangeRow::showsCaption(const ChangeSummary &change)
{
    return change.archivedAt && change.archivedAt->isValid();
}

QString ArchivedChangeRow::captionOf(const ChangeSummary &change)
{
    return showsCaption(change)
               ? Localization::format("dashboard.archived_on_format", dayString(*change.archivedAt))
               : QString();
}

int ArchivedChangeRow::textHeight(bool withCaption)
{
    int height = QFontMetrics(nameFont()).height();
    if (withCaption)
        height += lineSpacing + QFontMetrics(captionFont()).height();
    return height;
}

int ArchivedChangeRow::rowHeight(bool withCaption)
{
    return 2 * paddingV + std::max(symbolSize, textHeight(withCaption));
}

int ArchivedChangeRow::minimumWidth()
{
    return ChangeCardFrame::minimumWidth(paddingH);
}

QSize ArchivedChangeRow::sizeHint() const
{
    return ChangeCardFrame::sizeHint(rowHeight(!m_caption.isEmpty()));
}

QSize ArchivedChangeRow::minimumSizeHint() const
{
    return m_frame.minimumSizeHint(rowHeight(!m_caption.isEmpty()));
}

void ArchivedChangeRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect content = m_frame.paintSurface(painter);
    const QPalette &pal = palette();
    const qreal middle = content.top() + content.height() / 2.0;
    SymbolIcon::paint(&painter, QRectF(content.left(), middle - symbolSize / 2.0, symbolSize, symbolSize),
                      u"archivebox", DashboardPalette::secondaryText.resolve(pal), QFont::DemiBold);
    SymbolIcon::paint(
        &painter, QRectF(content.right() + 1 - symbolSize, middle - symbolSize / 2.0, symbolSize, symbolSize),
        u"arrow.uturn.backward.circle",
        DashboardPalette::secondaryText.withOpacity(restoreIconOpacity).resolve(pal), QFont::Medium);

    const int textLeft = content.left() + symbolSize + spacing;
    const int textWidth = std::max(0, content.right() + 1 - symbolSize - spacing - textLeft);
    const QFontMetrics nameMetrics(nameFont());
    int y = int(std::lround(middle - textHeight(!m_caption.isEmpty()) / 2.0));
    m_frame.paintName(painter, m_change.changeName, nameFont(),
                      DashboardPalette::secondaryText.withOpacity(nameOpacity),
                      QRect(textLeft, y, textWidth, nameMetrics.height()));
    if (!m_caption.isEmpty()) {
        y += nameMetrics.height() + lineSpacing;
        const QFont caption = captionFont();
        const QFontMetrics captionMetrics(caption);
        painter.setFont(caption);
        painter.setPen(DashboardPalette::secondaryText.withOpacity(captionOpacity).resolve(pal));
        painter.drawText(QRect(textLeft, y, textWidth, captionMetrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         captionMetrics.elidedText(m_caption, Qt::ElideRight, textWidth));
    }

    m_frame.paintFocusRing(painter);
}

void ArchivedChangeRow::keyPressEvent(QKeyEvent *event)
{
    if (ChangeCardFrame::isActivationKey(event)) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace kestrune
