// What measuring a block is charged: the processor time the thread spent, so that a thread set
// aside by a busy machine does not make a block look slower than a slice.
#include "markdown/layout/document/blockmeasuretimer_p.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

using namespace kestrune;

class TestBlockMeasureTimer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A thread that waits while "measuring" spends no processor time; one that works does.
    void timeAsideIsNotCharged()
    {
        BlockMeasureTimer timer;
        timer.start();
        QThread::msleep(40);
        QVERIFY(timer.elapsedMilliseconds() < 20);

        timer.start();
        QElapsedTimer wall;
        wall.start();
        volatile quint64 sum = 0;
        while (wall.elapsed() < 40)
            sum = sum + 1;
        QVERIFY(timer.elapsedMilliseconds() > 0);
    }

    // A block measured after another that waited keeps its own time, not the wait before it.
    void eachBlockIsChargedItsOwnTime()
    {
        BlockMeasureTimer timer;
        timer.start();
        QThread::msleep(5);
        timer.elapsedMilliseconds();
        timer.start();
        QVERIFY(timer.elapsedMilliseconds() < 2);
    }
};

QTEST_MAIN(TestBlockMeasureTimer)
#include "tst_blockmeasuretimer.moc"
