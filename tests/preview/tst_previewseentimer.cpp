#include "preview/previewseentimer.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

using namespace kestrune;

// When the text of a preview pane counts as seen: on screen long enough, or read to its end.
class TestPreviewSeenTimer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countsOnlyWhileThePaneIsOnScreen();
    void hidingThePaneStopsTheCount();
    void scrollingToTheEndCountsAtOnce();
    void nothingToSeeCountsNothing();
};

void TestPreviewSeenTimer::countsOnlyWhileThePaneIsOnScreen()
{
    PreviewSeenTimer::setDelay(20);
    QWidget pane;
    PreviewSeenTimer timer(&pane);
    QSignalSpy seen(&timer, &PreviewSeenTimer::seen);
    timer.arm();
    QVERIFY(!timer.isCounting()); // not shown yet
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QVERIFY(timer.isCounting());
    QVERIFY(seen.wait());
    QCOMPARE(seen.count(), 1);
    QVERIFY(!timer.isArmed()); // once per text
}

void TestPreviewSeenTimer::hidingThePaneStopsTheCount()
{
    PreviewSeenTimer::setDelay(60000);
    QWidget pane;
    PreviewSeenTimer timer(&pane);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    timer.arm();
    QVERIFY(timer.isCounting());
    pane.hide();
    QVERIFY(!timer.isCounting());
    QVERIFY(timer.isArmed());
    pane.show();
    QVERIFY(timer.isCounting()); // back on screen: counting afresh
}

void TestPreviewSeenTimer::scrollingToTheEndCountsAtOnce()
{
    PreviewSeenTimer::setDelay(60000);
    QWidget pane;
    auto *source = new QPlainTextEdit(&pane);
    (new QVBoxLayout(&pane))->addWidget(source);
    source->setPlainText(QString(QStringLiteral("line\n")).repeated(500));
    pane.resize(300, 200);
    PreviewSeenTimer timer(&pane);
    timer.follow(source);
    QSignalSpy seen(&timer, &PreviewSeenTimer::seen);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    timer.arm();
    QScrollBar *bar = source->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum() / 2);
    QCOMPARE(seen.count(), 0);
    bar->setValue(bar->maximum());
    QCOMPARE(seen.count(), 1);
}

void TestPreviewSeenTimer::nothingToSeeCountsNothing()
{
    PreviewSeenTimer::setDelay(20);
    QWidget pane;
    PreviewSeenTimer timer(&pane);
    QSignalSpy seen(&timer, &PreviewSeenTimer::seen);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    timer.arm();
    timer.disarm(); // a new read started: what is on show may be stale
    QVERIFY(!timer.isCounting());
    timer.arm();
    QVERIFY(seen.wait());
    QCOMPARE(seen.count(), 1);
}

QTEST_MAIN(TestPreviewSeenTimer)
#include "tst_previewseentimer.moc"
