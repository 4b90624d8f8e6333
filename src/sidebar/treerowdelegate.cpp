#include "sidebar/treerowdelegate.h"

#include "sidebar/projecttreemodel.h"
#include "sidebar/sidebarcolors.h"
#include "ui/deltabadgestyle.h"
#include "ui/localization.h"
#include "ui/standardcolors.h"
#include "ui/symbolicon.h"
#include "ui/systemfont.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace kestrune {

namespace {

constexpr qreal spacing = 4;       // between the items of a row
constexpr qreal iconWidth = 16;    // the icon's frame
constexpr qreal leadingInset = 2;  // before the icon
constexpr qreal trailingInset = 6; // after the last badge
constexpr qreal minimumGap = 4;    // the flexible space before the badges never gets smaller
constexpr int verticalPadding = 4; // above and below the tallest item

constexpr qreal deltaPaddingH = 4;
constexpr qreal deltaPaddingV = 2;
constexpr qreal deltaRadius = 4;

constexpr qreal dotDiameter = 8;
constexpr qreal unreadFileDiameter = 7;
constexpr qreal unreadFolderDiameter = 5;

constexpr qreal statusPaddingH = 5;
constexpr qreal statusPaddingV = 2;
constexpr qreal statusRadius = 6;
constexpr float statusStrokeOpacity = 0.45f;

DynamicColor statusColor(ChangeStatus status)
{
    switch (status) {
    case ChangeStatus::draft:
        return SidebarColors::draftBadge;
    case ChangeStatus::active:
        return SidebarColors::activeBadge;
    case ChangeStatus::completed:
        return SidebarColors::completedBadge;
    case ChangeStatus::archived:
        break;
    }
    return StandardColors::clear;
}

float statusFillOpacity(ChangeStatus status)
{
    switch (status) {
    case ChangeStatus::draft:
        return 0.16f;
    case ChangeStatus::active:
    case ChangeStatus::completed:
        return 0.2f;
    case ChangeStatus::archived:
        break;
    }
    return 0.0f;
}

QSizeF badgeSize(const QString &text, const QFont &font, qreal paddingH, qreal paddingV)
{
    const QFontMetricsF metrics(font);
    return {std::ceil(metrics.horizontalAdvance(text)) + 2 * paddingH,
            std::ceil(metrics.height()) + 2 * paddingV};
}

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

QString TreeRowDelegate::symbolFor(TreeNodeKind kind)
{
    switch (kind) {
    case TreeNodeKind::projectRoot:
        return QStringLiteral("folder.fill");
    case TreeNodeKind::kestrune:
    case TreeNodeKind::directory:
        return QStringLiteral("folder");
    case TreeNodeKind::markdownFile:
        return QStringLiteral("doc.text");
    }
    return {};
}

const char *TreeRowDelegate::statusLabelKey(ChangeStatus status)
{
    switch (status) {
    case ChangeStatus::draft:
        return "dashboard.badge.draft";
    case ChangeStatus::active:
        return "dashboard.badge.active";
    case ChangeStatus::completed:
        return "dashboard.badge.completed";
    case ChangeStatus::archived:
        break;
    }
    return nullptr;
}

QStringList TreeRowDelegate::badgeTexts(const TreeNode &node, std::optional<ChangeStatus> status)
{
    QStringList texts;
    if (status) {
        if (const char *key = statusLabelKey(*status))
            texts.append(Localization::text(key));
    }
    if (node.deltaType)
        texts.append(DeltaBadgeStyle::text(*node.deltaType));
    return texts;
}

QFont TreeRowDelegate::nameFont()
{
    return SystemFont::defaultFont();
}

QFont TreeRowDelegate::deltaBadgeFont()
{
    return SystemFont::font(SystemFont::caption2PixelSize);
}

QFont TreeRowDelegate::statusBadgeFont()
{
    return SystemFont::font(10, QFont::DemiBold);
}

TreeRowDelegate::RowLayout TreeRowDelegate::layoutRow(const QRectF &rect, const TreeNode &node,
                                                      std::optional<ChangeStatus> status)
{
    RowLayout withTexts = layoutRow(rect, node, status, false);
    const bool hasBadge = withTexts.deltaBadge || withTexts.statusBadge;
    if (!hasBadge || withTexts.name == node.name)
        return withTexts;
    return layoutRow(rect, node, status, true);
}

TreeRowDelegate::RowLayout TreeRowDelegate::layoutRow(const QRectF &rect, const TreeNode &node,
                                                      std::optional<ChangeStatus> status, bool dots)
{
    RowLayout layout;
    layout.symbol = symbolFor(node.kind);
    const qreal centerY = rect.center().y();
    qreal trailing = rect.right() - trailingInset;

    // Badges are placed from the trailing edge inwards: the status badge last in the row.
    const auto placeBadge = [&](const QString &text, const QFont &font, qreal paddingH, qreal paddingV) {
        const QSizeF size =
            dots ? QSizeF(dotDiameter, dotDiameter) : badgeSize(text, font, paddingH, paddingV);
        if (trailing < rect.right() - trailingInset)
            trailing -= spacing;
        const QRectF badge(trailing - size.width(), centerY - size.height() / 2, size.width(), size.height());
        trailing = badge.left();
        return Badge{text, badge, dots};
    };
    if (status) {
        if (const char *key = statusLabelKey(*status)) {
            if (const QString label = Localization::text(key); !label.isEmpty())
                layout.statusBadge = placeBadge(label, statusBadgeFont(), statusPaddingH, statusPaddingV);
        }
    }
    if (node.deltaType)
        layout.deltaBadge = placeBadge(DeltaBadgeStyle::text(*node.deltaType), deltaBadgeFont(),
                                       deltaPaddingH, deltaPaddingV);
    // The flexible space between the name and the badges: at least minimumGap, with the row's
    // spacing on either side of it (on one side only when there is no badge).
    trailing -= spacing + minimumGap + ((layout.deltaBadge || layout.statusBadge) ? spacing : 0);

    const qreal iconLeft = rect.left() + leadingInset;
    layout.icon = QRectF(iconLeft, rect.top(), iconWidth, rect.height());
    const qreal nameLeft = iconLeft + iconWidth + spacing;
    const qreal nameWidth = std::max<qreal>(0, trailing - nameLeft);
    layout.nameRect = QRectF(nameLeft, rect.top(), nameWidth, rect.height());
    layout.name = QFontMetricsF(nameFont()).elidedText(node.name, Qt::ElideRight, nameWidth);
    return layout;
}

void TreeRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    const TreeNode *node = ProjectTreeModel::nodeAt(index);
    if (!node)
        return;
    std::optional<ChangeStatus> status;
    if (const QVariant value = index.data(ProjectTreeModel::ChangeStatusRole); value.isValid())
        status = ChangeStatus(value.toInt());

