#include "quickopen/quickopenrowdelegate.h"

#include "quickopen/quickopenlistmodel.h"
#include "ui/deltabadgestyle.h"
#include "ui/standardcolors.h"
#include "ui/systemfont.h"
#include "ui/themecolors.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace kestrune {

namespace {

constexpr qreal paddingH = 10;
constexpr qreal paddingV = 5;
constexpr qreal lineGap = 1;
constexpr qreal badgePaddingH = 5;
constexpr qreal badgePaddingV = 1;
constexpr qreal badgeRadius = 4;
constexpr qreal badgeGap = 8;
constexpr qreal cornerRadius = 6;

// Draws one line of text in `rect`, cut with an ellipsis when too long, the characters at
// `marked` (ascending) in the mark colour and bold.
void drawMarkedText(QPainter *painter, const QRectF &rect, const QString &text,
                    const QList<qsizetype> &marked, const QFont &font, const QColor &color,
                    const QColor &markColor)
{
    const QFontMetricsF metrics(font);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, rect.width());
    const qsizetype kept = shown == text ? text.size() : std::max<qsizetype>(0, shown.size() - 1);
    QTextCharFormat mark;
    mark.setForeground(markColor);
    mark.setFontWeight(QFont::Bold);
    QList<QTextLayout::FormatRange> formats;
    for (const qsizetype position : marked) {
        if (position < 0 || position >= kept)
            continue;
        if (!formats.isEmpty() && formats.last().start + formats.last().length == position)
            ++formats.last().length;
        else
            formats.append({int(position), 1, mark});
    }
    QTextLayout layout(shown, font);
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return;
    }
    line.setLineWidth(rect.width() * 2 + 1000); // one line; the clip keeps it in the rectangle
    layout.endLayout();
    painter->save();
    painter->setClipRect(rect);
    painter->setPen(color);
    layout.draw(painter, QPointF(rect.left(), rect.top() + (rect.height() - line.height()) / 2));
    painter->restore();
}

} // namespace

QFont QuickOpenRowDelegate::titleFont()
{
    return SystemFont::defaultFont();
}

QFont QuickOpenRowDelegate::detailFont()
{
    return SystemFont::font(SystemFont::defaultPixelSize - 2);
}

int QuickOpenRowDelegate::rowHeight()
{
    return int(std::ceil(paddingV * 2 + QFontMetricsF(titleFont()).height() + lineGap +
                         QFontMetricsF(detailFont()).height()));
}

QSize QuickOpenRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.rect.width() > 0 ? option.rect.width() : 300, rowHeight()};
}

void QuickOpenRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    const auto *model = qobject_cast<const QuickOpenListModel *>(index.model());
    if (!model)
        return;
    const QuickOpenEntry &entry = model->entryAt(index.row());
    const QPalette &palette = option.palette;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF row = QRectF(option.rect).adjusted(2, 1, -2, -1);
    if (option.state & QStyle::State_Selected) {
        QPainterPath shape;
        shape.addRoundedRect(row, cornerRadius, cornerRadius);
        painter->fillPath(shape, ThemeColors::selection.resolve(palette));
    } else if (option.state & QStyle::State_MouseOver) {
        QPainterPath shape;
        shape.addRoundedRect(row, cornerRadius, cornerRadius);
        painter->fillPath(shape, ThemeColors::subtleFill.resolve(palette));
    }

    const QList<qsizetype> positions = model->matchedPositions(index.row());
    QList<qsizetype> titleMarks;
    QList<qsizetype> detailMarks;
    for (const qsizetype position : positions) {
        if (position >= entry.titleOffset)
            titleMarks.append(position - entry.titleOffset);
        else if (entry.kind == QuickOpenEntry::Kind::file && position < entry.folder.size())
            detailMarks.append(position);
    }

    const QFont title = titleFont();
    const QFont detail = detailFont();
    const qreal titleHeight = QFontMetricsF(title).height();
    const QRectF titleRect(row.left() + paddingH, row.top() + paddingV - 1, row.width() - 2 * paddingH,
                           titleHeight);
    QRectF titleText = titleRect;
    if (entry.deltaType) {
        const QString badge = DeltaBadgeStyle::text(*entry.deltaType);
        const QFont badgeFont = SystemFont::font(SystemFont::caption2PixelSize);
        const QFontMetricsF metrics(badgeFont);
        const QSizeF size(metrics.horizontalAdvance(badge) + 2 * badgePaddingH,
                          metrics.height() + 2 * badgePaddingV);
        const QRectF badgeRect(titleRect.right() - size.width(), titleRect.center().y() - size.height() / 2,
                               size.width(), size.height());
        QPainterPath shape;
        shape.addRoundedRect(badgeRect, badgeRadius, badgeRadius);
        painter->fillPath(shape, DeltaBadgeStyle::fill(*entry.deltaType).resolve(palette));
        painter->setFont(badgeFont);
        painter->setPen(StandardColors::primaryText.resolve(palette));
        painter->drawText(badgeRect, Qt::AlignCenter, badge);
        titleText.setRight(badgeRect.left() - badgeGap);
    }
    const QColor accent = ThemeColors::accent.resolve(palette);
    drawMarkedText(painter, titleText, entry.title, titleMarks, title,
                   ThemeColors::primaryText.resolve(palette), accent);
    const QRectF detailRect(titleRect.left(), titleRect.bottom() + lineGap, titleRect.width(),
                            QFontMetricsF(detail).height());
    drawMarkedText(painter, detailRect, model->detailText(index.row()), detailMarks, detail,
                   ThemeColors::secondaryText.resolve(palette), accent);
    painter->restore();
}

} // namespace kestrune
