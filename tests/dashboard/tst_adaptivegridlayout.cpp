#include "dashboard/adaptivegridlayout.h"

#include <QTest>
#include <QWidget>

#include <memory>

using namespace kestrune;

namespace {

// A fixed-height block that takes any width, like the dashboard's cards.
class Block : public QWidget
{
public:
    Block(int height, QWidget *parent, QSizePolicy::Policy vertical = QSizePolicy::Fixed)
        : QWidget(parent), m_height(height)
    {
        setSizePolicy(QSizePolicy::Expanding, vertical);
    }
    QSize sizeHint() const override { return {100, m_height}; }
    QSize minimumSizeHint() const override { return {10, m_height}; }

private:
    int m_height;
};

} // namespace

class TestAdaptiveGridLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columnCount_data();
    void columnCount();
    void placesItemsRowByRowInEqualColumns();
    void rowIsAsHighAsItsHighestItemAndCentresTheOthers();
    void heightForWidthMatchesWhatIsPlaced();
    void overhangGrowsItemsBeyondTheirCells();
};

void TestAdaptiveGridLayout::columnCount_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("columns");

    QTest::addRow("change grid at 650: two columns need 654") << 650 << 320 << 14 << 1;
    QTest::addRow("change grid at 654: exactly two columns") << 654 << 320 << 14 << 2;
    QTest::addRow("narrower than one column still gives one") << 200 << 320 << 14 << 1;
    QTest::addRow("no width at all gives one") << 0 << 320 << 14 << 1;
    QTest::addRow("summary grid: four cards at 802") << 802 << 190 << 14 << 4;
    QTest::addRow("summary grid: three cards at 801") << 801 << 190 << 14 << 3;
    QTest::addRow("spec grid: three columns at 1044") << 1044 << 340 << 12 << 3;
}

void TestAdaptiveGridLayout::columnCount()
{
    QFETCH(int, width);
    QFETCH(int, minimum);
    QFETCH(int, spacing);
    QFETCH(int, columns);
    QCOMPARE(AdaptiveGridLayout::columnCount(width, minimum, spacing), columns);
}

void TestAdaptiveGridLayout::placesItemsRowByRowInEqualColumns()
{
    QWidget host;
    auto *grid = new AdaptiveGridLayout(320, 14, 12, &host);
    QList<Block *> blocks;
    for (int i = 0; i < 5; ++i) {
        blocks.append(new Block(40, &host));
        grid->addWidget(blocks.last());
    }
    grid->setGeometry(QRect(0, 0, 654, grid->heightForWidth(654)));
    // Two columns of 320: 0–319 and 334–653.
    QCOMPARE(blocks[0]->geometry(), QRect(0, 0, 320, 40));
    QCOMPARE(blocks[1]->geometry(), QRect(334, 0, 320, 40));
    QCOMPARE(blocks[2]->geometry(), QRect(0, 52, 320, 40));
    QCOMPARE(blocks[4]->geometry(), QRect(0, 104, 320, 40));

    // Wider: still two columns, sharing the surplus equally, the last flush with the right edge.
    grid->setGeometry(QRect(0, 0, 900, grid->heightForWidth(900)));
    QCOMPARE(blocks[0]->geometry(), QRect(0, 0, 443, 40));
    QCOMPARE(blocks[1]->geometry().right(), 899);
    QCOMPARE(blocks[1]->x() - blocks[0]->geometry().right() - 1, 14);

    grid->setGeometry(QRect(0, 0, 650, grid->heightForWidth(650)));
    QCOMPARE(blocks[1]->geometry(), QRect(0, 52, 650, 40));
}

void TestAdaptiveGridLayout::rowIsAsHighAsItsHighestItemAndCentresTheOthers()
{
    QWidget host;
    auto *grid = new AdaptiveGridLayout(100, 10, 8, &host);
    auto *low = new Block(20, &host);
    auto *high = new Block(60, &host);
    auto *next = new Block(30, &host);
    grid->addWidget(low);
    grid->addWidget(high);
    grid->addWidget(next);
    grid->setGeometry(QRect(0, 0, 210, grid->heightForWidth(210)));
    QCOMPARE(low->geometry(), QRect(0, 20, 100, 20));
    QCOMPARE(high->geometry(), QRect(110, 0, 100, 60));
    QCOMPARE(next->geometry(), QRect(0, 68, 100, 30));
}

void TestAdaptiveGridLayout::heightForWidthMatchesWhatIsPlaced()
{
    QWidget host;
    auto *grid = new AdaptiveGridLayout(190, 14, 14, &host);
    QList<Block *> blocks;
    for (int i = 0; i < 4; ++i) {
        blocks.append(new Block(96, &host));
        grid->addWidget(blocks.last());
    }
    for (const int width : {400, 600, 802, 1200}) {
        const int height = grid->heightForWidth(width);
        grid->setGeometry(QRect(0, 0, width, height));
        int bottom = 0;
        for (const Block *block : std::as_const(blocks))
            bottom = std::max(bottom, block->geometry().bottom() + 1);
        QCOMPARE(height, bottom);
    }
    QCOMPARE(grid->heightForWidth(400), 2 * 96 + 14);
    QCOMPARE(grid->heightForWidth(802), 96);

    blocks[3]->hide();
    grid->invalidate();
    QCOMPARE(grid->heightForWidth(600), 96);
}

void TestAdaptiveGridLayout::overhangGrowsItemsBeyondTheirCells()
{
    QWidget host;
    auto *grid = new AdaptiveGridLayout(190, 14, 14, &host);
    grid->setItemOverhang(QMargins(12, 12, 12, 12));
    auto *block = new Block(96, &host, QSizePolicy::Preferred);
    grid->addWidget(block);
    QCOMPARE(grid->heightForWidth(300), 96);
    grid->setGeometry(QRect(28, 24, 300, 96));
    QCOMPARE(block->geometry(), QRect(16, 12, 324, 120));
}

QTEST_MAIN(TestAdaptiveGridLayout)
#include "tst_adaptivegridlayout.moc"
