// Change marks beside the lines of the source view, in both appearances, and going from one to
// the next with the caret.
#include "preview/sourcetextview.h"

#include "ui/themecolors.h"
#include "ui/themecontroller.h"

#include <QScrollBar>
#include <QtTest>

using namespace kestrune;

namespace {

QString lines(int count)
{
    QStringList list;
    for (int index = 0; index < count; ++index)
        list.append(QStringLiteral("Line %1").arg(index));
    return list.join(QLatin1Char('\n'));
}

// The rows of the viewport's column `x` painted in about `color`, as runs [first, last].
QList<QPair<int, int>> runs(const SourceTextView &view, int x, const QColor &color)
{
    const QImage image = view.viewport()->grab().toImage();
    QList<QPair<int, int>> found;
    for (int y = 0; y < image.height(); ++y) {
        const QColor pixel = image.pixelColor(x, y);
        if (std::abs(pixel.red() - color.red()) > 8 || std::abs(pixel.green() - color.green()) > 8 ||
            std::abs(pixel.blue() - color.blue()) > 8)
            continue;
        if (!found.isEmpty() && found.last().second == y - 1)
            found.last().second = y;
        else
            found.append({y, y});
    }
    return found;
}

} // namespace

class SourceTextChangesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void marksBesideTheLines_data()
    {
        QTest::addColumn<Appearance>("appearance");
        QTest::addColumn<int>("lineCount");
        QTest::addRow("light") << Appearance::light << 10;
        QTest::addRow("dark") << Appearance::dark << 10;
        // Many lines to a block.
        QTest::addRow("long text") << Appearance::light << SourceDocumentLines::linesInOwnBlocks + 10;
    }

    void marksBesideTheLines()
    {
        QFETCH(Appearance, appearance);
        QFETCH(int, lineCount);
        SourceTextView view(lines(lineCount));
        QCOMPARE(view.lines().isGrouped(), lineCount > SourceDocumentLines::linesInOwnBlocks);
        view.setPalette(ThemeController::paletteFor(appearance));
        view.resize(400, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.setChangeMarks({
            {ChangeMark::Kind::modified, 2, 1, {}},
            {ChangeMark::Kind::added, 4, 2, {}},
            {ChangeMark::Kind::removed, 7, 0, QStringLiteral("old")},
        });
        const QList<QPair<int, int>> modified = runs(view, 6, ThemeColors::accent.resolve(appearance));
        const QList<QPair<int, int>> added = runs(view, 6, ThemeColors::completedAccent.resolve(appearance));
        const QList<QPair<int, int>> removed = runs(view, 12, ThemeColors::errorText.resolve(appearance));
        QCOMPARE(modified.size(), 1);
        QCOMPARE(added.size(), 1);
        QCOMPARE(removed.size(), 1);
        const int lineHeight = modified.first().second - modified.first().first + 1;
        QVERIFY(lineHeight > 6);
        // Line 2, lines 4 and 5, the top of line 7.
        QCOMPARE(added.first().first - modified.first().first, 2 * lineHeight);
        QCOMPARE(added.first().second - added.first().first + 1, 2 * lineHeight);
        QVERIFY(std::abs(removed.first().first + 1 - (modified.first().first + 5 * lineHeight)) <= 2);
    }

    void nextAndPreviousVisitTheMarksInOrder_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::addRow("a line a block") << 300;
        QTest::addRow("many lines a block") << SourceDocumentLines::linesInOwnBlocks + 10;
    }

    void nextAndPreviousVisitTheMarksInOrder()
    {
        QFETCH(int, lineCount);
        SourceTextView view(lines(lineCount));
        QCOMPARE(view.lines().isGrouped(), lineCount > SourceDocumentLines::linesInOwnBlocks);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_VERIFY_WITH_TIMEOUT(view.isComplete(), 20000);
        view.setChangeMarks({
            {ChangeMark::Kind::modified, 50, 1, {}},
            {ChangeMark::Kind::removed, 120, 0, QStringLiteral("gone")},
            {ChangeMark::Kind::added, 200, 3, {}},
        });
        QList<int> tops;
        QList<int> carets;
        for (int expected = 0; expected < 3; ++expected) {
            QVERIFY(view.goToNextChange());
            QCOMPARE(view.currentChange(), expected);
            tops.append(view.topLine());
            carets.append(view.lines().lineAt(view.textCursor().position()));
        }
        QCOMPARE(tops, QList<int>({49, 119, 199}));
        // The caret on the mark's line, for a screen reader to read out, moves the view no more.
        QCOMPARE(carets, QList<int>({50, 120, 200}));
        QVERIFY(!view.goToNextChange());
        QVERIFY(view.goToPreviousChange());
        QCOMPARE(view.topLine(), 119);
        QVERIFY(view.goToPreviousChange());
        QVERIFY(!view.goToPreviousChange());
        QCOMPARE(view.currentChange(), 0);
        view.verticalScrollBar()->setValue(0);
        QVERIFY(view.goToNextChange());
        QCOMPARE(view.currentChange(), 0);
    }
};

QTEST_MAIN(SourceTextChangesTest)
#include "tst_sourcetextchanges.moc"
