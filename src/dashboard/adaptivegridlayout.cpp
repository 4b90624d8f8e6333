#include "dashboard/adaptivegridlayout.h"

#include <QWidget>

#include <algorithm>

namespace kestrune {

namespace {

// Reports what the layout item of an Expanding × Fixed widget with these sizes reports, and keeps
// the geometry it is given.
class PlaceholderItem : public QLayoutItem
{
public:
    PlaceholderItem(int height, int minimumWidth) { resize(height, minimumWidth); }

    void resize(int height, int minimumWidth)
    {
        m_height = std::max(0, height);
        m_minimumWidth = std::max(0, minimumWidth);
    }

    QSize sizeHint() const override { return {m_minimumWidth, m_height}; }
    QSize minimumSize() const override { return {m_minimumWidth, m_height}; }
    QSize maximumSize() const override { return {QWIDGETSIZE_MAX, m_height}; }
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool isEmpty() const override { return false; }
    void setGeometry(const QRect &rect) override { m_geometry = rect; }
    QRect geometry() const override { return m_geometry; }

private:
    int m_height = 0;
    int m_minimumWidth = 0;
    QRect m_geometry;
};

} // namespace

AdaptiveGridLayout::AdaptiveGridLayout(int minimumColumnWidth, int columnSpacing, int rowSpacing,
                                       QWidget *parent)
    : QLayout(parent), m_minimumColumnWidth(std::max(1, minimumColumnWidth)),
      m_columnSpacing(std::max(0, columnSpacing)), m_rowSpacing(std::max(0, rowSpacing))
{
    setContentsMargins(0, 0, 0, 0);
}

AdaptiveGridLayout::~AdaptiveGridLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

int AdaptiveGridLayout::columnCount(int width, int minimumColumnWidth, int columnSpacing)
{
    // n·minimum + (n − 1)·spacing ≤ width  ⇔  n ≤ (width + spacing) / (minimum + spacing)
    const int columns = (width + columnSpacing) / std::max(1, minimumColumnWidth + columnSpacing);
    return std::max(1, columns);
}

void AdaptiveGridLayout::setItemOverhang(const QMargins &overhang)
{
    m_overhang = overhang;
    invalidate();
}

void AdaptiveGridLayout::addPlaceholder(int height, int minimumWidth)
{
    m_items.append(new PlaceholderItem(height, minimumWidth));
    ++m_placeholderCount;
    invalidate();
}

bool AdaptiveGridLayout::isPlaceholder(int index) const
{
    return m_placeholderCount > 0 && dynamic_cast<PlaceholderItem *>(itemAt(index));
}

void AdaptiveGridLayout::fillPlaceholder(int index, QWidget *widget)
{
    if (!widget || !isPlaceholder(index))
        return;
    addChildWidget(widget);
    QLayoutItem *placeholder = m_items.at(index);
    auto *item = new QWidgetItemV2(widget);
    // In its cell at once; the next layout pass, which the change asks for, confirms it.
    if (placeholder->geometry().isValid())
        item->setGeometry(placeholder->geometry());
    m_items[index] = item;
    delete placeholder;
    --m_placeholderCount;
    invalidate();
}

void AdaptiveGridLayout::resizePlaceholder(int index, int height, int minimumWidth)
{
    auto *placeholder = m_placeholderCount > 0 ? dynamic_cast<PlaceholderItem *>(itemAt(index)) : nullptr;
    if (placeholder && placeholder->minimumSize() != QSize(minimumWidth, height)) {
        placeholder->resize(height, minimumWidth);
        invalidate();
    }
}

void AdaptiveGridLayout::addItem(QLayoutItem *item)
{
    m_items.append(item);
    invalidate();
}

int AdaptiveGridLayout::count() const
{
    return int(m_items.size());
}

QLayoutItem *AdaptiveGridLayout::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

QLayoutItem *AdaptiveGridLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    QLayoutItem *item = m_items.takeAt(index);
    if (dynamic_cast<PlaceholderItem *>(item))
        --m_placeholderCount;
    invalidate();
    return item;
}

Qt::Orientations AdaptiveGridLayout::expandingDirections() const
{
    return Qt::Horizontal;
}

