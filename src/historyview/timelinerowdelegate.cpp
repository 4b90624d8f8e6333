#include "historyview/timelinerowdelegate.h"

#include "history/changehistoryevent.h"
#include "historyview/changetimelinemodel.h"
#include "ui/systemfont.h"
#include "ui/themecolors.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace kestrune {

namespace {

QFont subjectFont()
{
    return SystemFont::font(SystemFont::defaultPixelSize + 1, QFont::DemiBold);
}

QFont detailFont(QFont::Weight weight = QFont::Normal)
{
    return SystemFont::font(SystemFont::defaultPixelSize - 1, weight);
}

QFont filesFont()
{
    return SystemFont::font(SystemFont::defaultPixelSize - 2, QFont::Normal, SystemFont::Design::monospaced);
}

constexpr int lineGap = 4;
constexpr int dotRadius = 5;

// A tint of the dot for what a commit did: done things in the completed colour.
DynamicColor dotColor(ChangeEventKind kind)
{
    return kind == ChangeEventKind::archived ? ThemeColors::completedAccent : ThemeColors::accent;
}

} // namespace

QSize TimelineRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const int height = QFontMetrics(subjectFont()).height() + lineGap + QFontMetrics(detailFont()).height() +
                       lineGap + QFontMetrics(filesFont()).height() + 2 * paddingV;
    return {option.rect.width() > 0 ? option.rect.width() : 480, height};
}

void TimelineRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    const QPalette &palette = option.palette;
    const QRect row = option.rect;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);

    const QRectF surface = QRectF(row).adjusted(4, 1, -4, -1);
    const bool selected = option.state & QStyle::State_Selected;
    if (selected || option.state & QStyle::State_MouseOver) {
        painter->setPen(Qt::NoPen);
        painter->setBrush((selected ? ThemeColors::selection : ThemeColors::subtleFill).resolve(palette));
        painter->drawRoundedRect(surface, 8, 8);
    }
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(ThemeColors::accent.resolve(palette), 1.5));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(surface.adjusted(0.75, 0.75, -0.75, -0.75), 8, 8);
    }

    const QFontMetrics subjectMetrics(subjectFont());
    const int firstLineCentre = row.top() + paddingV + subjectMetrics.height() / 2;
    // The line through the commits: from the row above to the row below, none past the ends.
    const qreal lineX = row.left() + gutterWidth / 2.0;
    const int rows = index.model()->rowCount(index.parent());
    painter->setPen(QPen(ThemeColors::secondaryText.withOpacity(0.45f).resolve(palette), 2));
    if (index.row() > 0)
        painter->drawLine(QPointF(lineX, row.top()), QPointF(lineX, firstLineCentre));
    if (index.row() + 1 < rows)
        painter->drawLine(QPointF(lineX, firstLineCentre), QPointF(lineX, row.bottom() + 1));
    const auto kind = ChangeEventKind(index.data(ChangeTimelineModel::kindRole).toInt());
    painter->setPen(QPen(ThemeColors::paneBackground.resolve(palette), 2));
    painter->setBrush(dotColor(kind).resolve(palette));
    painter->drawEllipse(QPointF(lineX, firstLineCentre), dotRadius, dotRadius);

    const QRect text = row.adjusted(gutterWidth, paddingV, -paddingH, -paddingV);
    // The subject, with the day at the right.
    const QString date = index.data(ChangeTimelineModel::dateRole).toString();
    painter->setFont(detailFont());
    const int dateWidth = QFontMetrics(detailFont()).horizontalAdvance(date);
    QRect line(text.left(), text.top(), text.width(), subjectMetrics.height());
    painter->setPen(ThemeColors::secondaryText.resolve(palette));
    painter->drawText(line, Qt::AlignRight | Qt::AlignVCenter, date);
    painter->setFont(subjectFont());
    painter->setPen(ThemeColors::primaryText.resolve(palette));
    const QString subject = index.data(ChangeTimelineModel::subjectRole).toString();
    painter->drawText(
        line.adjusted(0, 0, -(dateWidth + paddingH), 0), Qt::AlignLeft | Qt::AlignVCenter,
        subjectMetrics.elidedText(subject, Qt::ElideRight, line.width() - dateWidth - paddingH));

    // What it did, then by whom.
    line.translate(0, line.height() + lineGap);
    line.setHeight(QFontMetrics(detailFont()).height());
    const QFont whatFont = detailFont(QFont::DemiBold);
    const QFontMetrics whatMetrics(whatFont);
    const QString what = whatMetrics.elidedText(index.data(ChangeTimelineModel::whatRole).toString(),
                                                Qt::ElideRight, line.width() * 2 / 3);
    painter->setFont(whatFont);
    painter->setPen(dotColor(kind).resolve(palette));
    painter->drawText(line, Qt::AlignLeft | Qt::AlignVCenter, what);
    const int whatWidth = whatMetrics.horizontalAdvance(what);
    const QFontMetrics authorMetrics(detailFont());
    const QString author = QStringLiteral("  ·  ") + index.data(ChangeTimelineModel::authorRole).toString();
    painter->setFont(detailFont());
    painter->setPen(ThemeColors::secondaryText.resolve(palette));
    painter->drawText(line.adjusted(whatWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      authorMetrics.elidedText(author, Qt::ElideRight, line.width() - whatWidth));

    // The files.
    line.translate(0, line.height() + lineGap);
    line.setHeight(QFontMetrics(filesFont()).height());
    painter->setFont(filesFont());
    painter->drawText(
        line, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(filesFont())
            .elidedText(index.data(ChangeTimelineModel::filesRole).toString(), Qt::ElideRight, line.width()));
    painter->restore();
}

} // namespace kestrune
