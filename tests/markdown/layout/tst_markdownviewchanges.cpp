// Change marks beside a page: the bars of added and modified blocks and the marker of removed ones
// in the left margin, in both appearances, after a resize, their tool tip, and going from one mark
// to the next, which a screen reader hears of.
#include "markdown/layout/view/markdownview.h"

#include "ui/themecolors.h"
#include "ui/themecontroller.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>

using namespace kestrune;

namespace {

constexpr int margin = 16;

Theme testTheme()
{
    Theme theme;
    theme.text = TextStyle::fontSize(15);
    theme.paragraph = [](const BlockConfiguration &c) { return c.label.margin(0, 12); };
    return theme;
}

// Paragraphs "Paragraph 0" to "Paragraph count-1", one every two lines.
QString paragraphs(int count)
{
    QStringList list;
    for (int index = 0; index < count; ++index)
        list.append(QStringLiteral("Paragraph %1").arg(index));
    return list.join(QStringLiteral("\n\n"));
}

struct ChangesFixture
{
    QWidget window;
    MarkdownView *view = new MarkdownView(&window);

    ChangesFixture(const QString &markdown, Appearance appearance)
    {
        window.resize(520, 420);
        view->setPalette(ThemeController::paletteFor(appearance));
        view->setTheme(testTheme());
        view->setDocumentMargins(QMarginsF(margin, margin, margin, margin));
        view->resize(500, 400);
        view->setMarkdown(markdown);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(view->isLayoutComplete());
    }

    // The rows of the viewport's column `x` painted in `color`, as runs [first, last].
    QList<QPair<int, int>> runs(int x, const QColor &color) const
    {
        const QImage image = view->viewport()->grab().toImage();
        QList<QPair<int, int>> found;
        for (int y = 0; y < image.height(); ++y) {
            // Colours a little translucent blend with the page behind them.
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
};

// The caret offsets assistive technology was told of while a Listening lives.
QList<int> caretMoves;

void hearCaret(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::TextCaretMoved)
        caretMoves.append(static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition());
}

struct Listening
{
    QAccessible::UpdateHandler previous;
    Listening() : previous(QAccessible::installUpdateHandler(hearCaret))
    {
        caretMoves.clear();
        QAccessible::setActive(true);
    }
    ~Listening()
    {
        QAccessible::installUpdateHandler(previous);
        QAccessible::setActive(false);
    }
    Listening(const Listening &) = delete;
    Listening &operator=(const Listening &) = delete;
};

const ChangeMarks sampleMarks = {
    {ChangeMark::Kind::modified, 2, 1, {}},
    {ChangeMark::Kind::added, 6, 3, {}}, // paragraphs 3 and 4, and the blank line between
    {ChangeMark::Kind::removed, 12, 0, QStringLiteral("An old paragraph")},
};

} // namespace

class ChangeMarksTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void barsAndMarkerInTheMargin_data()
    {
        QTest::addColumn<Appearance>("appearance");
        QTest::addRow("light") << Appearance::light;
        QTest::addRow("dark") << Appearance::dark;
    }

    void barsAndMarkerInTheMargin()
    {
        QFETCH(Appearance, appearance);
        ChangesFixture fixture(paragraphs(8), appearance);
        QVERIFY(fixture.runs(6, ThemeColors::accent.resolve(appearance)).isEmpty());
        fixture.view->setChangeMarks(sampleMarks);

        const QList<QPair<int, int>> modified = fixture.runs(6, ThemeColors::accent.resolve(appearance));
        const QList<QPair<int, int>> added =
            fixture.runs(6, ThemeColors::completedAccent.resolve(appearance));
        const QList<QPair<int, int>> removed = fixture.runs(12, ThemeColors::errorText.resolve(appearance));
        QCOMPARE(modified.size(), 1);
        QCOMPARE(added.size(), 1); // one bar beside both paragraphs of one mark
        QCOMPARE(removed.size(), 1);
        // In the order of the text: paragraph 1, paragraphs 3 and 4, above paragraph 6.
        QVERIFY(modified.first().second < added.first().first);
        QVERIFY(added.first().second < removed.first().first);
        const int lineHeight = modified.first().second - modified.first().first;
        QVERIFY(lineHeight > 8);
        QVERIFY(added.first().second - added.first().first > 2 * lineHeight);
        // Nothing of them beside the text, nor a bar at the marker's column outside the marker.
        QVERIFY(fixture.runs(margin + 2, ThemeColors::accent.resolve(appearance)).isEmpty());
        QVERIFY(fixture.runs(12, ThemeColors::completedAccent.resolve(appearance)).isEmpty());
    }

