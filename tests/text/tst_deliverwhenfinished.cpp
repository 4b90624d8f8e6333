// A result reaches its receiver on the receiver's thread, and nothing happens when the receiver
// is gone before the work ends: no call, no assertion.
#include "text/deliverwhenfinished.h"

#include <QPromise>
#include <QTest>
#include <QThread>

#include <memory>

using namespace kestrune;

class TestDeliverWhenFinished : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resultsReachOnlyAReceiverStillThere();
};

void TestDeliverWhenFinished::resultsReachOnlyAReceiverStillThere()
{
    // Finished on another thread, taken on the receiver's.
    QObject receiver;
    QPromise<int> promise;
    int taken = 0;
    QThread *takenOn = nullptr;
    deliverWhenFinished(&receiver, promise.future(), [&](int value) {
        taken = value;
        takenOn = QThread::currentThread();
    });
    promise.start();
    std::unique_ptr<QThread> worker(QThread::create([&] {
        promise.addResult(42);
        promise.finish();
    }));
    worker->start();
    QVERIFY(worker->wait(10000));
    QTRY_COMPARE(taken, 42);
    QCOMPARE(takenOn, QThread::currentThread());

    // The receiver goes first: the result ends unheard.
    auto gone = std::make_unique<QObject>();
    QPromise<int> late;
    bool called = false;
    deliverWhenFinished(gone.get(), late.future(), [&](int) { called = true; });
    late.start();
    gone.reset();
    late.addResult(7);
    late.finish();
    QCoreApplication::processEvents();
    QVERIFY(!called);

    // Cancelled without a result: nothing to hand on.
    QPromise<int> cancelled;
    deliverWhenFinished(&receiver, cancelled.future(), [&](int) { called = true; });
    cancelled.start();
    cancelled.future().cancel();
    cancelled.finish();
    QCoreApplication::processEvents();
    QVERIFY(!called);
}

QTEST_GUILESS_MAIN(TestDeliverWhenFinished)
#include "tst_deliverwhenfinished.moc"
