// A background thread lowers itself below the window's thread once, and only itself: the thread
// that started it, and the other threads of the process, keep their niceness.
#include "text/backgroundthread.h"

#include "text/backgroundpool.h"

#include <QMutex>
#include <QTest>
#include <QThread>
#include <QThreadPool>

#include <algorithm>

using namespace kestrune;

class TestBackgroundThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lowersOnlyTheCallingThreadAndOnlyOnce();
    void onlyTheYieldingPoolIsLowered();
};

void TestBackgroundThread::lowersOnlyTheCallingThreadAndOnlyOnce()
{
    const int window = BackgroundThread::currentNiceness();
    const int expected = std::min(19, window + BackgroundThread::steps());
    int afterFirst = -100;
    int afterSecond = -100;
    QThread *worker = QThread::create([&] {
        BackgroundThread::yieldToWindow();
        afterFirst = BackgroundThread::currentNiceness();
        BackgroundThread::yieldToWindow(); // a pool calls it before every task
        afterSecond = BackgroundThread::currentNiceness();
    });
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
    QCOMPARE(afterFirst, expected);
    QCOMPARE(afterSecond, expected);
    QCOMPARE(BackgroundThread::currentNiceness(), window);

    // A thread of its own starts from the process's niceness, not from a lowered thread's.
    int other = -100;
    QThread *next = QThread::create([&] { other = BackgroundThread::currentNiceness(); });
    next->start();
    QVERIFY(next->wait(10000));
    delete next;
    QCOMPARE(other, window);
}

void TestBackgroundThread::onlyTheYieldingPoolIsLowered()
{
    const int window = BackgroundThread::currentNiceness();
    const int expected = std::min(19, window + BackgroundThread::steps());
    QMutex mutex;
    QList<int> yielding;
    QList<int> ordinary;
    // More tasks than threads, each pool's tasks among the other's: the pools share no thread.
    const int tasks = 4 * BackgroundPool::yielding()->maxThreadCount();
    for (int task = 0; task < tasks; ++task) {
        BackgroundPool::yielding()->start([&] {
            BackgroundThread::yieldToWindow();
            const QMutexLocker locker(&mutex);
            yielding.append(BackgroundThread::currentNiceness());
        });
        BackgroundPool::instance()->start([&] {
            const QMutexLocker locker(&mutex);
            ordinary.append(BackgroundThread::currentNiceness());
        });
    }
    QVERIFY(BackgroundPool::yielding()->waitForDone(10000));
    QVERIFY(BackgroundPool::instance()->waitForDone(10000));
    QCOMPARE(yielding, QList<int>(tasks, expected));
    // The pool for work a reader waits for keeps the window's niceness.
    QCOMPARE(ordinary, QList<int>(tasks, window));
}

QTEST_GUILESS_MAIN(TestBackgroundThread)
#include "tst_backgroundthread.moc"
