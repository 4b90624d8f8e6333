#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QWidget;

namespace kestrune {

class AdaptiveGridLayout;

// Makes the cards of the dashboard's grids a slice at a time, so that a project with thousands of
// changes does not hold up the event loop. A grid starts out as placeholders of its cards' exact
// sizes (AdaptiveGridLayout::addPlaceholder), so the page has its final height from the start and
// nothing moves while the cards come. The queue then makes the cards within a few milliseconds
// per turn of the event loop: first the placeholders on screen, wherever the page is scrolled to
// (and nothing else in that turn, which also paints them), then the others in page order.
//
// A grid whose widget is deleted (a section collapsed or built again) simply leaves the queue.
class CardBuildQueue : public QObject
{
    Q_OBJECT

public:
    // Makes the widget for the placeholder at `index` of a grid, as a child of `parent`.
    using Factory = std::function<QWidget *(int index, QWidget *parent)>;

    // How long one turn of the event loop may spend making cards, and how many cards on screen
    // it makes at most (they are painted in the same turn).
    static constexpr int sliceMilliseconds = 2;
    static constexpr int onScreenCardsPerSlice = 8;

    explicit CardBuildQueue(QObject *parent = nullptr);
    ~CardBuildQueue() override;

    // Queues the placeholders of `grid`, the layout of `container`. Grids of a lower rank come
    // first; grids of one rank in the order they were added.
    void add(int rank, QWidget *container, AdaptiveGridLayout *grid, Factory factory);
    // Makes every card left now when there are at most `count` of them (a small project looks
    // as it always did, complete at once); more are left to the turns to come.
    void buildNowIfAtMost(int count);
    // Whether a placeholder is still waiting for its card.
    bool isBuilding() const;

Q_SIGNALS:
    // The last queued card was made.
    void finished();

private:
    struct Grid
    {
        int rank = 0;
        QPointer<QWidget> container;
        AdaptiveGridLayout *grid = nullptr;
        Factory factory;
        int next = 0; // every item before it is a card
    };

    void buildSlice();
    int pendingCount() const;
    // Makes the card of item `index` of `grid`; false when the item holds a card already.
    bool buildCard(Grid &grid, int index);
    // Moves `next` past the cards; false when the grid has no placeholder left.
    bool advance(Grid &grid);
    // Lets the grids paused while cards were shown lay out again.
    void resumeLayouts();
    void dropFinishedGrids();
    void schedule();
    void finish();

    QList<Grid> m_grids;
    // Every grid queued since the queue was last empty, in page order, and whether a card of
    // theirs was made ahead of one before it.
    QList<Grid> m_pageOrder;
    bool m_outOfOrder = false;
    QTimer m_timer;
    QList<QPointer<QWidget>> m_paused; // whose grid waits for the slice to end
};

} // namespace kestrune
