#include "markdown/layout/nodes/layouttablenode_p.h"

#include "ui/bandedfill.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kestrune {

LayoutTableNode::LayoutTableNode(QList<BlockView::HorizontalAlignment> alignments,
                                 TableBorderStyle borderStyle, TableBackgroundStyle backgroundStyle)
    : m_alignments(std::move(alignments)), m_borderStyle(std::move(borderStyle)),
      m_backgroundStyle(std::move(backgroundStyle)), m_columnCount(int(m_alignments.size()))
{}

void LayoutTableNode::appendCell(int row, int column, std::unique_ptr<LayoutNode> cell)
{
    adopt(cell.get());
    m_cells.push_back({row, column, std::move(cell)});
    m_rowCount = std::max(m_rowCount, row + 1);
    m_columnCount = std::max(m_columnCount, column + 1);
}

QSizeF LayoutTableNode::doLayout(qreal width)
{
    const qreal border = m_borderStyle.lineWidth;
    std::vector<qreal> columnWidths(size_t(m_columnCount), 0);
    for (Cell &cell : m_cells)
        columnWidths[size_t(cell.column)] =
            std::max(columnWidths[size_t(cell.column)], cell.node->idealWidth());

    const qreal available = std::isinf(width) ? width : std::max<qreal>(0, width - 2 * border);
    const qreal ideal = std::accumulate(columnWidths.begin(), columnWidths.end(), 0.0);
    if (ideal > available && m_columnCount > 0) {
        // Every column keeps its widest word; what is left over goes to the columns that want
        // more, the least demanding first, each taking what it wants or an equal share. When
        // even the words do not fit, the table is wider than offered and its box scrolls.
        const std::vector<qreal> minimum = minimumColumnWidths();
        const qreal reserved = std::accumulate(minimum.begin(), minimum.end(), 0.0);
        std::vector<size_t> order(columnWidths.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return columnWidths[a] - minimum[a] < columnWidths[b] - minimum[b];
        });
        qreal remaining = std::max<qreal>(0, available - reserved);
        size_t left = order.size();
        for (size_t column : order) {
            const qreal extra =
                std::floor(std::min(columnWidths[column] - minimum[column], remaining / qreal(left)));
            columnWidths[column] = minimum[column] + std::max<qreal>(0, extra);
            remaining -= std::max<qreal>(0, extra);
            --left;
        }
    }

    std::vector<qreal> rowHeights(size_t(m_rowCount), 0);
    for (Cell &cell : m_cells)
        rowHeights[size_t(cell.row)] = std::max(
            rowHeights[size_t(cell.row)], cell.node->layout(columnWidths[size_t(cell.column)]).height());

    m_bounds = {};
    qreal x = border;
    for (qreal columnWidth : columnWidths) {
        m_bounds.columnLefts.append(x);
        m_bounds.columnWidths.append(columnWidth);
        x += columnWidth;
    }
    qreal y = border;
    for (qreal rowHeight : rowHeights) {
        m_bounds.rowTops.append(y);
        m_bounds.rowHeights.append(rowHeight);
        y += rowHeight;
    }
    m_bounds.bounds = QRectF(border, border, x - border, y - border);

    for (Cell &cell : m_cells) {
        const qreal columnWidth = columnWidths[size_t(cell.column)];
        const QSizeF size = cell.node->size();
        const auto alignment = cell.column < m_alignments.size() ? m_alignments[cell.column]
                                                                 : BlockView::HorizontalAlignment::leading;
        qreal offset = 0;
        if (alignment == BlockView::HorizontalAlignment::center)
            offset = (columnWidth - size.width()) / 2;
        else if (alignment == BlockView::HorizontalAlignment::trailing)
            offset = columnWidth - size.width();
        cell.node->setPosition(
            {m_bounds.columnLefts[cell.column] + offset,
             m_bounds.rowTops[cell.row] + (rowHeights[size_t(cell.row)] - size.height()) / 2});
    }
    return {x + border, y + border};
}

std::vector<qreal> LayoutTableNode::minimumColumnWidths() const
{
    std::vector<qreal> widths(size_t(m_columnCount), 0);
    for (const Cell &cell : m_cells)
        widths[size_t(cell.column)] =
            std::max(widths[size_t(cell.column)], std::ceil(cell.node->minimumWidth()));
    return widths;
}

qreal LayoutTableNode::minimumWidth()
{
    const std::vector<qreal> widths = minimumColumnWidths();
    return std::accumulate(widths.begin(), widths.end(), 2 * m_borderStyle.lineWidth);
}

qreal LayoutTableNode::firstBaseline() const
{
    for (const Cell &cell : m_cells) {
        const qreal baseline = cell.node->firstBaseline();
        if (baseline >= 0)
            return cell.node->position().y() + baseline;
    }
    return -1;
}

void LayoutTableNode::paint(LayoutPaintContext &context) const
{
    QPainter *painter = context.painter;
    // Only the rows in the clip: a long table split over pages is painted once a page, and a PDF
    // keeps whatever is painted, clipped or not.
    const QList<qreal> &tops = m_bounds.rowTops;
    const auto firstRow = int(std::partition_point(tops.cbegin(), tops.cend(),
                                                   [&](qreal top) { return top <= context.clip.top(); }) -
                              tops.cbegin());
    const auto endRow = int(std::partition_point(tops.cbegin(), tops.cend(),
                                                 [&](qreal top) { return top < context.clip.bottom(); }) -
                            tops.cbegin());
    if (m_backgroundStyle) {
        for (int row = std::max(0, firstRow - 1); row < endRow; ++row) {
            for (int column = 0; column < m_bounds.columnLefts.size(); ++column) {
                if (const std::optional<DynamicColor> fill = m_backgroundStyle(row, column))
                    painter->fillRect(QRectF(m_bounds.columnLefts[column], m_bounds.rowTops[row],
                                             m_bounds.columnWidths[column], m_bounds.rowHeights[row]),
                                      fill->resolve(context.appearance));
            }
        }
    }
    paintChildren(context);

    if (!m_borderStyle.visibleBorders || m_borderStyle.lineWidth <= 0)
        return;
    const TableBorderStyle::Borders borders = m_borderStyle.visibleBorders(m_bounds, m_borderStyle.lineWidth);
    const QColor color = m_borderStyle.color.resolve(context.appearance);
    // A column's rule runs the table's height: only its part in the clip, and a little beyond.
    const qreal reachTop = context.clip.top() - 2;
    const qreal reachHeight = context.clip.height() + 4;
    for (const QRectF &rect : borders.inner) {
        if (rect.intersects(context.clip))
            BandedFill::fillRect(
                *painter, rect.intersected(QRectF(rect.left(), reachTop, rect.width(), reachHeight)), color);
    }
    if (!borders.outer.isEmpty()) {
        painter->save();
        QPen pen(color, m_borderStyle.lineWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setMiterLimit(m_borderStyle.miterLimit);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        for (const QRectF &rect : borders.outer)
            painter->drawRect(rect);
        painter->restore();
    }
}

} // namespace kestrune
