#pragma once

#include "model/changestatus.h"
#include "model/treenode.h"

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

    static RowLayout layoutRow(const QRectF &rect, const TreeNode &node, std::optional<ChangeStatus> status);

    // The symbol of a node kind, the text of a delta badge, the label key of a status badge
    // (null for archived changes, which have no badge).
    static QString symbolFor(TreeNodeKind kind);
    static const char *statusLabelKey(ChangeStatus status);

    static QFont nameFont();
    static QFont deltaBadgeFont();
    static QFont statusBadgeFont();

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace kestrune
