#include "ui/warmupqueue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace kestrune;

namespace {

// Counts its paints into the test's counter and remembers the size it was painted at.
class PaintCounter : public QWidget
{
public:
    PaintCounter(int *paints, QSize *paintedSize, QWidget *parent)
        : QWidget(parent), m_paints(paints), m_paintedSize(paintedSize)
    {}

    QSize sizeHint() const override { return {120, 40}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++*m_paints;
        *m_paintedSize = size();
        QPainter(this).fillRect(rect(), Qt::red);
    }

private:
    int *m_paints;
    QSize *m_paintedSize;
};

} // namespace

class TestWarmUpQueue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void piecesRunInOrderOnlyOnceStarted();
    void eventsAreHandledBetweenSlices();
    void cheapPiecesShareASliceAndADearOneEndsIt();
    void piecesAddedLaterRunToo();
    void aDestroyedQueueRunsNothingMore();
    void renderingMakesLaysOutAndPaintsTheWidgetInTwoPieces();
};

void TestWarmUpQueue::piecesRunInOrderOnlyOnceStarted()
{
    WarmUpQueue queue;
    QList<int> order;
    for (int piece = 0; piece < 5; ++piece)
        queue.add([&order, piece] { order.append(piece); });
    QCoreApplication::processEvents();
    QVERIFY(order.isEmpty());
    QVERIFY(!queue.isStarted());
    QVERIFY(!queue.isFinished());

    QSignalSpy finished(&queue, &WarmUpQueue::finished);
    queue.start();
    QVERIFY(order.isEmpty()); // not within start()
    QVERIFY(finished.wait());
    QCOMPARE(order, QList<int>({0, 1, 2, 3, 4}));
    QVERIFY(queue.isFinished());
    QCOMPARE(queue.pendingCount(), 0);
    QCOMPARE(finished.count(), 1);
}

void TestWarmUpQueue::eventsAreHandledBetweenSlices()
{
    // One piece per slice: what a piece posts is handled before the next piece runs.
    WarmUpQueue queue;
    queue.setSliceBudget(0);
    constexpr int pieces = 6;
    QList<bool> handled(pieces, false);
    QList<bool> handledBeforeNext(pieces - 1, false);
    for (int piece = 0; piece < pieces; ++piece) {
        queue.add([&, piece] {
            if (piece > 0)
                handledBeforeNext[piece - 1] = handled.at(piece - 1);
            QMetaObject::invokeMethod(
                &queue, [&handled, piece] { handled[piece] = true; }, Qt::QueuedConnection);
        });
    }
    queue.start();
    QTRY_VERIFY(queue.isFinished());
    QCOMPARE(handledBeforeNext, QList<bool>(pieces - 1, true));
}

void TestWarmUpQueue::cheapPiecesShareASliceAndADearOneEndsIt()
{
    WarmUpQueue queue;
    queue.setSliceBudget(5);
    bool postedHandled = false;
    QList<bool> seenByPiece;
    const auto post = [&] {
        QMetaObject::invokeMethod(
            &queue, [&postedHandled] { postedHandled = true; }, Qt::QueuedConnection);
    };
    // Three cheap pieces: one slice, nothing handled in between.
    queue.add(post);
    queue.add([&] { seenByPiece.append(postedHandled); });
    queue.add([&] { seenByPiece.append(postedHandled); });
    // A piece that spends the slice's whole budget: the next one comes in another slice.
    queue.add([&] {
        postedHandled = false;
        post();
        QElapsedTimer spent;
        spent.start();
        while (spent.elapsed() <= queue.sliceBudget()) {
        }
    });
    queue.add([&] { seenByPiece.append(postedHandled); });
    queue.start();
    QTRY_VERIFY(queue.isFinished());
    QCOMPARE(seenByPiece, QList<bool>({false, false, true}));
}

void TestWarmUpQueue::piecesAddedLaterRunToo()
{
    WarmUpQueue queue;
    QSignalSpy finished(&queue, &WarmUpQueue::finished);
    QStringList ran;
    queue.add([&] {
        ran.append(QStringLiteral("first"));
        queue.add([&] { ran.append(QStringLiteral("added by a piece")); });
    });
    queue.start();
    QTRY_VERIFY(queue.isFinished());
    QCOMPARE(ran, QStringList({QStringLiteral("first"), QStringLiteral("added by a piece")}));
    QCOMPARE(finished.count(), 1);

    queue.add([&] { ran.append(QStringLiteral("after finishing")); });
    QVERIFY(!queue.isFinished());
    QTRY_COMPARE(finished.count(), 2);
    QCOMPARE(ran.last(), QStringLiteral("after finishing"));
}

void TestWarmUpQueue::aDestroyedQueueRunsNothingMore()
{
    auto *queue = new WarmUpQueue;
    queue->setSliceBudget(0);
    int ran = 0;
    for (int piece = 0; piece < 4; ++piece)
        queue->add([&ran] { ++ran; });
    queue->start();
    QTRY_VERIFY(ran >= 1);
    const int before = ran;
    delete queue;
    // Give the event loop turns in which a stray slice would run.
    bool turned = false;
    QMetaObject::invokeMethod(
        qApp, [&turned] { turned = true; }, Qt::QueuedConnection);
    QTRY_VERIFY(turned);
    QCoreApplication::processEvents();
    QCOMPARE(ran, before);
}

void TestWarmUpQueue::renderingMakesLaysOutAndPaintsTheWidgetInTwoPieces()
{
    WarmUpQueue queue;
    queue.setSliceBudget(0);
    int paints = 0;
    QSize paintedSize;
    QPointer<QWidget> made;
    int paintsBetweenThePieces = -1;
    queue.addRendering([&] {
        auto widget = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(widget.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new PaintCounter(&paints, &paintedSize, widget.get()));
        made = widget.get();
        // Handled after this piece's slice, before the next one's.
        QMetaObject::invokeMethod(
            &queue, [&] { paintsBetweenThePieces = paints; }, Qt::QueuedConnection);
        return widget;
    });
    queue.start();
    QTRY_VERIFY(queue.isFinished());
    QCOMPARE(paintsBetweenThePieces, 0);
    // Drawn once, hidden, laid out at its size hint, and deleted.
    QCOMPARE(paints, 1);
    QCOMPARE(paintedSize, QSize(120, 40));
    QVERIFY(made.isNull());
}

QTEST_MAIN(TestWarmUpQueue)
#include "tst_warmupqueue.moc"
