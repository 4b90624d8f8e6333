// The view laid out again for a new width: what it measures at once, what in slices or on the
// pool, the text that stays at the top of the view meanwhile, selection, find and copy while
// blocks are still being measured, and memory running out on the way.
#include "markdown/layout/view/markdownview.h"

#include "ui/themecontroller.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <climits>
#include <new>

#include <sys/resource.h>

using namespace kestrune;

namespace {

// While set, building a paragraph runs out of memory, on whichever thread it is built.
std::atomic<bool> paragraphsRunOutOfMemory = false;
// The niceness of the last thread other than the window's that built a paragraph.
std::atomic<int> nicenessBuildingAside = INT_MIN;

Theme testTheme()
{
    Theme theme;
    theme.text = TextStyle::fontSize(17);
    theme.paragraph = [](const BlockConfiguration &c) {
        if (paragraphsRunOutOfMemory)
            throw std::bad_alloc();
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            nicenessBuildingAside = getpriority(PRIO_PROCESS, 0);
        return c.label.margin(0, 14);
    };
    return theme;
}

// A view inside a window, so that resizing it is delivered at once.
struct ResizeFixture
{
    QWidget window;
    MarkdownView *view = new MarkdownView(&window);

    explicit ResizeFixture(const QString &markdown)
    {
        window.resize(600, 500);
        view->setPalette(ThemeController::paletteFor(Appearance::light));
        view->setTheme(testTheme());
        view->setOpenLinks(false);
        view->resize(500, 400);
        view->setMarkdown(markdown);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    ~ResizeFixture() { paragraphsRunOutOfMemory = false; }

    // The word a double click at the top left of the view selects: the text the reader sees first.
    QString wordAtTop()
    {
        const QPointF point(3, 8);
        QMouseEvent event(QEvent::MouseButtonDblClick, point, view->viewport()->mapToGlobal(point),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
        return view->selectedText();
    }

    // Runs the event loop until the page is measured to the end, checking on the way that the
    // text at the top of the view stays the same.
    void finishKeeping(const QString &word)
    {
        QElapsedTimer clock;
        clock.start();
        for (int turn = 0; !view->isLayoutComplete() && clock.elapsed() < 60000; ++turn) {
            QCoreApplication::processEvents();
            if (turn % 16 == 0)
                QCOMPARE(wordAtTop(), word);
        }
        QVERIFY(view->isLayoutComplete());
        QCOMPARE(wordAtTop(), word);
    }
};

QString longPage(int paragraphs)
{
    QString text;
    for (int i = 0; i < paragraphs; ++i)
        text += QStringLiteral("W%1 needle ").arg(i).repeated(12) + QStringLiteral("\n\n");
    return text;
}

// One paragraph that takes far longer than a slice to lay out.
QString oneLongParagraph()
{
    QString text;
    for (int i = 0; i < 40000; ++i)
        text += QStringLiteral("w%1 ").arg(i);
    return text;
}

} // namespace

class TestMarkdownViewResize : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A resize measures again at once only what the view shows: the blocks above it keep their
    // places, so the view stays where it was, and the rest is measured in slices that keep the
    // text at the top of the view in place.
    void resizeMeasuresAtOnceOnlyWhatTheViewShows()
    {
        ResizeFixture fixture(longPage(600));
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        QScrollBar *bar = fixture.view->verticalScrollBar();
        // A paragraph's top at the top of the view: its first word is what the reader sees first
        // at any width.
        bar->setValue(bar->maximum() / 2);
        bar->setValue(bar->value() - int(fixture.view->readingPosition().offset));
        QCOMPARE(fixture.view->readingPosition().offset, 0);
        const int scrolled = bar->value();
        const QString word = fixture.wordAtTop();
        QVERIFY(!word.isEmpty());

        fixture.view->resize(300, 400);
        QVERIFY(!fixture.view->isLayoutComplete());
        QCOMPARE(bar->value(), scrolled);
        QCOMPARE(fixture.wordAtTop(), word);
        fixture.finishKeeping(word);
        QVERIFY(bar->value() > scrolled * 5 / 4); // narrower, the blocks above grew

        fixture.view->resize(500, 400);
        fixture.finishKeeping(word);
        QVERIFY(std::abs(bar->value() - scrolled) < 40);
    }

    // Selection, find and copy read the blocks as they are while some still wait to be
    // measured again.
    void selectionFindAndCopyHoldWhileBlocksAreMeasuredAgain()
    {
        ResizeFixture fixture(longPage(400));
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        fixture.view->selectAll();
        const QString all = fixture.view->selectedText();
        QVERIFY(all.startsWith(QLatin1String("W0 needle")));
        QVERIFY(all.endsWith(QLatin1String("W399 needle")));

        fixture.view->resize(260, 400);
        QVERIFY(!fixture.view->isLayoutComplete());
        QCOMPARE(fixture.view->selectedText(), all);
        fixture.view->find(SearchPattern(QStringLiteral("needle")));
        QTRY_VERIFY(fixture.view->findStatus().complete);
        QCOMPARE(fixture.view->findStatus().total, 400 * 12);
        fixture.view->findNext();
        QCOMPARE(fixture.view->findStatus().current, 2);

        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        fixture.view->selectAll();
        QCOMPARE(fixture.view->selectedText(), all);
    }

