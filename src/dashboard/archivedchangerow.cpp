#include "dashboard/archivedchangerow.h"

#include "dashboard/cardsurface.h"
#include "dashboard/dashboardpalette.h"
#include "dashboard/daystring.h"
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
constexpr int paddingV = 11;
constexpr int spacing = 10;
constexpr int lineSpacing = 4;
constexpr int iconSize = 14;
constexpr qreal cornerRadius = 18;
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
    : QWidget(parent), m_change(change),
      m_caption(change.archivedAt && change.archivedAt->isValid()
                    ? Localization::format("dashboard.archived_on_format", dayString(*change.archivedAt))
                    : QString())
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(change.changeName);
    new HoverHighlightModifier(cornerRadius, this);
}

int ArchivedChangeRow::textHeight() const
{
    int height = QFontMetrics(nameFont()).height();
    if (!m_caption.isEmpty())
        height += lineSpacing + QFontMetrics(captionFont()).height();
    return height;
}

QSize ArchivedChangeRow::sizeHint() const
{
    return {320, 2 * paddingV + std::max(iconSize, textHeight())};
}

QSize ArchivedChangeRow::minimumSizeHint() const
{
    return {2 * paddingH + 120, sizeHint().height()};
}

void ArchivedChangeRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    CardSurface::paint(&painter, QRectF(rect()), cornerRadius,
                       DashboardPalette::cardFillMuted.withOpacity(fillOpacity).resolve(pal),
                       DashboardPalette::dashedBorder.resolve(pal), dashPattern);

    const QRect content = rect().adjusted(paddingH, paddingV, -paddingH, -paddingV);
    const qreal middle = content.top() + content.height() / 2.0;
    SymbolIcon::paint(&painter, QRectF(content.left(), middle - iconSize / 2.0, iconSize, iconSize),
                      u"archivebox", DashboardPalette::secondaryText.resolve(pal), QFont::DemiBold);
    SymbolIcon::paint(
        &painter, QRectF(content.right() + 1 - iconSize, middle - iconSize / 2.0, iconSize, iconSize),
        u"arrow.uturn.backward.circle",
        DashboardPalette::secondaryText.withOpacity(restoreIconOpacity).resolve(pal), QFont::Medium);

    const int textLeft = content.left() + iconSize + spacing;
    const int textWidth = std::max(0, content.right() + 1 - iconSize - spacing - textLeft);
    const QFont name = nameFont();
    const QFontMetrics nameMetrics(name);
    int y = int(std::lround(middle - textHeight() / 2.0));
    painter.setFont(name);
    painter.setPen(DashboardPalette::secondaryText.withOpacity(nameOpacity).resolve(pal));
    const QString shownName = nameMetrics.elidedText(m_change.changeName, Qt::ElideRight, textWidth);
    m_nameElided = shownName != m_change.changeName;
    painter.drawText(QRect(textLeft, y, textWidth, nameMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownName);
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
}

bool ArchivedChangeRow::event(QEvent *event)
{
    // Not a tooltip: leave every other event alone (some come before the members are set).
    if (event->type() == QEvent::ToolTip)
        return ElisionToolTip::show(event, this, m_change.changeName, m_nameElided);
    return QWidget::event(event);
}

} // namespace kestrune
