#pragma once

#include <QLayout>
#include <QList>

namespace kestrune {

// A grid that fits as many columns into its width as it can: n columns where n is the largest
// number with n·minimum + (n − 1)·spacing ≤ width (at least one). The columns share what is left
// after the spacings equally; items fill the grid row by row, each as wide as its column (up to
// its maximum width) and centred in its cell; a row is as high as its highest item.
//
// Items may overhang their cells by a fixed margin (room for a shadow or a lift that is drawn
// outside the card itself); the overhang does not count for the layout's size.
//
// A cell may be held by a placeholder for a widget made later (see CardBuildQueue): it takes the
// room of a widget of that height and least width whose size policy is Expanding × Fixed, as the
// dashboard's cards are, and shows nothing.
class AdaptiveGridLayout : public QLayout
{
    Q_OBJECT

public:
    AdaptiveGridLayout(int minimumColumnWidth, int columnSpacing, int rowSpacing, QWidget *parent = nullptr);
    ~AdaptiveGridLayout() override;

    // The number of columns for an available width.
    static int columnCount(int width, int minimumColumnWidth, int columnSpacing);

    int minimumColumnWidth() const { return m_minimumColumnWidth; }
    int columnSpacing() const { return m_columnSpacing; }
    int rowSpacing() const { return m_rowSpacing; }

    void setItemOverhang(const QMargins &overhang);
    QMargins itemOverhang() const { return m_overhang; }

    // Holds the next cell for a widget `height` high and at least `minimumWidth` wide.
    void addPlaceholder(int height, int minimumWidth);
    bool isPlaceholder(int index) const;
    // The placeholders left.
    int placeholderCount() const { return m_placeholderCount; }
    // The widget made for the placeholder at `index` takes its cell (and becomes a child of the
    // layout's widget). Does nothing when the item is no placeholder.
    void fillPlaceholder(int index, QWidget *widget);
    // The placeholder at `index` stands for a widget of another size now.
    void resizePlaceholder(int index, int height, int minimumWidth);

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;
    void invalidate() override;

private:
    // Measures the grid for the rectangle's width and, unless testOnly, places the items.
    // Returns the height the items take.
    int doLayout(const QRect &rect, bool testOnly) const;

    QList<QLayoutItem *> m_items;
    int m_minimumColumnWidth = 0;
    int m_columnSpacing = 0;
    int m_rowSpacing = 0;
    QMargins m_overhang;
    int m_placeholderCount = 0;
    mutable int m_cachedWidth = -1;
    mutable int m_cachedHeight = 0;
};

} // namespace kestrune