    // A block that took longer than a slice to measure is measured again on the pool: the view
    // keeps showing it as it was until the new page comes, with the selection as it was.
    void aSlowBlockIsMeasuredAgainOffTheWindowsThread()
    {
        ResizeFixture fixture(oneLongParagraph());
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        const qreal height = fixture.view->documentHeight();
        QCOMPARE(fixture.wordAtTop(), QStringLiteral("w0"));

        fixture.view->resize(300, 400);
        QVERIFY(!fixture.view->isLayoutComplete());
        QCOMPARE(fixture.view->documentHeight(), height);
        QCOMPARE(fixture.view->selectedText(), QStringLiteral("w0"));
        // Resized again meanwhile: the page comes for the latest width only.
        fixture.view->resize(250, 400);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        QVERIFY(fixture.view->documentHeight() > height * 3 / 2);
        QCOMPARE(fixture.view->selectedText(), QStringLiteral("w0"));
        QCOMPARE(fixture.wordAtTop(), QStringLiteral("w0"));
    }

    // While the width keeps changing, every frame measures what the view shows and nothing
    // else: a slice of the blocks above or below would make that frame late. Once the width
    // stays, the rest is measured.
    void aDraggedEdgeMeasuresOnlyWhatTheViewShows()
    {
        ResizeFixture fixture(longPage(600));
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        QScrollBar *bar = fixture.view->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        const int scrolled = bar->value();

        for (int width = 480; width >= 300; width -= 20) {
            fixture.view->resize(width, 400);
            QCoreApplication::processEvents();
            // The blocks above the view, measured again narrower, would have moved it down.
            QCOMPARE(bar->value(), scrolled);
        }
        QVERIFY(!fixture.view->isLayoutComplete());
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        QVERIFY(bar->value() > scrolled * 5 / 4);
    }

    // End after a resize measures the rest as the resize does, leaving the window free
    // meanwhile, and shows the bottom of the page once it is measured.
    void endAfterAResizeShowsTheBottomOnceMeasured_data()
    {
        QTest::addColumn<QString>("markdown");
        QTest::addRow("blocks measured in slices") << longPage(600);
        QTest::addRow("a slow block on the pool") << oneLongParagraph();
    }

    void endAfterAResizeShowsTheBottomOnceMeasured()
    {
        QFETCH(QString, markdown);
        ResizeFixture fixture(markdown);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        fixture.view->resize(300, 400);
        QTest::keyClick(fixture.view, Qt::Key_End);
        QVERIFY(!fixture.view->isLayoutComplete());
        QScrollBar *bar = fixture.view->verticalScrollBar();
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        QTRY_COMPARE(bar->value(), bar->maximum());
        QVERIFY(bar->maximum() > 0);
    }

    // Zoom is a new width for the page: the blocks keep their places at the new scale, what the
    // view shows is measured at once and the rest later, and the text at the top stays there.
    void zoomKeepsTheTextAtTheTopAndMeasuresTheRestLater()
    {
        ResizeFixture fixture(longPage(600));
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        QScrollBar *bar = fixture.view->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        bar->setValue(bar->value() - int(fixture.view->readingPosition().offset));
        const int scrolled = bar->value();
        const QString word = fixture.wordAtTop();
        QVERIFY(!word.isEmpty());

        fixture.view->setZoom(1.5);
        QVERIFY(!fixture.view->isLayoutComplete());
        // Measured again from the top, the blocks above would have grown (the page is narrower
        // at the larger scale) and the view would be further down.
        QVERIFY(std::abs(bar->value() - scrolled * 1.5) <= 1);
        QCOMPARE(fixture.wordAtTop(), word);
        fixture.finishKeeping(word);
        QVERIFY(bar->value() > scrolled * 1.5 * 5 / 4);

        fixture.view->setZoom(1);
        fixture.finishKeeping(word);
        QVERIFY(std::abs(bar->value() - scrolled) < 40);
    }

    // The thread laying a page out again gives way to the window's thread, which paints
    // meanwhile.
    void thePageIsLaidOutAgainBelowTheWindowsPriority()
    {
        ResizeFixture fixture(oneLongParagraph());
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        nicenessBuildingAside = INT_MIN;
        fixture.view->resize(300, 400);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        QVERIFY(nicenessBuildingAside != INT_MIN);
        QVERIFY(nicenessBuildingAside > getpriority(PRIO_PROCESS, 0));
    }

    // Memory running out while the page is laid out again, on the window's thread or on the
    // pool, leaves an empty view that says so.
    void runningOutOfMemoryWhileResizingEmptiesTheView_data()
    {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<bool>("measuredToTheEnd");
        QTest::addColumn<QSize>("size");
        QTest::addRow("blocks coming into a taller view") << longPage(200) << false << QSize(500, 1400);
        QTest::addRow("a slow block on the pool") << oneLongParagraph() << true << QSize(300, 400);
    }

    void runningOutOfMemoryWhileResizingEmptiesTheView()
    {
        QFETCH(QString, markdown);
        QFETCH(bool, measuredToTheEnd);
        QFETCH(QSize, size);
        ResizeFixture fixture(markdown);
        if (measuredToTheEnd)
            QTRY_VERIFY_WITH_TIMEOUT(fixture.view->isLayoutComplete(), 60000);
        else
            fixture.view->setMarkdown(markdown); // its first screen only, for now
        QSignalSpy outOfMemory(fixture.view, &MarkdownView::outOfMemory);
        paragraphsRunOutOfMemory = true;
        fixture.view->resize(size);
        QTRY_COMPARE_WITH_TIMEOUT(outOfMemory.size(), 1, 60000);
        paragraphsRunOutOfMemory = false;
        QCOMPARE(fixture.view->blockCount(), 0);
        QVERIFY(fixture.view->isLayoutComplete());
        fixture.view->resize(400, 400);
        fixture.view->viewport()->repaint();
        QCOMPARE(fixture.view->blockCount(), 0);
        QCOMPARE(outOfMemory.size(), 1);
    }
};

QTEST_MAIN(TestMarkdownViewResize)
#include "tst_markdownviewresize.moc"