    void marksStayThroughAResizeAndZoom()
    {
        ChangesFixture fixture(paragraphs(8), Appearance::light);
        fixture.view->setChangeMarks(sampleMarks);
        const QColor added = ThemeColors::completedAccent.resolve(Appearance::light);
        QCOMPARE(fixture.runs(6, added).size(), 1);
        fixture.view->resize(200, 400); // paragraphs wrap: the bars grow with them
        QTRY_VERIFY(fixture.view->isLayoutComplete());
        QCOMPARE(fixture.runs(6, added).size(), 1);
        fixture.view->setZoom(1.5);
        QTRY_VERIFY(fixture.view->isLayoutComplete());
        QCOMPARE(fixture.runs(int(6 * 1.5), added).size(), 1);
        fixture.view->setChangeMarks({});
        QVERIFY(fixture.runs(int(6 * 1.5), added).isEmpty());
    }

    void removedMarkerShowsTheRemovedText()
    {
        ChangesFixture fixture(paragraphs(8), Appearance::light);
        fixture.view->setChangeMarks(sampleMarks);
        const QList<QPair<int, int>> removed =
            fixture.runs(12, ThemeColors::errorText.resolve(Appearance::light));
        QCOMPARE(removed.size(), 1);
        const QPoint marker(10, removed.first().first);
        const std::optional<ChangeMark> mark = fixture.view->changeMarkAt(marker);
        QVERIFY(mark);
        QCOMPARE(mark->kind, ChangeMark::Kind::removed);
        QCOMPARE(mark->removedText, QStringLiteral("An old paragraph"));
        QVERIFY(!fixture.view->changeMarkAt(QPoint(margin + 20, removed.first().first)));

        QHelpEvent help(QEvent::ToolTip, marker, fixture.view->viewport()->mapToGlobal(marker));
        QApplication::sendEvent(fixture.view->viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("An old paragraph"));
        QToolTip::hideText();
        QTest::mouseClick(fixture.view->viewport(), Qt::LeftButton, Qt::NoModifier, marker);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("An old paragraph"));
        QToolTip::hideText();
    }

    void nextAndPreviousVisitTheMarksInOrder()
    {
        ChangesFixture fixture(paragraphs(120), Appearance::light);
        fixture.view->setChangeMarks({
            {ChangeMark::Kind::modified, 40, 1, {}},
            {ChangeMark::Kind::removed, 100, 0, QStringLiteral("gone")},
            {ChangeMark::Kind::added, 160, 1, {}},
        });
        QScrollBar *bar = fixture.view->verticalScrollBar();
        QCOMPARE(bar->value(), 0);
        QList<int> places;
        for (int expected = 0; expected < 3; ++expected) {
            QVERIFY(fixture.view->goToNextChange());
            QCOMPARE(fixture.view->currentChange(), expected);
            places.append(bar->value());
        }
        QVERIFY(places.at(0) > 0);
        QVERIFY(places.at(0) < places.at(1));
        QVERIFY(places.at(1) < places.at(2));
        // The last stops: nothing after it.
        QVERIFY(!fixture.view->goToNextChange());
        QCOMPARE(fixture.view->currentChange(), 2);
        QCOMPARE(bar->value(), places.at(2));

        QVERIFY(fixture.view->goToPreviousChange());
        QCOMPARE(fixture.view->currentChange(), 1);
        QCOMPARE(bar->value(), places.at(1));
        QVERIFY(fixture.view->goToPreviousChange());
        QCOMPARE(fixture.view->currentChange(), 0);
        QVERIFY(!fixture.view->goToPreviousChange());

        // Scrolled by the reader to the top: the next is the first again.
        bar->setValue(0);
        QVERIFY(fixture.view->goToNextChange());
        QCOMPARE(fixture.view->currentChange(), 0);
        // Scrolled to the end: nothing after, the one before is the last.
        bar->setValue(bar->maximum());
        QVERIFY(fixture.view->goToPreviousChange());
        QCOMPARE(fixture.view->currentChange(), 2);
    }

    // The caret goes to the block of the mark gone to, and assistive technology is told: a screen
    // reader reads out where the reader landed.
    void goingToAMarkMovesTheCaretThere()
    {
        ChangesFixture fixture(paragraphs(120), Appearance::light);
        fixture.view->setChangeMarks({
            {ChangeMark::Kind::modified, 40, 1, {}},
            {ChangeMark::Kind::removed, 101, 0, QStringLiteral("gone")},
        });
        const Listening listening;
        QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(fixture.view)->textInterface();
        QVERIFY(text);
        const auto wordsAtCaret = [text] {
            const int caret = text->cursorPosition();
            return text->text(caret, caret + 12);
        };
        // Line 40 is paragraph 20's; a removed block's marker stands above the block after it.
        QVERIFY(fixture.view->goToNextChange());
        QCOMPARE(wordsAtCaret(), QStringLiteral("Paragraph 20"));
        QVERIFY(fixture.view->goToNextChange());
        QCOMPARE(wordsAtCaret(), QStringLiteral("Paragraph 51"));
        // Told where a platform's bridge listens (not on the offscreen platform).
        if (QAccessible::isActive()) {
            QCOMPARE(caretMoves.size(), 2);
            QCOMPARE(caretMoves.last(), text->cursorPosition());
        }
    }
};

QTEST_MAIN(ChangeMarksTest)
#include "tst_markdownviewchanges.moc"
