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
    void placeholdersTakeTheRoomOfTheirWidgets();
    void aFilledPlaceholderKeepsItsCell();
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

void TestAdaptiveGridLayout::placeholdersTakeTheRoomOfTheirWidgets()
{
    // The same rows twice: once of widgets, once of placeholders standing for them.
    const QList<int> heights = {40, 60, 40, 52, 70, 40, 31};
    QWidget widgetHost;
    QWidget placeholderHost;
    auto *widgets = new AdaptiveGridLayout(320, 14, 12, &widgetHost);
    auto *placeholders = new AdaptiveGridLayout(320, 14, 12, &placeholderHost);
    QList<Block *> blocks;
    for (const int height : heights) {
        blocks.append(new Block(height, &widgetHost));
        widgets->addWidget(blocks.last());
        placeholders->addPlaceholder(height, blocks.last()->minimumSizeHint().width());
    }
    QCOMPARE(placeholders->count(), heights.size());
    QCOMPARE(placeholders->placeholderCount(), heights.size());
    QCOMPARE(widgets->placeholderCount(), 0);
    QCOMPARE(placeholders->minimumSize(), widgets->minimumSize());
    QCOMPARE(placeholders->sizeHint(), widgets->sizeHint());
    for (const int width : {200, 650, 654, 1000, 1400}) {
        QCOMPARE(placeholders->heightForWidth(width), widgets->heightForWidth(width));
        widgets->setGeometry(QRect(0, 0, width, widgets->heightForWidth(width)));
        placeholders->setGeometry(QRect(0, 0, width, placeholders->heightForWidth(width)));
        for (int i = 0; i < heights.size(); ++i) {
            QVERIFY(placeholders->isPlaceholder(i));
            QVERIFY(!placeholders->itemAt(i)->widget());
            QCOMPARE(placeholders->itemAt(i)->geometry(), blocks[i]->geometry());
        }
    }
}

void TestAdaptiveGridLayout::aFilledPlaceholderKeepsItsCell()
{
    QWidget host;
    auto *grid = new AdaptiveGridLayout(320, 14, 12, &host);
    for (const int height : {40, 60, 40})
        grid->addPlaceholder(height, 10);
    const int height = grid->heightForWidth(654);
    grid->setGeometry(QRect(0, 0, 654, height));
    const QRect cell = grid->itemAt(1)->geometry();
    QCOMPARE(cell, QRect(334, 0, 320, 60));

    // The widget is in the placeholder's cell at once, before any new layout pass.
    auto *block = new Block(60, nullptr);
    grid->fillPlaceholder(1, block);
    QCOMPARE(block->parentWidget(), &host);
    QCOMPARE(block->geometry(), cell);
    QCOMPARE(grid->itemAt(1)->widget(), block);
    QVERIFY(!grid->isPlaceholder(1));
    QCOMPARE(grid->placeholderCount(), 2);
    QCOMPARE(grid->heightForWidth(654), height);
    // A cell holds one widget: filling it again changes nothing.
    auto *other = new Block(60, &host);
    grid->fillPlaceholder(1, other);
    QCOMPARE(grid->itemAt(1)->widget(), block);

    // A placeholder may stand for a taller widget later; taking it out leaves the count right.
    grid->resizePlaceholder(2, 90, 10);
    QCOMPARE(grid->heightForWidth(654), 60 + 12 + 90);
    delete grid->takeAt(0);
    QCOMPARE(grid->placeholderCount(), 1);
}

QTEST_MAIN(TestAdaptiveGridLayout)
#include "tst_adaptivegridlayout.moc"