bool AdaptiveGridLayout::hasHeightForWidth() const
{
    return true;
}

int AdaptiveGridLayout::heightForWidth(int width) const
{
    if (width != m_cachedWidth) {
        const QMargins margins = contentsMargins();
        const int inner = width - margins.left() - margins.right();
        m_cachedHeight = doLayout(QRect(0, 0, inner, 0), true) + margins.top() + margins.bottom();
        m_cachedWidth = width;
    }
    return m_cachedHeight;
}

QSize AdaptiveGridLayout::minimumSize() const
{
    // One column may shrink below its minimum when the room is narrower; what it cannot go below
    // is its widest item's minimum.
    //
    // The height is the least the grid ever takes, its tallest item in a single row: the real
    // height comes from heightForWidth. The one-column height would be a floor at every width,
    // and a scroll area sizes its widget to at least the minimum, so a wide page would scroll on
    // into the blank room of the narrowest layout.
    int width = 0;
    int height = 0;
    for (const QLayoutItem *item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize minimum = item->minimumSize();
        width = std::max(width, minimum.width());
        height = std::max(height, minimum.height());
    }
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

QSize AdaptiveGridLayout::sizeHint() const
{
    const QMargins margins = contentsMargins();
    const int width = m_minimumColumnWidth + margins.left() + margins.right();
    return {width, heightForWidth(width)};
}

void AdaptiveGridLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    doLayout(rect.marginsRemoved(contentsMargins()), false);
}

void AdaptiveGridLayout::invalidate()
{
    m_cachedWidth = -1;
    QLayout::invalidate();
}

int AdaptiveGridLayout::doLayout(const QRect &rect, bool testOnly) const
{
    QList<QLayoutItem *> visible;
    visible.reserve(m_items.size());
    for (QLayoutItem *item : m_items) {
        if (!item->isEmpty())
            visible.append(item);
    }
    if (visible.isEmpty())
        return 0;

    const int width = std::max(0, rect.width());
    const int columns = columnCount(width, m_minimumColumnWidth, m_columnSpacing);
    const qreal columnWidth = std::max(0.0, qreal(width - (columns - 1) * m_columnSpacing) / columns);

    const auto itemSize = [columnWidth](const QLayoutItem *item) {
        const int w = std::clamp(int(columnWidth), 0, item->maximumSize().width());
        const int h = item->hasHeightForWidth() ? item->heightForWidth(w) : item->sizeHint().height();
        return QSize(w, std::clamp(h, item->minimumSize().height(), item->maximumSize().height()));
    };

    int y = rect.y();
    QList<QSize> rowSizes;
    rowSizes.reserve(columns);
    for (qsizetype rowStart = 0; rowStart < visible.size(); rowStart += columns) {
        const qsizetype rowEnd = std::min(visible.size(), rowStart + columns);
        rowSizes.clear();
        int rowHeight = 0;
        for (qsizetype i = rowStart; i < rowEnd; ++i) {
            rowSizes.append(itemSize(visible.at(i)));
            rowHeight = std::max(rowHeight, rowSizes.last().height());
        }
        if (!testOnly) {
            for (qsizetype i = rowStart; i < rowEnd; ++i) {
                const int column = int(i - rowStart);
                // Cells start on whole pixels; rounding each edge from the exact position keeps
                // the spacings equal within a pixel and the last column flush with the right edge.
                const int cellLeft = rect.x() + int(std::lround(column * (columnWidth + m_columnSpacing)));
                const int cellRight =
                    rect.x() + int(std::lround(column * (columnWidth + m_columnSpacing) + columnWidth));
                const QSize size = rowSizes.at(column);
                const int w = std::min(size.width(), cellRight - cellLeft);
                const QRect cell(cellLeft + (cellRight - cellLeft - w) / 2,
                                 y + (rowHeight - size.height()) / 2, w, size.height());
                visible.at(i)->setGeometry(cell.marginsAdded(m_overhang));
            }
        }
        y += rowHeight;
        if (rowEnd < visible.size())
            y += m_rowSpacing;
    }
    return y - rect.y();
}

} // namespace kestrune
