// The preview compared with the text last seen: the marks its views paint, in both modes,
// going from one to the next, Mark as Read, and the quiet notice of a file changed where no
// marks can say what changed.
#include "preview/largefilesourceview.h"
#include "preview/markdownpreviewheader.h"
#include "preview/markdownpreviewview.h"
#include "preview/previewchangednotice.h"
#include "preview/previewchangemarks.h"
#include "preview/previewcolors.h"
#include "preview/sourcetextview.h"
#include "ui/themecontroller.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>

using namespace kestrune;

namespace {

const QByteArray shownText =
    "# Title\n\nKept paragraph.\n\nChanged paragraph, now longer.\n\nA new paragraph.\n";

// A pane showing a file of that text, once it is on show.
struct ShownFile
{
    QTemporaryDir dir;
    std::unique_ptr<MarkdownPreviewView> view;

    explicit ShownFile(const QByteArray &text, const QString &name = QStringLiteral("notes.md"))
    {
        view = std::make_unique<MarkdownPreviewView>(write(name, text), std::nullopt);
        view->resize(600, 500);
        view->show();
        QTRY_VERIFY_WITH_TIMEOUT(view->state().isContent(), 30000);
    }

    QUrl write(const QString &name, const QByteArray &text) const
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(text);
        return QUrl::fromLocalFile(path);
    }
};

