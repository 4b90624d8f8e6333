// A background thread lowers itself below the window's thread once, and only itself: the thread
// that started it, and the other threads of the process, keep their niceness.
#include "text/backgroundthread.h"

#include <QTest>
#include <QThread>

#include <algorithm>

using namespace kestrune;

class TestBackgroundThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lowersOnlyTheCallingThreadAndOnlyOnce();
};

void TestBackgroundThread::lowersOnlyTheCallingThreadAndOnlyOnce()
{
    const int window = BackgroundThread::currentNiceness();
    const int expected = std::min(19, window + BackgroundThread::niceness);
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

QTEST_GUILESS_MAIN(TestBackgroundThread)
#include "tst_backgroundthread.moc"
