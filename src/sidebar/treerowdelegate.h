#pragma once

#include "project/changestatus.h"
#include "project/treenode.h"

#include <QFont>
#include <QRectF>
#include <QStyledItemDelegate>

#include <optional>

namespace kestrune {

// Draws one outline row: the node's icon, its name, and at the trailing edge the delta badge of a
// delta specification and the status badge of a change folder.
class TreeRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    struct Badge
    {
        QString text;
        QRectF rect;
        // Drawn as a dot in the badge's colour: the row was too narrow for the name and the
        // badge's text. The text is then in the row's tooltip and accessible text.
        bool dot = false;
    };

    // Where everything of a row goes. One function measures and places, for painting and tests.
    struct RowLayout
    {
        QString symbol;
        QRectF icon;
        QString name; // elided to fit
        QRectF nameRect;
        std::optional<Badge> deltaBadge;
        std::optional<Badge> statusBadge;
    };

    using QStyledItemDelegate::QStyledItemDelegate;

    // The texts of the badges a row shows, status first, for its tooltip and accessible text.
    static QStringList badgeTexts(const TreeNode &node, std::optional<ChangeStatus> status);

    // The name keeps priority over the badges: when the name would be cut short beside them, the
    // badges shrink to dots first.
    static RowLayout layoutRow(const QRectF &rect, const TreeNode &node, std::optional<ChangeStatus> status);

    // The symbol of a node kind, the text of a delta badge, the label key of a status badge
    // (null for archived changes, which have no badge).
    static QString symbolFor(TreeNodeKind kind);
    static const char *statusLabelKey(ChangeStatus status);

    // Where the unread mark of a row goes: on the top trailing corner of its icon, a smaller one
    // for a folder.
    static QRectF unreadMarkRect(const QRectF &icon, bool folder);

    static QFont nameFont();
    // The height of every row: the name, a badge or the icon, whichever is tallest, and padding.
    static int rowHeight();
    static QFont deltaBadgeFont();
    static QFont statusBadgeFont();

    // Draws the badges of a row laid out by layoutRow (the painter's antialiasing on).
    static void paintBadges(QPainter *painter, const QPalette &palette, const RowLayout &layout,
                            std::optional<DeltaSpecType> deltaType, std::optional<ChangeStatus> status);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    static RowLayout layoutRow(const QRectF &rect, const TreeNode &node, std::optional<ChangeStatus> status,
                               bool dots);
};

} // namespace kestrune
