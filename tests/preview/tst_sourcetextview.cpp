#include "preview/sourcetextview.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QtTest>

using namespace kestrune;

namespace {

// A line that wraps at any of the widths below, first in the text: its height says at which
// width the text is wrapped.
const QString longLine =
    QStringLiteral("the first line of the text, long enough to wrap ").repeated(8) + u'\n';

qreal firstLineHeight(const SourceTextView &view)
{
    return view.document()->documentLayout()->blockBoundingRect(view.document()->firstBlock()).height();
}

} // namespace

class SourceTextViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every line of the text is laid out again at a new width; a text of many lines does that
    // once the window's edge has stopped, not on every step of the drag.
    void aLongTextIsWrappedAgainOnceTheWidthStays()
    {
        const int lines = SourceTextView::linesWrappedAtOnce + 5000;
        SourceTextView view(longLine + QStringLiteral("- [ ] a task of a long task list\n").repeated(lines));
        view.resize(600, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(QTest::qWaitFor([&] { return view.isComplete(); }, 20000));
        QVERIFY(!view.isRewrapPending());
        const qreal wide = firstLineHeight(view);

        for (int width = 580; width >= 400; width -= 20) {
            view.resize(width, 400);
            QCoreApplication::processEvents();
            QVERIFY(view.isRewrapPending());
            QCOMPARE(firstLineHeight(view), wide);
        }
        QVERIFY(QTest::qWaitFor([&] { return !view.isRewrapPending(); }));
        QVERIFY(firstLineHeight(view) > wide);
        QCOMPARE(view.document()->blockCount(), lines + 2);
    }

    void aShortTextIsWrappedAtOnce()
    {
        SourceTextView view(longLine + QStringLiteral("- [ ] a task\n").repeated(100));
        view.resize(600, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const qreal wide = firstLineHeight(view);
        view.resize(400, 400);
        QCoreApplication::processEvents();
        QVERIFY(!view.isRewrapPending());
        QVERIFY(firstLineHeight(view) > wide);
    }
};

QTEST_MAIN(SourceTextViewTest)
#include "tst_sourcetextview.moc"
