#include "preview/sourcedocumentlines.h"
#include "preview/sourcetextfind.h"
#include "preview/sourcetextview.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
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
    const QTextLayout *layout = view.document()->firstBlock().layout();
    const qsizetype end = view.lines().positionOfLine(1);
    qreal height = 0;
    for (int line = 0; line < layout->lineCount() && layout->lineAt(line).textStart() < end; ++line)
        height += layout->lineAt(line).height();
    return height;
}

QString numberedLines(int count, const QString &lineEnd)
{
    QString text;
    for (int line = 0; line < count; ++line)
        text += QStringLiteral("line %1").arg(line) + lineEnd;
    return text;
}

} // namespace

class SourceTextViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Line ends of every kind become one character each, taken in slices however cut; a long
    // text shares blocks among its lines and still knows where each starts.
    void linesAreKnownByWhereTheyStart()
    {
        SourceDocumentLines own(false);
        QCOMPARE(own.take(u"a\r\nbb\rc\n"), QStringLiteral("a\nbb\nc\n"));
        QCOMPARE(own.take(u"dd"), QStringLiteral("dd"));
        QCOMPARE(own.lineCount(), 4);
        QCOMPARE(own.positionOfLine(1), 2);
        QCOMPARE(own.positionOfLine(3), 7);
        QCOMPARE(own.lineAt(4), 1);
        QCOMPARE(own.lineAt(8), 3);

        QVERIFY(!SourceDocumentLines::wantsGrouping(
            numberedLines(SourceDocumentLines::linesInOwnBlocks - 1, "\n")));
        QVERIFY(
            SourceDocumentLines::wantsGrouping(numberedLines(SourceDocumentLines::linesInOwnBlocks, "\r")));
        SourceDocumentLines grouped(true);
        const QString taken = grouped.take(numberedLines(SourceDocumentLines::linesPerBlock * 2, "\r\n"));
        QCOMPARE(taken.count(u'\n'), 2);
        QCOMPARE(taken.count(QChar::LineSeparator), SourceDocumentLines::linesPerBlock * 2 - 2);
        QCOMPARE(grouped.lineAt(grouped.positionOfLine(40) + 3), 40);
        // A block closes early past its characters.
        SourceDocumentLines wide(true);
        const QString longLines =
            wide.take(QString(SourceDocumentLines::charactersPerBlock, u'x') + "\nshort\n");
        QCOMPARE(longLines.count(u'\n'), 1);
        QVERIFY(longLines.endsWith(QChar::LineSeparator));
    }

    // A long text keeps many lines in a block and is wrapped again at once at a new width; its
    // lines are still gone to, read at the top, marked and selected one by one.
    void aLongTextHasItsLinesInFewBlocks()
    {
        const int lines = SourceDocumentLines::linesInOwnBlocks + 5000;
        SourceTextView view(longLine + numberedLines(lines, "\n"));
        // Asked for before the window's layout gives the view its size: a few rows tall.
        view.resize(600, 40);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.scrollToLine(0);
        view.resize(600, 400);
        QCoreApplication::processEvents();
        QCOMPARE(view.verticalScrollBar()->value(), 0);
        QVERIFY(QTest::qWaitFor([&] { return view.isComplete(); }, 20000));
        QVERIFY(view.lines().isGrouped());
        QCOMPARE(view.lines().lineCount(), lines + 2);
        QVERIFY(view.document()->blockCount() < lines / 20);
        const qreal wide = firstLineHeight(view);
        view.resize(400, 400);
        QCoreApplication::processEvents();
        QVERIFY(firstLineHeight(view) > wide);

        // A line in the middle of a block comes to the top, and is read there.
        const int middle = 3 * SourceDocumentLines::linesPerBlock + 17;
        view.scrollToLine(middle);
        QCOMPARE(view.topLine(), middle);
        QCOMPARE(view.textCursor().block().text().mid(view.textCursor().positionInBlock(),
                                                      QStringLiteral("line %1").arg(middle - 1).size()),
                 QStringLiteral("line %1").arg(middle - 1));

        // A triple click selects its line, and copies it with a plain line end.
        const QString below = QStringLiteral("line %1").arg(middle);
        const QRect second = view.cursorRect(view.document()->find(below));
        QVERIFY(second.top() > 0);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, second.center());
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(view.textCursor().selectedText(), below + QChar::LineSeparator);
        view.copy();
        QCOMPARE(QApplication::clipboard()->text(), below + u'\n');

        // Find brings a match deep in a block into view.
        view.textFind()->find(SearchPattern(QStringLiteral("line 20500")));
        QTRY_COMPARE(view.textFind()->status(), (FindStatus{1, 1, true}));
        const QRect hit = view.cursorRect(view.document()->find(QStringLiteral("line 20500")));
        QVERIFY(hit.top() >= 0 && hit.bottom() <= view.viewport()->height());
    }

    void aShortTextHasALineABlock()
    {
        SourceTextView view(longLine + QStringLiteral("- [ ] a task\r\n").repeated(100));
        view.resize(600, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(!view.lines().isGrouped());
        QCOMPARE(view.document()->blockCount(), 102);
        const qreal wide = firstLineHeight(view);
        view.resize(400, 400);
        QCoreApplication::processEvents();
        QVERIFY(firstLineHeight(view) > wide);
    }
};

QTEST_MAIN(SourceTextViewTest)
#include "tst_sourcetextview.moc"
