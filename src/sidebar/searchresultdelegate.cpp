#include "sidebar/searchresultdelegate.h"

#include "sidebar/searchresultsmodel.h"
#include "sidebar/sidebarcolors.h"
#include "sidebar/treerowdelegate.h"
#include "ui/symbolicon.h"

#include <QLocale>
#include <QPainter>

namespace kestrune {

namespace {

constexpr qreal spacing = 6;
constexpr qreal iconWidth = 16;
constexpr qreal matchRadius = 3;

QString fileName(const SearchableFile &file)
{
    return file.relativePath.section(u'/', -1);
}

// Where a file is: its folders, from its change's or specification's folder on ("add-login/specs/auth").
QString placeOf(const SearchableFile &file)
{
    QString folder = file.relativePath.section(u'/', 0, -2);
    if (!file.ownerName.isEmpty()) {
        const qsizetype at = (QLatin1Char('/') + folder + QLatin1Char('/'))
                                 .indexOf(QLatin1Char('/') + file.ownerName + QLatin1Char('/'));
        if (at >= 0)
            folder = folder.mid(at);
    }
    return folder;
}

} // namespace

SearchResultDelegate::Excerpt SearchResultDelegate::excerpt(QStringView line, qsizetype column,
                                                            qsizetype length, const QFont &font,
                                                            qreal leadWidth)
{
    qsizetype start = 0;
    while (start < column && line[start].isSpace())
        ++start;
    const QFontMetricsF metrics(font);
    bool cut = false;
    // Only the text up to the match is measured, a bounded piece of it however long the line.
    constexpr qsizetype longestLead = 400;
    if (column - start > longestLead) {
        start = column - longestLead;
        cut = true;
    }
    const QString ellipsis(QChar(0x2026));
    while (start < column &&
           metrics.horizontalAdvance((cut ? ellipsis : QString()) +
                                     line.sliced(start, column - start).toString()) > leadWidth) {
        start += std::max<qsizetype>(1, (column - start) / 8);
        start = std::min(start, column);
        cut = true;
    }
    if (start > 0 && start < line.size() && line[start].isLowSurrogate())
        ++start;
    // The rest of the line is cut too: a row shows at most one screen's width of it.
    constexpr qsizetype longestRest = 300;
    const qsizetype end = std::min(line.size(), column + length + longestRest);
    Excerpt result;
    result.text = (cut ? ellipsis : QString()) + line.sliced(start, end - start).toString();
    result.matchStart = (cut ? 1 : 0) + column - start;
    result.matchLength = length;
    return result;
}

void SearchResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    const auto *model = qobject_cast<const SearchResultsModel *>(index.model());
    if (!model)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (model->isFileRow(index))
        paintFileRow(painter, option, index);
    else
        paintHitRow(painter, option, index);
    painter->restore();
}

void SearchResultDelegate::paintFileRow(QPainter *painter, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    const auto *model = static_cast<const SearchResultsModel *>(index.model());
    const FileSearchResult *result = model->resultAt(index);
    if (!result || !result->file)
        return;
    const SearchableFile &file = *result->file;
    const QPalette &palette = option.palette;

    TreeNode node;
    node.kind = TreeNodeKind::markdownFile;
    node.name = fileName(file);
    node.deltaType = file.deltaType;
    const std::optional<ChangeStatus> status = model->statusAt(index);
    const TreeRowDelegate::RowLayout layout = TreeRowDelegate::layoutRow(option.rect, node, status);
    SymbolIcon::paint(painter, layout.icon, layout.symbol, SidebarColors::icon.resolve(palette),
                      QFont::Normal, int(iconWidth) - 2);

    // The count keeps its place at the end; the file's name comes first, then where it is.
    const QFont font = TreeRowDelegate::nameFont();
    const QFontMetricsF metrics(font);
    const QString count = QLocale().toString(qlonglong(result->matchCount));
    const qreal countWidth = metrics.horizontalAdvance(count);
    QRectF text = layout.nameRect;
    const QRectF countRect(text.right() - countWidth, text.top(), countWidth, text.height());
    text.setRight(countRect.left() - spacing);
    painter->setFont(font);
    painter->setPen(SidebarColors::secondaryText.resolve(palette));
    painter->drawText(countRect, Qt::AlignVCenter | Qt::AlignRight | Qt::TextSingleLine, count);

    // The file's name leads, so that the files of one change tell apart; its change or
    // specification and folders follow, dimmer.
    const QString leading = fileName(file);
    const QString trailing = placeOf(file);
    const QString name = metrics.elidedText(leading, Qt::ElideRight, std::max<qreal>(0, text.width()));
    painter->setPen(SidebarColors::name.resolve(palette));
    painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, name);
    const qreal pathLeft = text.left() + metrics.horizontalAdvance(name) + spacing;
    if (!trailing.isEmpty() && pathLeft < text.right()) {
        const QRectF pathRect(pathLeft, text.top(), text.right() - pathLeft, text.height());
        painter->setPen(SidebarColors::secondaryText.resolve(palette));
        painter->drawText(pathRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                          metrics.elidedText(trailing, Qt::ElideMiddle, pathRect.width()));
    }
    TreeRowDelegate::paintBadges(painter, palette, layout, file.deltaType, status);
}

void SearchResultDelegate::paintHitRow(QPainter *painter, const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    const auto *model = static_cast<const SearchResultsModel *>(index.model());
    const std::optional<SearchResultsModel::HitReference> hit = model->hitAt(index);
    if (!hit)
        return;
    const QPalette &palette = option.palette;
    const QFont font = TreeRowDelegate::nameFont();
    const QFontMetricsF metrics(font);
    painter->setFont(font);

    QRectF rect = QRectF(option.rect).adjusted(2, 0, -6, 0);
    const QString line = QLocale().toString(hit->hit.line + 1);
    const qreal lineWidth =
        std::max(metrics.horizontalAdvance(line), metrics.horizontalAdvance(QStringLiteral("0000")));
    painter->setPen(SidebarColors::secondaryText.resolve(palette));
    painter->drawText(QRectF(rect.left(), rect.top(), lineWidth, rect.height()),
                      Qt::AlignVCenter | Qt::AlignRight | Qt::TextSingleLine, line);
    rect.setLeft(rect.left() + lineWidth + spacing);
    if (rect.width() <= 0)
        return;

    const Excerpt shown =
        excerpt(hit->result->lineText(hit->hit), hit->hit.column, hit->hit.length, font, rect.width() / 3);
    const qreal matchLeft = metrics.horizontalAdvance(shown.text.left(shown.matchStart));
    const qreal matchWidth = metrics.horizontalAdvance(shown.text.mid(shown.matchStart, shown.matchLength));
    const qreal textHeight = metrics.height();
    const QRectF highlight(rect.left() + matchLeft - 1, rect.center().y() - textHeight / 2,
                           std::min(matchWidth + 2, std::max<qreal>(0, rect.width() - matchLeft + 1)),
                           textHeight);
    painter->setPen(Qt::NoPen);
    painter->setBrush(SidebarColors::searchMatch.resolve(palette));
    painter->drawRoundedRect(highlight, matchRadius, matchRadius);
    painter->setPen(SidebarColors::name.resolve(palette));
    painter->drawText(rect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                      metrics.elidedText(shown.text, Qt::ElideRight, rect.width()));
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return {0, TreeRowDelegate::rowHeight()};
}

} // namespace kestrune
