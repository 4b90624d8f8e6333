#pragma once

#include "markdown/layout/nodes/layoutnode_p.h"
#include "markdown/layout/style/blockview.h"
#include "markdown/layout/style/tablebackgroundstyle.h"
#include "markdown/layout/style/tableborderstyle.h"

#include <QList>

#include <memory>
#include <vector>

namespace kestrune {

// Cells in a grid: the cells of a row share a height, those of a column a width. Columns take
// their ideal widths; when those do not fit, every column keeps at least its widest word, the
// narrow ones keep their ideal width and the rest share what is left, wrapping their text.
// When even the widest words do not fit, the table is wider than offered (the builder puts it
// in a box that scrolls sideways). Each cell is aligned in its column by the column's
// alignment and centred in its row. Fills go behind the grid, borders over it; the grid is
// inset by the border width so the outer border is not clipped.
class LayoutTableNode : public LayoutNode
{
public:
    LayoutTableNode(QList<BlockView::HorizontalAlignment> alignments, TableBorderStyle borderStyle,
                    TableBackgroundStyle backgroundStyle);

    void appendCell(int row, int column, std::unique_ptr<LayoutNode> cell);

    const TableBorderStyle::Bounds &bounds() const { return m_bounds; }

    qreal firstBaseline() const override;
    qreal minimumWidth() override;
    void paint(LayoutPaintContext &context) const override;
    int childCount() const override { return int(m_cells.size()); }
    LayoutNode *child(int index) const override { return m_cells[size_t(index)].node.get(); }

protected:
    QSizeF doLayout(qreal width) override;
    const char *kindName() const override { return "table"; }

private:
    std::vector<qreal> minimumColumnWidths() const;

    struct Cell
    {
        int row = 0;
        int column = 0;
        std::unique_ptr<LayoutNode> node;
    };

    QList<BlockView::HorizontalAlignment> m_alignments;
    TableBorderStyle m_borderStyle;
    TableBackgroundStyle m_backgroundStyle;
    std::vector<Cell> m_cells;
    int m_rowCount = 0;
    int m_columnCount = 0;
    TableBorderStyle::Bounds m_bounds;
};

} // namespace kestrune
