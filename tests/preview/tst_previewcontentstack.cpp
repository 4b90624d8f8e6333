#include "preview/largefilesourceview.h"
#include "preview/markdownpreviewview.h"
#include "preview/previewcontentstack.h"
#include "preview/previewfonts.h"
#include "preview/previewzoom.h"
#include "preview/sourcetextview.h"

#include "markdown/document/markdownparser.h"
#include "markdown/layout/document/preparedmarkdownpage.h"
#include "markdown/layout/view/markdownview.h"

#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace kestrune;

class TestPreviewContentStack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void pageKeptAsideShowsOnlyWithItsChoiceOfImages_data();
    void pageKeptAsideShowsOnlyWithItsChoiceOfImages();
    void textViewsFollowTheZoomAndGoWithTheirText();
};

void TestPreviewContentStack::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestPreviewContentStack::cleanup()
{
    PreviewZoom::shared().reset();
}

void TestPreviewContentStack::pageKeptAsideShowsOnlyWithItsChoiceOfImages_data()
{
    QTest::addColumn<bool>("laidOutWithRemoteImages");
    QTest::addColumn<bool>("loadsRemoteImages");
    QTest::addRow("same choice") << true << true;
    QTest::addRow("remote images turned off since") << true << false;
    QTest::addRow("remote images turned on since") << false << true;
}

// A page laid out while the source was on show waits, unshown, for the rendered document to be
// chosen; it is then shown at the zoom in force, or dropped when the choice of remote images
// changed meanwhile, so that the document is laid out afresh.
void TestPreviewContentStack::pageKeptAsideShowsOnlyWithItsChoiceOfImages()
{
    QFETCH(bool, laidOutWithRemoteImages);
    QFETCH(bool, loadsRemoteImages);
    PreviewContentStack stack;
    stack.resize(400, 300);
    stack.show();
    QPointer<MarkdownView> view =
        stack.makeDocumentView(QStringLiteral("page.md"),
                               MarkdownPreviewView::documentEnvironment(QUrl(), {}, laidOutWithRemoteImages));
    QVERIFY(view->isHidden());
    QCOMPARE(view->objectName(), QStringLiteral("renderedDocument"));
    const auto page = std::make_shared<PreparedMarkdownPage>(PreparedMarkdownPage::prepare(
        view->pageSettings(stack.size()), MarkdownParser::parse(QStringLiteral("# Title\n\nText.\n"))));
    stack.keepUnshown(view, page);
    QVERIFY(!stack.document());
    PreviewZoom::shared().setPercent(150);

    const bool shown = stack.showDocument(loadsRemoteImages);
    QCOMPARE(shown, laidOutWithRemoteImages == loadsRemoteImages);
    if (shown) {
        QCOMPARE(stack.document(), view.data());
        QCOMPARE(stack.currentWidget(), view.data());
        QCOMPARE(view->zoom(), 1.5);
        QCOMPARE(view->blockCount(), 2);
    } else {
        QVERIFY(!view);
        QVERIFY(!stack.document());
        QVERIFY(!stack.showDocument(loadsRemoteImages)); // nothing is kept aside any more
    }
}

// The source views take the program's zoom as it changes; the reader's choice to render a large
// text goes with that text's views.
void TestPreviewContentStack::textViewsFollowTheZoomAndGoWithTheirText()
{
    PreviewContentStack stack;
    stack.showLargeSource(QStringLiteral("x\n"));
    QPointer<LargeFileSourceView> large = qobject_cast<LargeFileSourceView *>(stack.currentWidget());
    QVERIFY(large);
    stack.showSource(QStringLiteral("x\n"));
    QPointer<SourceTextView> source = stack.source();
    QCOMPARE(stack.currentWidget(), source.data());
    const int standardSize = PreviewFonts::bodyMonospaced().pixelSize();
    PreviewZoom::shared().setPercent(200);
    QCOMPARE(source->font().pixelSize(), standardSize * 2);
    QCOMPARE(large->source()->font().pixelSize(), standardSize * 2);

    QSignalSpy chosen(&stack, &PreviewContentStack::largeTextRenderChosen);
    large->renderButton()->click();
    QCOMPARE(chosen.size(), 1);
    QVERIFY(stack.isLargeTextRenderChosen());
    stack.dropTextViews();
    QVERIFY(!stack.isLargeTextRenderChosen());
    QVERIFY(!stack.source());
    QTRY_VERIFY(!source && !large);
}

QTEST_MAIN(TestPreviewContentStack)
#include "tst_previewcontentstack.moc"