// How far apart two colours are, channel by channel.
int distance(const QColor &a, const QColor &b)
{
    return std::max(
        {std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
}

QColor over(const QColor &color, const QColor &background)
{
    const qreal alpha = color.alphaF();
    const auto mix = [alpha](int a, int b) { return int(std::lround(a * alpha + b * (1 - alpha))); };
    return QColor(mix(color.red(), background.red()), mix(color.green(), background.green()),
                  mix(color.blue(), background.blue()));
}

} // namespace

class PreviewChangeMarksTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void blockChangesBecomeMarks()
    {
        const BlockDiffResult diff = BlockDiff::compare(QStringLiteral("One\n\nTwo\n\nThree\n"),
                                                        QStringLiteral("One\n\nTwo!\n\nNew\n"));
        const ChangeMarks marks = PreviewChangeMarks::from(diff);
        QCOMPARE(marks.size(), diff.changes.size());
        QVERIFY(!marks.isEmpty());
        QCOMPARE(marks.first().kind, ChangeMark::Kind::modified);
        QCOMPARE(marks.first().firstLine, 2);

        // Three blocks gone from one place: one marker showing all three.
        const ChangeMarks gone = PreviewChangeMarks::from(BlockDiff::compare(
            QStringLiteral("One\n\n# Gone\n\nGone too.\n\n- gone\n\nTwo\n"), QStringLiteral("One\n\nTwo\n")));
        QCOMPARE(gone.size(), 1);
        QCOMPARE(gone.first().kind, ChangeMark::Kind::removed);
        QCOMPARE(gone.first().firstLine, 2);
        QCOMPARE(gone.first().removedText, QStringLiteral("# Gone\n\nGone too.\n\n- gone"));
    }

    void seenTextMarksTheViewsUntilRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes.md"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# Title\n\nKept paragraph.\n\nChanged paragraph, now longer.\n\nA new paragraph.\n");
        file.close();
        MarkdownPreviewView view(QUrl::fromLocalFile(path), std::nullopt);
        view.resize(600, 500);
        view.show();
        QTRY_VERIFY(view.state().isContent());
        QSignalSpy marksChanged(&view, &MarkdownPreviewView::changeMarksChanged);
        view.setSeenText(
            QStringLiteral("# Title\n\nKept paragraph.\n\nChanged paragraph.\n\nRemoved one.\n"));
        // Counted, not waited for: a comparison done before it is followed reports at once.
        QTRY_COMPARE(marksChanged.size(), 1);
        QVERIFY(!view.changeMarks().isEmpty());
        auto *document = qobject_cast<MarkdownView *>(view.contentView());
        QVERIFY(document);
        QCOMPARE(document->changeMarks(), view.changeMarks());
        QVERIFY(view.goToNextChange());
        QCOMPARE(document->currentChange(), 0);

        view.setViewMode(MarkdownViewMode::source);
        auto *source = qobject_cast<SourceTextView *>(view.contentView());
        QVERIFY(source);
        QCOMPARE(source->changeMarks(), view.changeMarks());
        QVERIFY(view.goToNextChange());
        QCOMPARE(source->currentChange(), 0);

        QSignalSpy read(&view, &MarkdownPreviewView::markedAsRead);
        view.markAsRead();
        QCOMPARE(read.size(), 1);
        QCOMPARE(read.first().at(0).toUrl(), QUrl::fromLocalFile(path));
        QCOMPARE(read.first().at(1).toString(), view.state().text());
        QVERIFY(view.changeMarks().isEmpty());
        QVERIFY(source->changeMarks().isEmpty());
        QVERIFY(document->changeMarks().isEmpty());
        QVERIFY(!view.goToNextChange());
    }

    // A comparison that gives up (here on a line too long to compare) marks no block but says
    // the file changed; one that compares marks the blocks and says nothing more.
    void aComparisonThatGivesUpSaysSoAboveTheContent_data()
    {
        QTest::addColumn<QString>("seen");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<bool>("notice");
        QTest::addRow("changed block by block")
            << QStringLiteral("# Title\n\nKept paragraph.\n\nChanged paragraph.\n") << true << false;
        QTest::addRow("a line too long to compare")
            << QStringLiteral("# Title\n\n") + QString(70 * 1024, QLatin1Char('x')) + QStringLiteral("\n")
            << false << true;
        QTest::addRow("as seen") << QString::fromUtf8(shownText) << false << false;
    }

    void aComparisonThatGivesUpSaysSoAboveTheContent()
    {
        QFETCH(QString, seen);
        QFETCH(bool, marked);
        QFETCH(bool, notice);
        ShownFile shown(shownText);
        MarkdownPreviewView &view = *shown.view;
        QVERIFY(!view.isShowingChangedNotice());
        QSignalSpy marksChanged(&view, &MarkdownPreviewView::changeMarksChanged);
        view.setSeenText(seen);
        QTRY_COMPARE(marksChanged.size(), 1);
        QCOMPARE(!view.changeMarks().isEmpty(), marked);
        QCOMPARE(view.isShowingChangedNotice(), notice);
        QCOMPARE(view.changedNotice()->isVisible(), notice);
        QCOMPARE(view.isChangedSinceRead(), marked || notice);
    }

    void markAsReadOrAnotherFileEndsTheNotice()
    {
        ShownFile shown(shownText);
        MarkdownPreviewView &view = *shown.view;
        QSignalSpy marksChanged(&view, &MarkdownPreviewView::changeMarksChanged);
        QSignalSpy read(&view, &MarkdownPreviewView::markedAsRead);
        view.setChangedWithoutSeenText(); // nothing to compare with
        QCOMPARE(marksChanged.size(), 1);
        QVERIFY(view.changedNotice()->isVisible());
        QVERIFY(view.isChangedSinceRead());
        QVERIFY(view.changeMarks().isEmpty());
        QVERIFY(!view.goToNextChange());

        QTest::mouseClick(view.changedNotice()->markAsReadButton(), Qt::LeftButton);
        QCOMPARE(read.size(), 1);
        QCOMPARE(read.first().at(1).toString(), QString::fromUtf8(shownText));
        QVERIFY(!view.isShowingChangedNotice());
        QVERIFY(!view.isChangedSinceRead());
        QCOMPARE(marksChanged.size(), 2);

        view.setChangedWithoutSeenText();
        view.setFile(shown.write(QStringLiteral("other.md"), "# Other\n"), std::nullopt);
        QVERIFY(!view.isShowingChangedNotice());
        QCOMPARE(marksChanged.size(), 4);
    }

    void theNoticeIsQuietInBothAppearances_data()
    {
        QTest::addColumn<Appearance>("appearance");
        QTest::addRow("light") << Appearance::light;
        QTest::addRow("dark") << Appearance::dark;
    }

    // An accent dot as the outline's unread mark, the words in the secondary colour, a hairline
    // below, and no tint behind it: the header's background goes on through it.
    void theNoticeIsQuietInBothAppearances()
    {
        QFETCH(Appearance, appearance);
        ShownFile shown(shownText);
        MarkdownPreviewView &view = *shown.view;
        view.setPalette(ThemeController::paletteFor(appearance));
        view.setChangedWithoutSeenText();
        PreviewChangedNotice *notice = view.changedNotice();
        QTRY_VERIFY(notice->isVisible() && notice->label()->width() > 0);
        const QImage image = view.grab().toImage();
        const QPoint origin = notice->mapTo(&view, QPoint(0, 0));
        const QColor background = image.pixelColor(origin + QPoint(4, 3));
        // The same as the header's, above the divider.
        QCOMPARE(distance(background, image.pixelColor(view.header()->geometry().topLeft() + QPoint(4, 3))),
                 0);
        QVERIFY(distance(image.pixelColor(origin + notice->dotRect().center()),
                         PreviewColors::accent.resolve(appearance)) <= 8);
        QVERIFY(distance(image.pixelColor(origin + QPoint(notice->width() / 2, notice->height() - 1)),
                         over(PreviewColors::rule.resolve(appearance), background)) <= 8);

        // The ink of the words: the pixel of the label farthest from the background.
        const QRect label = notice->label()->geometry().translated(origin);
        QColor ink = background;
        for (int y = label.top(); y <= label.bottom(); ++y) {
            for (int x = label.left(); x <= label.right(); ++x) {
                if (distance(image.pixelColor(x, y), background) > distance(ink, background))
                    ink = image.pixelColor(x, y);
            }
        }
        const QColor secondary = over(PreviewColors::secondaryText.resolve(appearance), background);
        const QColor primary = over(PreviewColors::primaryText.resolve(appearance), background);
        QVERIFY2(distance(ink, background) > 60, qPrintable(ink.name()));
        QVERIFY2(distance(ink, secondary) < distance(ink, primary), qPrintable(ink.name()));
    }

    // The diff compares no text the preview shows only as source: such a file gets the notice,
    // and its source no marks.
    void aFileTooLargeToRenderGetsTheNoticeAndNoMarks()
    {
        const QByteArray line = QByteArray(99, 'x') + '\n';
        const QByteArray text = line.repeated(MarkdownPreviewView::largestRenderedText / line.size() + 1);
        ShownFile shown(text, QStringLiteral("large.md"));
        MarkdownPreviewView &view = *shown.view;
        QTRY_VERIFY(qobject_cast<LargeFileSourceView *>(view.contentView()));
        auto *large = qobject_cast<LargeFileSourceView *>(view.contentView());
        QSignalSpy marksChanged(&view, &MarkdownPreviewView::changeMarksChanged);
        view.setSeenText(QString::fromLatin1(text.sliced(line.size())));
        QTRY_COMPARE_WITH_TIMEOUT(marksChanged.size(), 1, 30000);
        QVERIFY(view.isShowingChangedNotice());
        QVERIFY(view.changeMarks().isEmpty());
        QVERIFY(large->source()->changeMarks().isEmpty());
        QVERIFY(!view.goToNextChange());
    }
};

QTEST_MAIN(PreviewChangeMarksTest)
#include "tst_previewchangemarks.moc"
