#include "catchup/catchuprowdelegate.h"

#include "catchup/catchuplistmodel.h"
#include "ui/systemfont.h"
#include "ui/themecolors.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace kestrune {

namespace {

constexpr qreal paddingH = 10;
constexpr qreal paddingV = 5;
constexpr qreal lineGap = 1;
constexpr qreal countGap = 12;
constexpr qreal cornerRadius = 6;
constexpr qreal headingTopPadding = 8;
constexpr qreal headingBottomPadding = 2;

void drawElided(QPainter *painter, const QRectF &rect, const QString &text, const QFont &font,
                const QColor &color, Qt::Alignment alignment = Qt::AlignLeft)
{
    const QFontMetricsF metrics(font);
    painter->setFont(font);
    painter->setPen(color);
    painter->drawText(rect, int(alignment | Qt::AlignVCenter),
                      metrics.elidedText(text, Qt::ElideMiddle, rect.width()));
}

} // namespace

QFont CatchUpRowDelegate::titleFont()
{
    return SystemFont::defaultFont();
}

QFont CatchUpRowDelegate::detailFont()
{
    return SystemFont::font(SystemFont::defaultPixelSize - 2);
}

QFont CatchUpRowDelegate::headingFont()
{
    QFont font = SystemFont::font(SystemFont::defaultPixelSize - 1);
    font.setWeight(QFont::DemiBold);
    return font;
}

int CatchUpRowDelegate::rowHeight()
{
    return int(std::ceil(paddingV * 2 + QFontMetricsF(titleFont()).height() + lineGap +
                         QFontMetricsF(detailFont()).height()));
}

int CatchUpRowDelegate::headingHeight()
{
    return int(std::ceil(headingTopPadding + QFontMetricsF(headingFont()).height() + headingBottomPadding));
}

QSize CatchUpRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const CatchUpListModel *>(index.model());
    const bool heading = model && model->isHeading(index.row());
    return {option.rect.width() > 0 ? option.rect.width() : 300, heading ? headingHeight() : rowHeight()};
}

void CatchUpRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    const auto *model = qobject_cast<const CatchUpListModel *>(index.model());
    if (!model)
        return;
    const int row = index.row();
    const QPalette &palette = option.palette;
    const QColor primary = ThemeColors::primaryText.resolve(palette);
    const QColor secondary = ThemeColors::secondaryText.resolve(palette);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF rect = QRectF(option.rect).adjusted(2, 0, -2, 0);

    if (model->isHeading(row)) {
        const QFont font = headingFont();
        const QRectF text(rect.left() + paddingH, rect.top() + headingTopPadding, rect.width() - 2 * paddingH,
                          QFontMetricsF(font).height());
        const QString title = model->headingText(row);
        const QString kind = model->headingKindText(row);
        const qreal kindWidth =
            kind.isEmpty() ? 0 : QFontMetricsF(detailFont()).horizontalAdvance(kind) + countGap;
        const QRectF titleRect = text.adjusted(0, 0, -kindWidth, 0);
        drawElided(painter, titleRect, title, font, primary);
        if (!kind.isEmpty()) {
            const qreal used = std::min(QFontMetricsF(font).horizontalAdvance(title), titleRect.width());
            drawElided(painter,
                       QRectF(text.left() + used + countGap / 2, text.top(), kindWidth, text.height()), kind,
                       detailFont(), secondary);
        }
        painter->restore();
        return;
    }

    const CatchUpEntry *entry = model->entryAt(row);
    const QRectF shape = rect.adjusted(0, 1, 0, -1);
    if (option.state & QStyle::State_Selected) {
        QPainterPath path;
        path.addRoundedRect(shape, cornerRadius, cornerRadius);
        painter->fillPath(path, ThemeColors::selection.resolve(palette));
    } else if (option.state & QStyle::State_MouseOver) {
        QPainterPath path;
        path.addRoundedRect(shape, cornerRadius, cornerRadius);
        painter->fillPath(path, ThemeColors::subtleFill.resolve(palette));
    }

    const QFont title = titleFont();
    const QFont detail = detailFont();
    const QRectF titleRect(shape.left() + paddingH, shape.top() + paddingV - 1, shape.width() - 2 * paddingH,
                           QFontMetricsF(title).height());
    const QRectF detailRect(titleRect.left(), titleRect.bottom() + lineGap, titleRect.width(),
                            QFontMetricsF(detail).height());

    // The counts at the trailing end: "+12" added, "−3" removed, or the change alone.
    qreal countWidth = 0;
    const CatchUpLineCount count = model->lineCountOf(entry->relativePath);
    const QFontMetricsF detailMetrics(detail);
    if (count.state == CatchUpLineCount::State::counted) {
        const QLocale locale;
        const QString added = QStringLiteral("+") + locale.toString(count.added);
        const QString removed = QStringLiteral("\u2212") + locale.toString(count.removed);
        const qreal removedWidth = detailMetrics.horizontalAdvance(removed);
        const qreal addedWidth = detailMetrics.horizontalAdvance(added);
        const qreal space = detailMetrics.horizontalAdvance(u' ') * 1.5;
        drawElided(
            painter,
            QRectF(titleRect.right() - removedWidth, titleRect.top(), removedWidth, titleRect.height()),
            removed, detail, ThemeColors::errorText.resolve(palette), Qt::AlignRight);
        drawElided(painter,
                   QRectF(titleRect.right() - removedWidth - space - addedWidth, titleRect.top(), addedWidth,
                          titleRect.height()),
                   added, detail, ThemeColors::completedAccent.resolve(palette), Qt::AlignRight);
        countWidth = removedWidth + space + addedWidth + countGap;
    }
    const bool removedFile = entry->change == CatchUpEntry::Change::removed;
    drawElided(painter, titleRect.adjusted(0, 0, -countWidth, 0), entry->name, title,
               removedFile ? secondary : primary);
    drawElided(painter, detailRect, model->detailText(row), detail, secondary);
    painter->restore();
}

} // namespace kestrune