    const QPalette &palette = option.palette;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);

    const RowLayout layout = layoutRow(option.rect, *node, status);
    SymbolIcon::paint(painter, layout.icon, layout.symbol, SidebarColors::icon.resolve(palette),
                      QFont::Normal, int(iconWidth) - 2);

    using UnreadMark = ProjectTreeModel::UnreadMark;
    if (const auto mark = UnreadMark(index.data(ProjectTreeModel::UnreadMarkRole).toInt());
        mark != UnreadMark::none) {
        const bool folder = mark == UnreadMark::holdsUnread;
        painter->setPen(Qt::NoPen);
        painter->setBrush(
            (folder ? SidebarColors::unreadFolder : SidebarColors::unreadFile).resolve(palette));
        painter->drawEllipse(unreadMarkRect(layout.icon, folder));
    }

    painter->setFont(nameFont());
    painter->setPen(SidebarColors::name.resolve(palette));
    painter->drawText(layout.nameRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, layout.name);

    paintBadges(painter, palette, layout, node->deltaType, status);
    painter->restore();
}

void TreeRowDelegate::paintBadges(QPainter *painter, const QPalette &palette, const RowLayout &layout,
                                  std::optional<DeltaSpecType> deltaType, std::optional<ChangeStatus> status)
{
    if (layout.deltaBadge && deltaType && layout.deltaBadge->dot) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(DeltaBadgeStyle::color(*deltaType).resolve(palette));
        painter->drawEllipse(layout.deltaBadge->rect);
    } else if (layout.deltaBadge && deltaType) {
        const QPainterPath shape = roundedRect(layout.deltaBadge->rect, deltaRadius);
        painter->fillPath(shape, DeltaBadgeStyle::fill(*deltaType).resolve(palette));
        painter->setFont(deltaBadgeFont());
        painter->setPen(StandardColors::primaryText.resolve(palette));
        painter->drawText(layout.deltaBadge->rect, Qt::AlignCenter, layout.deltaBadge->text);
    }
    if (layout.statusBadge && status && layout.statusBadge->dot) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(statusColor(*status).resolve(palette));
        painter->drawEllipse(layout.statusBadge->rect);
    } else if (layout.statusBadge && status) {
        const DynamicColor color = statusColor(*status);
        const QRectF rect = layout.statusBadge->rect;
        const QPainterPath shape = roundedRect(rect, statusRadius);
        painter->fillPath(shape, color.withOpacity(statusFillOpacity(*status)).resolve(palette));
        painter->setPen(QPen(color.withOpacity(statusStrokeOpacity).resolve(palette), 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(roundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), statusRadius));
        painter->setFont(statusBadgeFont());
        painter->setPen(color.resolve(palette));
        painter->drawText(rect, Qt::AlignCenter, layout.statusBadge->text);
    }
}

QRectF TreeRowDelegate::unreadMarkRect(const QRectF &icon, bool folder)
{
    const qreal diameter = folder ? unreadFolderDiameter : unreadFileDiameter;
    const qreal glyphTop = icon.center().y() - iconWidth / 2;
    return {icon.right() - diameter + 1, glyphTop - 1, diameter, diameter};
}

int TreeRowDelegate::rowHeight()
{
    const QFontMetrics name(nameFont());
    const qreal badge =
        badgeSize(QStringLiteral("M"), deltaBadgeFont(), deltaPaddingH, deltaPaddingV).height();
    return int(std::ceil(std::max<qreal>({qreal(name.height()), badge, iconWidth}))) + 2 * verticalPadding;
}

QSize TreeRowDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const QFontMetrics name(nameFont());
    const int height = rowHeight();
    const TreeNode *node = ProjectTreeModel::nodeAt(index);
    const int width = node ? int(leadingInset + iconWidth + spacing) + name.horizontalAdvance(node->name) +
                                 int(trailingInset)
                           : 0;
    return {width, height};
}

} // namespace kestrune
