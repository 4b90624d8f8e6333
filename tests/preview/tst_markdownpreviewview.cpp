#include "preview/deltabadge.h"
#include "preview/errortextview.h"
#include "preview/findbar.h"
#include "preview/headingspopup.h"
#include "preview/largefilesourceview.h"
#include "preview/markdownpreviewheader.h"
#include "preview/markdownpreviewview.h"
#include "preview/previewcolors.h"
#include "preview/previewfonts.h"
#include "preview/previewzoom.h"
#include "preview/segmentbutton.h"
#include "preview/sourceheadinglines.h"
#include "preview/sourcetextfind.h"
#include "preview/sourcetextview.h"
#include "preview/viewmodeswitch.h"
#include "ui/elidedlabel.h"
#include "ui/invalidexpressiontext.h"
#include "ui/localization.h"
#include "ui/noticebar.h"
#include "ui/themecontroller.h"

#include "review/specificationdocument.h"

#include "markdown/document/markdownparser.h"
#include "markdown/layout/document/headingoutline.h"
#include "markdown/layout/view/markdownview.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QMutex>
#include <QNetworkProxy>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>
#include <QThreadPool>
#include <QToolButton>
#include <QWaitCondition>
#include <QWheelEvent>

#include <atomic>
#include <memory>
#include <new>

using namespace kestrune;

using Kind = MarkdownPreviewState::Kind;

namespace {

// Stands in for the desktop's opener: records what it is asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

} // namespace

namespace {

// The paths whose reads wait for the test.
struct HeldReads
{
    QMutex mutex;
    QWaitCondition released;
    QSet<QString> paths;
    // Loads of these paths hand back blocks of this text instead of the file's own, a page
    // prepared from the other, and say on which thread they ran.
    QSet<QString> substituted;
    QString substitute;
    QString preparedSubstitute;
    QList<QThread *> loadThreads;
} heldReads;

} // namespace

class TestMarkdownPreviewView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void contentAreaFollowsTheFile_data();
    void contentAreaFollowsTheFile();
    void headerNamesTheFileAndShortensThePathInTheMiddle();
    void deltaBadgeShowsInEveryState();
    void switchChoosesTheModeAndKeepsItForTheNextFile();
    void sourceKeepsLeadingAndTrailingBlankLines();
    void loadStartsWhenThePaneFirstAppears();
    void resultForAnEarlierFileIsDropped();
    void paneMayCloseWhileTheReadRuns();
    void sourceTextFollowsTheAppearance();
    void longSourceIsTakenInBySlices();
    void relativeLinksOpenFromTheFilesFolder();
    void fileLinkingOutOfTheProjectIsNotRead();
    void largeFileShowsItsSourceUntilTheReaderAsks();
    void documentIsParsedAndLaidOutOffTheWindowsThread();
    void layoutRunningOutOfMemoryShowsTheOutOfMemoryState();
    void pageLaidOutWithASourceReadIsShownWhenChosen();
    void switchReadsAsTwoExclusiveRadioButtons();
    void reloadKeepsTheReadingPositionInBothModes();
    void reloadOfAnUnchangedTextKeepsTheView();
    void removedFileStaysVisibleUnderANotice();
    void findBarFindsInBothModesAndClosesWithEscape();
    void findBarTakesWholeWordsAndExpressions();
    void findStepsWrapAndOpenTheShutBarWithTheSelection();
    void searchHitBecomesTheCurrentMatchInBothModes();
    void zoomFollowsTheProgramsStepsInBothModes();
    void linksStayInsideTheProjectOrAsk();
    void aLaterLinkReplacesTheQuestionStillOpen();
    void headingsPopupListsFiltersAndScrolls();
    void headingPlaceWaitsForTheText();
    void repeatedHeadingsAreGoneToByTheirNumberedIdentifiers();
    void onlyTheLatestPlaceIsGoneToAndOnlyInItsFile();
    void headingsButtonIsEnabledByANestedHeadingToo_data();
    void headingsButtonIsEnabledByANestedHeadingToo();
    void sourceHeadingLinesMatchTheParsedHeadings_data();
    void sourceHeadingLinesMatchTheParsedHeadings();
    void picturesAreReadFromTheProjectFolderOnly();
    void remoteImagesOffNameTheServerUntilTurnedOn();

private:
    QUrl writeFile(const QString &name, const QByteArray &bytes);
    // A file whose read waits until the test releases it with its content, so the test
    // decides when a load finishes.
    QUrl makeHeldFile(const QString &name);
    void release(const QUrl &file, const QByteArray &bytes);
    std::unique_ptr<MarkdownPreviewView> showPane(const QUrl &file,
                                                  std::optional<DeltaSpecType> deltaType = {});
    static bool waitForState(MarkdownPreviewView &view, Kind kind);
    // Waits until every read has finished and delivers the results they posted.
    static void settleReads();

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMarkdownPreviewView::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    // One read may be held up while another runs.
    MarkdownPreviewView::readPool()->setMaxThreadCount(4);
    MarkdownPreviewView::setFileReadFunction(
        [](const QString &path, const MarkdownFileReader::ErrorMessages &messages,
           qsizetype largestParsedText, const std::optional<PreparedMarkdownPage::Settings> &page) {
            QMutexLocker locker(&heldReads.mutex);
            while (heldReads.paths.contains(path))
                heldReads.released.wait(&heldReads.mutex);
            const bool substituted = heldReads.substituted.contains(path);
            const QString substitute = heldReads.substitute;
            const QString preparedSubstitute = heldReads.preparedSubstitute;
            heldReads.loadThreads.append(QThread::currentThread());
            locker.unlock();
            MarkdownFileReader::Document document =
                MarkdownFileReader::load(path, messages, largestParsedText, page);
            if (substituted) {
                document.blocks = MarkdownParser::parse(substitute);
                if (page)
                    document.page = std::make_shared<PreparedMarkdownPage>(
                        PreparedMarkdownPage::prepare(*page, MarkdownParser::parse(preparedSubstitute)));
            }
            return document;
        });
}

void TestMarkdownPreviewView::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QApplication::setPalette(ThemeController::paletteFor(Appearance::light));
}

void TestMarkdownPreviewView::cleanup()
{
    {
        QMutexLocker locker(&heldReads.mutex); // a failed test may leave a read held
        heldReads.paths.clear();
        heldReads.released.wakeAll();
    }
    MarkdownPreviewView::readPool()->waitForDone();
    m_dir.reset();
}

QUrl TestMarkdownPreviewView::writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(m_dir->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return QUrl::fromLocalFile(file.fileName());
}

QUrl TestMarkdownPreviewView::makeHeldFile(const QString &name)
{
    const QString path = m_dir->filePath(name);
    QMutexLocker locker(&heldReads.mutex);
    heldReads.paths.insert(path);
    return QUrl::fromLocalFile(path);
}

void TestMarkdownPreviewView::release(const QUrl &file, const QByteArray &bytes)
{
    writeFile(file.fileName(), bytes);
    QMutexLocker locker(&heldReads.mutex);
    heldReads.paths.remove(file.toLocalFile());
    heldReads.released.wakeAll();
}

std::unique_ptr<MarkdownPreviewView> TestMarkdownPreviewView::showPane(const QUrl &file,
                                                                       std::optional<DeltaSpecType> deltaType)
{
    auto view = std::make_unique<MarkdownPreviewView>(file, deltaType);
    view->resize(700, 500);
    view->show();
    return view;
}

bool TestMarkdownPreviewView::waitForState(MarkdownPreviewView &view, Kind kind)
{
    return QTest::qWaitFor([&] { return view.state().kind() == kind; }, 10000);
}

void TestMarkdownPreviewView::settleReads()
{
    MarkdownPreviewView::readPool()->waitForDone();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void TestMarkdownPreviewView::contentAreaFollowsTheFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<Kind>("expected");
    QTest::addColumn<QString>("contentView");

    QTest::addRow("text is rendered")
        << QByteArray("# Title\n\nText.\n") << true << Kind::content << "renderedDocument";
    QTest::addRow("zero bytes show the empty notice") << QByteArray() << true << Kind::empty << "emptyNotice";
    QTest::addRow("white space shows the empty notice")
        << QByteArray(" \n\t\n  ") << true << Kind::empty << "emptyNotice";
    QTest::addRow("bytes that are not UTF-8 show the read error")
        << QByteArray("caf\xe9") << true << Kind::error << "readError";
    QTest::addRow("a missing file says so") << QByteArray() << false << Kind::error << "readError";
}

void TestMarkdownPreviewView::contentAreaFollowsTheFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exists);
    QFETCH(Kind, expected);
    QFETCH(QString, contentView);

    const QUrl url = exists ? writeFile(QStringLiteral("file.md"), bytes)
                            : QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("missing.md")));
    auto view = showPane(url);
    QVERIFY(waitForState(*view, expected));
    QCOMPARE(view->contentView()->objectName(), contentView);
    QCOMPARE(view->header()->modeSwitch()->isVisible(), expected == Kind::content);
    if (expected == Kind::error) {
        auto *error = qobject_cast<ErrorTextView *>(view->contentView());
        QCOMPARE(error->text(), exists ? QStringLiteral("markdown.read_error")
                                       : QStringLiteral("markdown.read_error.not_found"));
        // Top-leading, not centred: the text's box starts at the padding.
        QCOMPARE(error->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(error->size(), view->contentView()->parentWidget()->size());
    }
}

void TestMarkdownPreviewView::headerNamesTheFileAndShortensThePathInTheMiddle()
{
    const QString folder = QStringLiteral("a-rather-long-folder-name-that-will-not-fit/another-long-folder");
    QVERIFY(QDir(m_dir->path()).mkpath(folder));
    const QUrl url = writeFile(folder + QStringLiteral("/spec.md"), "# Spec\n");
    auto view = showPane(url);
    QVERIFY(waitForState(*view, Kind::content));
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    ElidedLabel *name = view->header()->nameLabel();
    ElidedLabel *path = view->header()->pathLabel();
    // Narrow enough that the path no longer fits beside the header's buttons, which stay.
    QTRY_VERIFY(path->width() > 200);
    view->resize(view->width() - path->width() + 200, 400);

    QCOMPARE(name->text(), QStringLiteral("spec.md"));
    QCOMPARE(path->text(), url.toLocalFile());
    // The new width reaches the header's layout through the event loop.
    const auto middleEllipsis = [path] {
        const QString shown = path->displayedText();
        const qsizetype at = shown.indexOf(QChar(0x2026));
        return shown.size() < path->text().size() && at > 0 && at < shown.size() - 1;
    };
    QTRY_VERIFY2(middleEllipsis(), qPrintable(path->displayedText() + QStringLiteral(" at width ") +
                                              QString::number(path->width())));
    const QString shown = path->displayedText();
    const qsizetype ellipsis = shown.indexOf(QChar(0x2026));
    QVERIFY(shown.startsWith(path->text().left(ellipsis)));
    QVERIFY(shown.endsWith(QStringLiteral("spec.md")));
    QCOMPARE(view->header()->height(), view->header()->sizeHint().height());
}

void TestMarkdownPreviewView::deltaBadgeShowsInEveryState()
{
    const QUrl held = makeHeldFile(QStringLiteral("held.md"));
    auto view = showPane(held, DeltaSpecType::modified);
    DeltaBadge *badge = view->header()->deltaBadge();
    QCOMPARE(view->state().kind(), Kind::loading);
    QVERIFY(badge->isVisible());
    QCOMPARE(badge->accessibleName(), QStringLiteral("MODIFIED"));

    const QUrl missing = QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("gone.md")));
    view->setFile(missing, DeltaSpecType::removed);
    QVERIFY(waitForState(*view, Kind::error));
    QVERIFY(badge->isVisible());
    QCOMPARE(badge->accessibleName(), QStringLiteral("REMOVED"));

    view->setFile(writeFile(QStringLiteral("plain.md"), "text"), std::nullopt);
    QVERIFY(waitForState(*view, Kind::content));
    QVERIFY(!badge->isVisible());

    release(held, "held"); // lets the first read finish
}

void TestMarkdownPreviewView::switchChoosesTheModeAndKeepsItForTheNextFile()
{
    auto view = showPane(writeFile(QStringLiteral("one.md"), "# One\n"));
    QVERIFY(waitForState(*view, Kind::content));
    QCOMPARE(view->viewMode(), MarkdownViewMode::preview);
    QSignalSpy modes(view.get(), &MarkdownPreviewView::viewModeChanged);

    ViewModeSwitch *modeSwitch = view->header()->modeSwitch();
    QCOMPARE(modeSwitch->width(), 160);
    QTest::mouseClick(modeSwitch->segment(MarkdownViewMode::source), Qt::LeftButton);
    QCOMPARE(view->viewMode(), MarkdownViewMode::source);
    QCOMPARE(modes.size(), 1);
    QVERIFY(qobject_cast<SourceTextView *>(view->contentView()));
    QTest::mouseClick(modeSwitch->segment(MarkdownViewMode::source), Qt::LeftButton);
    QCOMPARE(modes.size(), 1); // choosing the chosen segment again changes nothing

    view->setFile(writeFile(QStringLiteral("two.md"), "# Two\n"), std::nullopt);
    QCOMPARE(view->state().kind(), Kind::loading);
    QVERIFY(!modeSwitch->isVisible()); // hidden while nothing is shown, the mode unchanged
    QVERIFY(waitForState(*view, Kind::content));
    QCOMPARE(view->viewMode(), MarkdownViewMode::source);
    QVERIFY(modeSwitch->segment(MarkdownViewMode::source)->isChecked());
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    QCOMPARE(source->toPlainText(), QStringLiteral("# Two\n"));

    QTest::mouseClick(modeSwitch->segment(MarkdownViewMode::preview), Qt::LeftButton);
    QCOMPARE(view->viewMode(), MarkdownViewMode::preview);
    QCOMPARE(view->contentView()->objectName(), QStringLiteral("renderedDocument"));
    QCOMPARE(modes.size(), 2);
}

void TestMarkdownPreviewView::sourceKeepsLeadingAndTrailingBlankLines()
{
    const QByteArray text("\n\n# Heading\n\nBody text.\n\n\n");
    auto view = showPane(writeFile(QStringLiteral("blank.md"), text));
    QVERIFY(waitForState(*view, Kind::content));
    QCOMPARE(view->state().text(), QString::fromUtf8(text));
    view->setViewMode(MarkdownViewMode::source);
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    QCOMPARE(source->toPlainText(), QString::fromUtf8(text));
    QCOMPARE(source->document()->blockCount(), 8);
    QVERIFY(source->isReadOnly());
    QVERIFY(source->textInteractionFlags() & Qt::TextSelectableByMouse);

    // The source is the file's Markdown: a copy says so.
    source->selectAll();
    source->copy();
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(copied->text(), QString::fromUtf8(text));
    QCOMPARE(copied->data(QStringLiteral("text/markdown")), text);
}

void TestMarkdownPreviewView::loadStartsWhenThePaneFirstAppears()
{
    MarkdownPreviewView view(writeFile(QStringLiteral("late.md"), "text"), std::nullopt);
    view.setFile(writeFile(QStringLiteral("later.md"), "later text"), std::nullopt);
    settleReads();
    QCOMPARE(view.state().kind(), Kind::loading);
    view.show();
    QVERIFY(waitForState(view, Kind::content));
    QCOMPARE(view.state().text(), QStringLiteral("later text"));
}

void TestMarkdownPreviewView::resultForAnEarlierFileIsDropped()
{
    const QUrl slow = makeHeldFile(QStringLiteral("slow.md"));
    auto view = showPane(slow);
    QSignalSpy states(view.get(), &MarkdownPreviewView::stateChanged);
    view->setFile(writeFile(QStringLiteral("fast.md"), "fast"), std::nullopt);
    QVERIFY(waitForState(*view, Kind::content));
    QCOMPARE(view->state().text(), QStringLiteral("fast"));

    release(slow, "slow");
    const qsizetype seen = states.size();
    settleReads();
    QCOMPARE(states.size(), seen);
    QCOMPARE(view->state().text(), QStringLiteral("fast"));
    QCOMPARE(view->fileURL().fileName(), QStringLiteral("fast.md"));
}

void TestMarkdownPreviewView::paneMayCloseWhileTheReadRuns()
{
    const QUrl slow = makeHeldFile(QStringLiteral("slow.md"));
    auto view = showPane(slow);
    QCOMPARE(view->state().kind(), Kind::loading);
    view.reset();
    release(slow, "# Late\n");
    settleReads(); // the finished read has no one to report to

    // Nor does it reach a pane opened afterwards.
    auto next = showPane(writeFile(QStringLiteral("next.md"), "next"));
    QVERIFY(waitForState(*next, Kind::content));
    settleReads();
    QCOMPARE(next->state().text(), QStringLiteral("next"));
    QCOMPARE(next->fileURL().fileName(), QStringLiteral("next.md"));
}

void TestMarkdownPreviewView::sourceTextFollowsTheAppearance()
{
    auto view = showPane(writeFile(QStringLiteral("colours.md"), "text"));
    QVERIFY(waitForState(*view, Kind::content));
    view->setViewMode(MarkdownViewMode::source);
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    QCOMPARE(source->palette().color(QPalette::Text), QColor::fromRgbF(0.12f, 0.16f, 0.22f, 0.95f));

    QApplication::setPalette(ThemeController::paletteFor(Appearance::dark));
    QTRY_COMPARE(source->palette().color(QPalette::Text), QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.92f));
    QCOMPARE(source->toPlainText(), QStringLiteral("text")); // recoloured, not reloaded
}

void TestMarkdownPreviewView::longSourceIsTakenInBySlices()
{
    // A surrogate pair across the first slice boundary, line ends of every kind (CR LF among them)
    // across later ones.
    QString text(SourceTextView::sliceSize - 1, QLatin1Char('a'));
    text += QString::fromUtf8("\xf0\x9f\x8c\x99") + QStringLiteral("tail\n");
    while (text.size() < 3 * SourceTextView::sliceSize)
        text += QStringLiteral("line \r\n\u2029more\n");
    SourceTextView view(text);
    QVERIFY(!view.isComplete());
    QSignalSpy completed(&view, &SourceTextView::completed);
    QVERIFY(completed.wait(10000));
    QPlainTextEdit whole;
    whole.setPlainText(text);
    QCOMPARE(view.toPlainText(), whole.toPlainText());
    QCOMPARE(view.document()->blockCount(), whole.document()->blockCount());
    QCOMPARE(view.verticalScrollBar()->value(), 0);
}

void TestMarkdownPreviewView::relativeLinksOpenFromTheFilesFolder()
{
    UrlRecorder recorder;
    for (const char *scheme : {"file", "https", "mailto", "foo-scheme"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
    QDir(m_dir->path()).mkpath(QStringLiteral("changes"));
    // The relative link comes last: it asks first, and its question blocks the page below it.
    auto view = showPane(writeFile(QStringLiteral("changes/proposal.md"),
                                   "[Site](https://example.com/a)\n\n[Top](#missing-heading)\n\n"
                                   "[Notebooks](../notebooks/spec.md)\n"));
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = view->findChild<MarkdownView *>(QStringLiteral("renderedDocument"));
    QVERIFY(document);
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    // Click down the start of every line of the page, so each link is clicked at least once.
    QSignalSpy activated(document, &MarkdownView::linkActivated);
    for (int y = 16; y < 240; y += 4)
        QTest::mouseClick(document->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(16 + 6, y));

    QSet<QUrl> clicked;
    for (const QList<QVariant> &arguments : activated)
        clicked.insert(arguments.first().toUrl());
    QCOMPARE(clicked, QSet<QUrl>({QUrl(QStringLiteral("../notebooks/spec.md")),
                                  QUrl(QStringLiteral("https://example.com/a")),
                                  QUrl(QStringLiteral("#missing-heading"))}));
    // The web link opened at once; the heading link opens nothing; the relative link, resolved
    // against the document's folder, waits for the reader, who sees the whole target.
    QCOMPARE(QSet<QUrl>(recorder.urls.cbegin(), recorder.urls.cend()),
             QSet<QUrl>({QUrl(QStringLiteral("https://example.com/a"))}));
    const QUrl sibling = QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("notebooks/spec.md")));
    auto *question = view->findChild<QMessageBox *>(QStringLiteral("linkConfirmation"));
    QVERIFY(question);
    QCOMPARE(question->informativeText(), sibling.toDisplayString());
    question->button(QMessageBox::Open)->click();
    QCOMPARE(recorder.urls.last(), sibling);
    QTRY_VERIFY(!view->findChild<QMessageBox *>(QStringLiteral("linkConfirmation"))); // closed and gone

    // Mail goes straight through; a scheme some program registered asks, and Cancel opens nothing.
    recorder.urls.clear();
    Q_EMIT document->linkActivated(QUrl(QStringLiteral("mailto:team@example.com")));
    Q_EMIT document->linkActivated(QUrl(QStringLiteral("foo-scheme://payload")));
    QTRY_VERIFY(view->findChild<QMessageBox *>(QStringLiteral("linkConfirmation")));
    question = view->findChild<QMessageBox *>(QStringLiteral("linkConfirmation"));
    QCOMPARE(question->informativeText(), QStringLiteral("foo-scheme://payload"));
    question->button(QMessageBox::Cancel)->click();
    QCOMPARE(recorder.urls, QList<QUrl>({QUrl(QStringLiteral("mailto:team@example.com"))}));
    for (const char *scheme : {"file", "https", "mailto", "foo-scheme"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void TestMarkdownPreviewView::fileLinkingOutOfTheProjectIsNotRead()
{
    const QUrl readable = writeFile(QStringLiteral("passwd.md"), "root:x:0:0");
    MarkdownPreviewView view(readable, std::nullopt);
    view.setFile(readable, std::nullopt, true);
    view.resize(700, 500);
    view.show();
    QCOMPARE(view.state().kind(), Kind::error);
    QCOMPARE(view.state().message(), QStringLiteral("markdown.read_error.outside_project"));
    settleReads();
    QCOMPARE(view.state().kind(), Kind::error); // and no read replaced it

    view.setFile(readable, std::nullopt, false); // the same path, no longer a link out
    QVERIFY(waitForState(view, Kind::content));
}

// A text past the rendering limit opens as source under a notice; rendering it is the
// reader's choice, parsed off the window's thread, and the next file starts over.
void TestMarkdownPreviewView::largeFileShowsItsSourceUntilTheReaderAsks()
{
    const QByteArray line = QByteArray(99, 'x') + '\n';
    const QByteArray text = line.repeated(MarkdownPreviewView::largestRenderedText / line.size() + 1);
    auto view = showPane(writeFile(QStringLiteral("large.md"), text));
    QVERIFY(waitForState(*view, Kind::content));
    QCOMPARE(view->contentView()->objectName(), QStringLiteral("largeFileSource"));
    auto *large = qobject_cast<LargeFileSourceView *>(view->contentView());
    QVERIFY(large);
    QCOMPARE(view->viewMode(), MarkdownViewMode::preview); // the reader's choice of mode is kept
    QTest::mouseClick(large->renderButton(), Qt::LeftButton);
    // Parsed on the read pool, not on the window's thread, while the pane shows it is busy.
    QCOMPARE(view->contentView()->objectName(), QStringLiteral("loading"));
    QTRY_COMPARE_WITH_TIMEOUT(view->contentView()->objectName(), QStringLiteral("renderedDocument"), 60000);

    view->setFile(writeFile(QStringLiteral("small.md"), "# Small\n"), std::nullopt);
    QVERIFY(waitForState(*view, Kind::content));
    QCOMPARE(view->contentView()->objectName(), QStringLiteral("renderedDocument"));
    view->setFile(writeFile(QStringLiteral("large2.md"), text), std::nullopt);
    QVERIFY(waitForState(*view, Kind::content));
    QTRY_COMPARE(view->contentView()->objectName(), QStringLiteral("largeFileSource"));
}

// The window shows the page the read pool parsed and laid out as far as its first screen:
// parsing or laying out a hostile document, which can take seconds, must not freeze it.
void TestMarkdownPreviewView::documentIsParsedAndLaidOutOffTheWindowsThread()
{
    const QUrl file = writeFile(QStringLiteral("parsed.md"), "# Read from the file\n");
    {
        QMutexLocker locker(&heldReads.mutex);
        heldReads.substituted.insert(file.toLocalFile());
        heldReads.substitute = QStringLiteral("# Parsed on the pool\n");
        heldReads.preparedSubstitute = QStringLiteral("# Laid out on the pool\n");
        heldReads.loadThreads.clear();
    }
    auto view = showPane(file);
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    document->selectAll();
    // The page built and measured with the read, not one built here from the parsed blocks.
    QCOMPARE(document->selectedText(), QStringLiteral("Laid out on the pool"));
    QMutexLocker locker(&heldReads.mutex);
    QCOMPARE(heldReads.loadThreads.size(), 1);
    QVERIFY(heldReads.loadThreads.first() != QThread::currentThread());
    heldReads.substituted.clear();
}

// Memory running out while the page is laid out again for a new width shows what a read or a
// parse that runs out of memory shows.
void TestMarkdownPreviewView::layoutRunningOutOfMemoryShowsTheOutOfMemoryState()
{
    QByteArray paragraph;
    for (int word = 0; word < 40000; ++word)
        paragraph += "w" + QByteArray::number(word) + " ";
    auto view = showPane(writeFile(QStringLiteral("long.md"), paragraph));
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    // While set, building a paragraph runs out of memory, here or on the pool.
    static std::atomic<bool> runsOut = false;
    Theme theme = document->environment().theme;
    theme.paragraph = [paragraphStyle = theme.paragraph](const BlockConfiguration &c) {
        if (runsOut)
            throw std::bad_alloc();
        return paragraphStyle.build(c);
    };
    document->setTheme(theme);
    QTRY_VERIFY_WITH_TIMEOUT(document->isLayoutComplete(), 30000);
    runsOut = true;
    view->resize(400, 500);
    const bool failed = waitForState(*view, Kind::error);
    runsOut = false;
    QVERIFY(failed);
    QCOMPARE(view->state().message(), Localization::text("markdown.read_error.out_of_memory"));
    QVERIFY(qobject_cast<ErrorTextView *>(view->contentView()));
}

// Read in source mode, the page laid out with the read waits, unshown, for the rendered document
// to be chosen; it is then shown at the zoom of that moment.
void TestMarkdownPreviewView::pageLaidOutWithASourceReadIsShownWhenChosen()
{
    PreviewZoom::shared().reset();
    const QUrl file = writeFile(QStringLiteral("source-first.md"), "# Read from the file\n");
    {
        QMutexLocker locker(&heldReads.mutex);
        heldReads.substituted.insert(file.toLocalFile());
        heldReads.substitute = QStringLiteral("# Parsed on the pool\n");
        heldReads.preparedSubstitute = QStringLiteral("# Laid out on the pool\n");
    }
    auto view = showPane(file);
    view->setViewMode(MarkdownViewMode::source); // before the read ends
    QVERIFY(waitForState(*view, Kind::content));
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    QCOMPARE(source->toPlainText(), QStringLiteral("# Read from the file\n"));
    QVERIFY(view->header()->headingsButton()->isEnabled());
    PreviewZoom::shared().setPercent(150);

    view->setViewMode(MarkdownViewMode::preview);
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    QCOMPARE(document->zoom(), 1.5);
    document->selectAll();
    QCOMPARE(document->selectedText(), QStringLiteral("Laid out on the pool"));
    // Back and forth, the same views.
    view->setViewMode(MarkdownViewMode::source);
    QCOMPARE(view->contentView(), source);
    view->setViewMode(MarkdownViewMode::preview);
    QCOMPARE(view->contentView(), document);
    PreviewZoom::shared().reset();
    QMutexLocker locker(&heldReads.mutex);
    heldReads.substituted.clear();
}

void TestMarkdownPreviewView::switchReadsAsTwoExclusiveRadioButtons()
{
    ViewModeSwitch modeSwitch;
    const auto segment = [&modeSwitch](MarkdownViewMode mode) {
        return QAccessible::queryAccessibleInterface(modeSwitch.segment(mode));
    };
    for (const MarkdownViewMode mode : {MarkdownViewMode::preview, MarkdownViewMode::source}) {
        QVERIFY(segment(mode));
        // Not check boxes: one of two, checked or not.
        QCOMPARE(segment(mode)->role(), QAccessible::RadioButton);
        QVERIFY(segment(mode)->state().checkable);
    }
    QCOMPARE(segment(MarkdownViewMode::preview)->text(QAccessible::Name), QStringLiteral("markdown.preview"));
    QVERIFY(segment(MarkdownViewMode::preview)->state().checked);
    QVERIFY(!segment(MarkdownViewMode::source)->state().checked);
    modeSwitch.setMode(MarkdownViewMode::source);
    QVERIFY(!segment(MarkdownViewMode::preview)->state().checked);
    QVERIFY(segment(MarkdownViewMode::source)->state().checked);
    // Still exactly one chosen after a click on the chosen one.
    QTest::mouseClick(modeSwitch.segment(MarkdownViewMode::source), Qt::LeftButton);
    QVERIFY(modeSwitch.segment(MarkdownViewMode::source)->isChecked());
    QVERIFY(!modeSwitch.segment(MarkdownViewMode::preview)->isChecked());
}

namespace {

// Paragraphs "Paragraph 0." to "Paragraph <count - 1>.", each a screen line or two.
QByteArray paragraphs(int first, int count)
{
    QByteArray text;
    for (int index = first; index < first + count; ++index)
        text += "Paragraph " + QByteArray::number(index) + ". " + QByteArray(120, 'w').replace('w', "word ") +
                "\n\n";
    return text;
}

BlockNode paragraphBlock(int index)
{
    return MarkdownParser::parse(QString::fromUtf8(paragraphs(index, 1))).constFirst();
}

// Whether the paragraph is the top-level block at the top of the rendered view.
bool isAtTop(const MarkdownView &view, int paragraph)
{
    return view.readingPosition().block == paragraphBlock(paragraph);
}

} // namespace

void TestMarkdownPreviewView::reloadKeepsTheReadingPositionInBothModes()
{
    const QUrl url = writeFile(QStringLiteral("live.md"), paragraphs(0, 80));
    auto view = showPane(url);
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    document->setReadingPosition({paragraphBlock(40), 40, 12, 0});
    QVERIFY(isAtTop(*document, 40));
    const int offsetInBlock = qRound(document->readingPosition().offset);

    // Ten paragraphs added above: the same paragraph stays at the top, as far scrolled into.
    writeFile(QStringLiteral("live.md"), paragraphs(-10, 90));
    view->reload();
    QVERIFY(QTest::qWaitFor([&] { return view->contentView() != document; }, 10000));
    document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    QVERIFY(isAtTop(*document, 40));
    QCOMPARE(document->readingPosition().blockIndex, 50);
    QCOMPARE(qRound(document->readingPosition().offset), offsetInBlock);

    // That paragraph gone: the same place in the page instead.
    const qreal fraction = document->readingPosition().fraction;
    writeFile(QStringLiteral("live.md"), paragraphs(100, 90));
    view->reload();
    QVERIFY(QTest::qWaitFor([&] { return view->contentView() != document; }, 10000));
    document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(qAbs(document->readingPosition().fraction - fraction) < 0.02);

    // The source keeps its place and its mode.
    view->setViewMode(MarkdownViewMode::source);
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    source->scrollToLine(61);
    QVERIFY(QTest::qWaitFor([&] { return source->isComplete(); }));
    QCOMPARE(source->topLine(), 61);
    writeFile(QStringLiteral("live.md"), paragraphs(100, 91));
    view->reload();
    QVERIFY(QTest::qWaitFor([&] { return view->contentView() != source; }, 10000));
    QCOMPARE(view->viewMode(), MarkdownViewMode::source);
    source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    QVERIFY(QTest::qWaitFor([&] { return source->isComplete(); }));
    QCOMPARE(source->topLine(), 61);
}

void TestMarkdownPreviewView::reloadOfAnUnchangedTextKeepsTheView()
{
    const QUrl url = writeFile(QStringLiteral("same.md"), paragraphs(0, 30));
    auto view = showPane(url);
    QVERIFY(waitForState(*view, Kind::content));
    QWidget *document = view->contentView();
    QList<Kind> states;
    connect(view.get(), &MarkdownPreviewView::stateChanged, this,
            [&](const MarkdownPreviewState &state) { states.append(state.kind()); });
    view->reload();
    QVERIFY(QTest::qWaitFor([&] { return !states.isEmpty(); }, 10000));
    settleReads();
    // Never the loading indicator between, and the very same view.
    QCOMPARE(states, QList<Kind>{Kind::content});
    QCOMPARE(view->contentView(), document);
}

void TestMarkdownPreviewView::removedFileStaysVisibleUnderANotice()
{
    const QUrl url = writeFile(QStringLiteral("gone.md"), "# Gone\n\nText.\n");
    auto view = showPane(url);
    QVERIFY(waitForState(*view, Kind::content));
    QWidget *document = view->contentView();
    view->setFileRemoved(true);
    QVERIFY(view->isShowingFileRemoved());
    auto *notice = view->findChild<NoticeBar *>(QStringLiteral("fileRemovedNotice"));
    QVERIFY(notice && notice->isVisible());
    QCOMPARE(notice->text(), QStringLiteral("markdown.file_removed"));
    QVERIFY(notice->geometry().bottom() < document->mapTo(view.get(), QPoint(0, 0)).y() + 1);
    QCOMPARE(view->contentView(), document);

    // Another file takes the notice away.
    view->setFile(writeFile(QStringLiteral("other.md"), "# Other\n"), std::nullopt);
    QVERIFY(!view->isShowingFileRemoved());
}

// The find bar searches what is on show: the rendered page, or the source (where the markup
// counts too); the keys walk the matches, Escape ends the find.
void TestMarkdownPreviewView::findBarFindsInBothModesAndClosesWithEscape()
{
    const QUrl url = writeFile(QStringLiteral("find.md"),
                               "# Needle\n\nA **nee**dle, and\r\nanother needle.\n\n| needle |\n|---|\n");
    auto view = showPane(url);
    QVERIFY(waitForState(*view, Kind::content));
    FindBar *bar = view->findBar();
    QVERIFY(bar->isHidden());
    view->openFind();
    QVERIFY(bar->isVisible());
    QTest::keyClicks(bar->field(), QStringLiteral("needle"));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    QTRY_COMPARE(document->findStatus(), (FindStatus{1, 4, true}));
    QTest::keyClick(bar->field(), Qt::Key_Return);
    QCOMPARE(document->findStatus().current, 2);
    QTest::keyClick(bar->field(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(bar->field(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(document->findStatus().current, 4);

    // The source shows the markup between "nee" and "dle": one match fewer.
    view->setViewMode(MarkdownViewMode::source);
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    QCOMPARE(document->findStatus(), FindStatus{}); // the page hidden ends its find
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{1, 3, true}));
    view->findNext();
    QCOMPARE(source->textFind()->status().current, 2);
    // Every match in view is marked, the current one apart; the marks sit on the matched text.
    const QList<QTextEdit::ExtraSelection> marks = source->extraSelections();
    QCOMPARE(marks.size(), 3);
    for (const QTextEdit::ExtraSelection &mark : marks)
        QCOMPARE(mark.cursor.selectedText().toLower(), QStringLiteral("needle"));
    QCOMPARE(marks.at(0).format.background(), marks.at(2).format.background());
    QVERIFY(marks.at(1).format.background() != marks.at(0).format.background());
    bar->findChild<QToolButton *>(QStringLiteral("findMatchCase"))->click();
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{1, 2, true})); // not the heading's "Needle"
    QTest::keyClicks(bar->field(), QStringLiteral("s"));
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{0, 0, true}));
    QCOMPARE(bar->findChild<QLabel *>(QStringLiteral("findStatus"))->text(),
             Localization::text("find.no_matches"));

    QTest::keyClick(bar->field(), Qt::Key_Escape);
    QVERIFY(bar->isHidden());
    QVERIFY(source->extraSelections().isEmpty());
}

// The bar's toggles take whole words and regular expressions, whose matches have their own
// lengths; an expression that does not compile says why in the error colour of either
// appearance, and finds nothing until it is mended.
void TestMarkdownPreviewView::findBarTakesWholeWordsAndExpressions()
{
    const QUrl url = writeFile(QStringLiteral("words.md"), "A cat, a concat and a Cat.\n\nThe catalog.\n");
    auto view = showPane(url);
    QVERIFY(waitForState(*view, Kind::content));
    view->setViewMode(MarkdownViewMode::source);
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    view->openFind();
    FindBar *bar = view->findBar();
    QTest::keyClicks(bar->field(), QStringLiteral("cat"));
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{1, 4, true}));
    auto *wholeWord = bar->findChild<QToolButton *>(QStringLiteral("findWholeWord"));
    auto *expression = bar->findChild<QToolButton *>(QStringLiteral("findRegularExpression"));
    QCOMPARE(wholeWord->accessibleName(), Localization::text("find.whole_word"));
    QCOMPARE(expression->accessibleName(), Localization::text("find.regular_expression"));
    wholeWord->click();
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{1, 2, true}));
    wholeWord->click();
    expression->click();
    QTest::keyClicks(bar->field(), QStringLiteral("\\w*"));
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{1, 4, true}));
    QStringList marked;
    for (const QTextEdit::ExtraSelection &mark : source->extraSelections())
        marked.append(mark.cursor.selectedText());
    QCOMPARE(marked, (QStringList{QStringLiteral("cat"), QStringLiteral("cat"), QStringLiteral("Cat"),
                                  QStringLiteral("catalog")}));

    auto *status = bar->findChild<QLabel *>(QStringLiteral("findStatus"));
    const QColor normal = status->palette().color(QPalette::WindowText);
    QTest::keyClicks(bar->field(), QStringLiteral("("));
    const SearchPattern broken(QStringLiteral("cat\\w*("), {.regularExpression = true});
    QVERIFY(!broken.isValid());
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{0, 0, true}));
    QCOMPARE(status->text(), InvalidExpressionText::of(broken));
    QVERIFY(status->isVisible());
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        bar->setPalette(ThemeController::paletteFor(appearance));
        QCOMPARE(status->palette().color(QPalette::WindowText), PreviewColors::errorText.resolve(appearance));
    }
    bar->setPalette(ThemeController::paletteFor(Appearance::light));
    QTest::keyClick(bar->field(), Qt::Key_Backspace);
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{1, 4, true}));
    QCOMPARE(status->palette().color(QPalette::WindowText), normal);

    // The rendered page counts with the same rules.
    view->setViewMode(MarkdownViewMode::preview);
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    QTRY_COMPARE(document->findStatus(), (FindStatus{1, 4, true}));
}

// Stepping while the bar is shut opens it with the selected line instead of moving; stepping on
// goes round the text's ends either way, and a selection of more than one line is not taken.
void TestMarkdownPreviewView::findStepsWrapAndOpenTheShutBarWithTheSelection()
{
    const QUrl url = writeFile(QStringLiteral("wrap.md"), "pin one\n\npin two\n\npin three\n");
    auto view = showPane(url);
    QVERIFY(waitForState(*view, Kind::content));
    view->setViewMode(MarkdownViewMode::source);
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    QTextCursor selection(source->document());
    selection.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    source->setTextCursor(selection);
    FindBar *bar = view->findBar();
    view->findPrevious();
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->query().text(), QStringLiteral("pin"));
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{1, 3, true}));
    view->findPrevious();
    QCOMPARE(source->textFind()->status().current, 3);
    view->findNext();
    QCOMPARE(source->textFind()->status().current, 1);
    view->findNext();
    view->findNext();
    view->findNext();
    QCOMPARE(source->textFind()->status().current, 1);

    QTest::keyClick(bar->field(), Qt::Key_Escape);
    selection.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor);
    source->setTextCursor(selection);
    view->findNext();
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->query().text(), QStringLiteral("pin")); // the query before stays
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{1, 3, true}));
}

// A search's match is gone to once the file's text is there, or at once when it is on show:
// the bar holds the pattern and its options, the match is the current one and in view, and
// the next one follows it; in the source exactly, rendered in the block the line belongs to.
void TestMarkdownPreviewView::searchHitBecomesTheCurrentMatchInBothModes()
{
    QByteArray text = "# Needles\n\n";
    for (int index = 0; index < 300; ++index)
        text += "Paragraph " + QByteArray::number(index) +
                " holds a needle, in a line long enough to wrap "
                "once in the pane at least, or nearly.\r\n\r\n";
    const QUrl held = makeHeldFile(QStringLiteral("hits.md"));
    auto view = showPane(held);
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    const SearchPattern pattern(QStringLiteral("ne+dle"), {.wholeWord = true, .regularExpression = true});
    const int column = int(QByteArrayView("Paragraph 250 holds a ").size());
    view->showSearchHit(pattern, 2 + 2 * 250, column); // while the file is read
    release(held, text);
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    QTRY_COMPARE(document->findStatus(), (FindStatus{251, 300, true}));
    FindBar *bar = view->findBar();
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->query(), pattern);
    QVERIFY(bar->findChild<QToolButton *>(QStringLiteral("findWholeWord"))->isChecked());
    // The paragraph is in view: the top of the view is a few paragraphs above it.
    QTRY_VERIFY(document->readingPosition().blockIndex > 235 &&
                document->readingPosition().blockIndex <= 251);
    view->findNext();
    QCOMPARE(document->findStatus().current, 252);

    // In the source, with the file on show: the match itself, whatever the markup.
    view->setViewMode(MarkdownViewMode::source);
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    view->showSearchHit(pattern, 2 + 2 * 120, column);
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{121, 300, true}));
    QTextCursor hit(source->document()->findBlockByNumber(2 + 2 * 120));
    hit.setPosition(hit.position() + column);
    const QRect shown = source->cursorRect(hit);
    QVERIFY(shown.top() >= 0 && shown.bottom() <= source->viewport()->height());
    view->findNext();
    QCOMPARE(source->textFind()->status().current, 122);
    // A place that is no match goes to the next one.
    view->showSearchHit(pattern, 2 + 2 * 120, column + 1);
    QTRY_COMPARE(source->textFind()->status(), (FindStatus{122, 300, true}));
}

void TestMarkdownPreviewView::linksStayInsideTheProjectOrAsk()
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    QDir(m_dir->path()).mkpath(QStringLiteral("project/kestrune/specs/auth"));
    QDir(m_dir->path()).mkpath(QStringLiteral("elsewhere"));
    const QUrl spec = writeFile(QStringLiteral("project/kestrune/specs/auth/spec.md"), "# Auth\n");
    writeFile(QStringLiteral("project/kestrune/notes.txt"), "notes");
    const QUrl secret = writeFile(QStringLiteral("elsewhere/secret.md"), "# Secret\n");
    QVERIFY(QFile::link(secret.toLocalFile(), m_dir->filePath(QStringLiteral("project/kestrune/linked.md"))));
    auto view =
        showPane(writeFile(QStringLiteral("project/kestrune/index.md"), "[Auth](specs/auth/spec.md)\n"));
    view->setProjectFolder(m_dir->filePath(QStringLiteral("project")));
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));

    // Hovering the link names where it leads.
    QSignalSpy hovered(document, &MarkdownView::linkHovered);
    for (int x = 18; x < 60 && hovered.isEmpty(); x += 4)
        QTest::mouseMove(document->viewport(), QPoint(x, 24));
    QVERIFY(!hovered.isEmpty());
    QCOMPARE(document->viewport()->toolTip(), QDir::toNativeSeparators(spec.toLocalFile()));
    Q_EMIT document->linkHovered(QUrl(QStringLiteral("https://example.com/a")));
    QCOMPARE(document->viewport()->toolTip(), QStringLiteral("https://example.com/a"));
    Q_EMIT document->linkHovered(QUrl());
    QVERIFY(document->viewport()->toolTip().isEmpty());

    // Markdown files and folders of the project open inside the program, ".." resolved.
    QSignalSpy opened(view.get(), &MarkdownPreviewView::openFileRequested);
    QSignalSpy revealed(view.get(), &MarkdownPreviewView::revealFolderRequested);
    Q_EMIT document->linkActivated(QUrl(QStringLiteral("specs/auth/spec.md#auth")));
    Q_EMIT document->linkActivated(QUrl(QStringLiteral("../kestrune/specs/../specs/auth/spec.md")));
    Q_EMIT document->linkActivated(QUrl(QStringLiteral("specs")));
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened.at(0), QList<QVariant>({spec, QStringLiteral("auth")}));
    QCOMPARE(opened.at(1), QList<QVariant>({spec, QString()}));
    QCOMPARE(revealed.size(), 1);
    QCOMPARE(revealed.at(0).first().toUrl(),
             QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("project/kestrune/specs"))));
    QVERIFY(!view->findChild<QMessageBox *>(QStringLiteral("linkConfirmation")));

    // Outside the project (also through a symbolic link), or no Markdown: the desktop, once the
    // reader agrees, as an absolute file URL.
    const QUrl notes = QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("project/kestrune/notes.txt")));
    const QUrl linked = QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("project/kestrune/linked.md")));
    const QList<std::pair<QString, QUrl>> leaving = {{QStringLiteral("../../elsewhere/secret.md"), secret},
                                                     {QStringLiteral("linked.md"), linked},
                                                     {QStringLiteral("notes.txt"), notes}};
    for (const auto &[link, target] : leaving) {
        Q_EMIT document->linkActivated(QUrl(link));
        QTRY_VERIFY(view->findChild<QMessageBox *>(QStringLiteral("linkConfirmation")));
        auto *question = view->findChild<QMessageBox *>(QStringLiteral("linkConfirmation"));
        QCOMPARE(question->informativeText(), target.toDisplayString());
        question->button(link == QLatin1String("notes.txt") ? QMessageBox::Open : QMessageBox::Cancel)
            ->click();
        QTRY_VERIFY(!view->findChild<QMessageBox *>(QStringLiteral("linkConfirmation")));
    }
    QCOMPARE(recorder.urls, QList<QUrl>({notes}));
    QCOMPARE(opened.size(), 2);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

// One question at a time: a link clicked while the reader is still asked about another replaces
// that question, and agreeing opens the later link only.
void TestMarkdownPreviewView::aLaterLinkReplacesTheQuestionStillOpen()
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    auto view = showPane(writeFile(QStringLiteral("links.md"), "[a](a.txt) and [b](b.txt)\n"));
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    Q_EMIT document->linkActivated(QUrl(QStringLiteral("a.txt")));
    Q_EMIT document->linkActivated(QUrl(QStringLiteral("b.txt")));
    QTRY_COMPARE(view->findChildren<QMessageBox *>(QStringLiteral("linkConfirmation")).size(), 1);
    auto *question = view->findChild<QMessageBox *>(QStringLiteral("linkConfirmation"));
    const QUrl second = QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("b.txt")));
    QCOMPARE(question->informativeText(), second.toDisplayString());
    question->button(QMessageBox::Open)->click();
    QTRY_VERIFY(!view->findChild<QMessageBox *>(QStringLiteral("linkConfirmation")));
    QCOMPARE(recorder.urls, QList<QUrl>({second}));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void TestMarkdownPreviewView::headingsPopupListsFiltersAndScrolls()
{
    const QByteArray text = "# Guide\n\n" + paragraphs(0, 20) + "## Install\n\n" + paragraphs(20, 20) +
                            "### Linux\n\n" + paragraphs(40, 20) + "## Use\n\n" + paragraphs(60, 20);
    auto view = showPane(writeFile(QStringLiteral("guide.md"), text));
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    QPushButton *button = view->header()->headingsButton();
    QTRY_VERIFY(button->isVisible());
    QVERIFY(button->isEnabled());

    QTest::mouseClick(button, Qt::LeftButton);
    HeadingsPopup *popup = view->headingsPopup();
    QVERIFY(popup);
    QTRY_VERIFY(popup->isVisible());
    QListWidget *list = popup->list();
    QCOMPARE(list->count(), 4);
    QList<int> levels;
    for (int row = 0; row < list->count(); ++row)
        levels.append(list->item(row)->data(HeadingsPopup::levelRole).toInt());
    QCOMPARE(levels, QList<int>({1, 2, 3, 2}));
    QVERIFY(list->item(0)->font().bold()); // the reader is at the top, in "Guide"
    QVERIFY(!list->item(1)->font().bold());

    // Typing narrows the list; Down and Enter go to the heading.
    QTest::keyClicks(popup->filterField(), QStringLiteral("iN"));
    QCOMPARE(popup->shownHeadings(), QList<int>({1, 2}));
    QCOMPARE(list->currentRow(), 1);
    QTest::keyClick(popup->filterField(), Qt::Key_Down);
    QTest::keyClick(popup->filterField(), Qt::Key_Return);
    QTRY_VERIFY(!view->headingsPopup());
    QCOMPARE(document->readingPosition().blockIndex, 1 + 20 + 1 + 20);
    QCOMPARE(view->currentHeading(), 2);

    // Opened again, the heading scrolled to is marked; Escape closes without moving.
    view->showHeadings();
    popup = view->headingsPopup();
    QTRY_VERIFY(popup && popup->isVisible());
    QVERIFY(popup->list()->item(2)->font().bold());
    QTest::keyClick(popup->filterField(), Qt::Key_Escape);
    QTRY_VERIFY(!view->headingsPopup());
    QCOMPARE(view->currentHeading(), 2);

    // In the source, a heading is its line.
    view->setViewMode(MarkdownViewMode::source);
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    QVERIFY(source);
    view->scrollToHeading(3);
    QTRY_COMPARE(source->topLine(), int(text.left(text.indexOf("## Use")).count('\n')));
    QCOMPARE(view->currentHeading(), 3);
}

void TestMarkdownPreviewView::headingPlaceWaitsForTheText()
{
    const QUrl url = makeHeldFile(QStringLiteral("later.md"));
    auto view = showPane(url);
    view->scrollToHeadingWhenShown(QStringLiteral("second-part"));
    QCOMPARE(view->state().kind(), Kind::loading);
    release(url, "# First\n\n" + paragraphs(0, 30) + "## Second part\n\n" + paragraphs(30, 30));
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    QTRY_COMPARE(document->readingPosition().blockIndex, 31);
}

// A requirement named twice: the identifier quick open gives the second (from the review's reading
// of the file) is the one the preview gives its heading, and leads there.
void TestMarkdownPreviewView::repeatedHeadingsAreGoneToByTheirNumberedIdentifiers()
{
    const QByteArray text = "# Requirement: Login\n\n## Requirements\n\n### Requirement: Login\n\n" +
                            paragraphs(0, 20) + "### Requirement: Login\n\n" + paragraphs(20, 20) +
                            "```\n### Requirement: Login\n```\n\n### Requirement: Logout\n\n" +
                            paragraphs(40, 20);
    QStringList fragments;
    for (const SpecificationSection &section :
         SpecificationDocument::parse(QString::fromUtf8(text)).sections) {
        for (const RequirementBlock &requirement : section.requirements)
            fragments.append(requirement.identifier);
    }
    QCOMPARE(fragments, QStringList({"requirement-login-1", "requirement-login-2", "requirement-logout"}));

    const QUrl url = makeHeldFile(QStringLiteral("repeated.md"));
    auto view = showPane(url);
    view->scrollToHeadingWhenShown(fragments.at(1));
    release(url, text);
    QVERIFY(waitForState(*view, Kind::content));
    QStringList identifiers;
    for (const HeadingOutline::Heading &heading : view->headings())
        identifiers.append(heading.identifier);
    QCOMPARE(identifiers, QStringList({"requirement-login", "requirements", "requirement-login-1",
                                       "requirement-login-2", "requirement-logout"}));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    QTRY_COMPARE(document->readingPosition().blockIndex, 3 + 20);
    QCOMPARE(view->currentHeading(), 3);

    // The headings popup's choice goes to the heading chosen, not to the first of its name.
    view->scrollToHeading(2);
    QTRY_COMPARE(document->readingPosition().blockIndex, 2);
    QCOMPARE(view->currentHeading(), 2);
}

// Places asked for while the file is read replace one another, and another file chosen meanwhile
// forgets them: its reader starts at the top.
void TestMarkdownPreviewView::onlyTheLatestPlaceIsGoneToAndOnlyInItsFile()
{
    const QByteArray text = "# First\n\n" + paragraphs(0, 30) + "## Second part\n\n" + paragraphs(30, 30);
    const QUrl url = makeHeldFile(QStringLiteral("places.md"));
    auto view = showPane(url);
    view->showSearchHit(SearchPattern(QStringLiteral("First")), 0, 0);
    view->scrollToHeadingWhenShown(QStringLiteral("second-part"));
    release(url, text);
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    QTRY_COMPARE(document->readingPosition().blockIndex, 31);
    QVERIFY(view->findBar()->isHidden()); // the search hit was replaced

    const QUrl other = makeHeldFile(QStringLiteral("other.md"));
    view->scrollToHeadingWhenShown(QStringLiteral("second-part"));
    view->setFile(other, std::nullopt);
    release(other, text);
    QTRY_VERIFY(view->contentView() != document && view->state().isContent());
    document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    settleReads();
    QCOMPARE(document->readingPosition().blockIndex, 0);
}

void TestMarkdownPreviewView::headingsButtonIsEnabledByANestedHeadingToo_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("enabled");
    QTest::addRow("none") << QByteArray("Text\n\n```\n# code\n```\n\n> quoted\n\n- item\n") << false;
    QTest::addRow("last of many blocks") << QByteArray("One\n\nTwo\n\n- three\n\n###### Six\n") << true;
    QTest::addRow("in a quote") << QByteArray("Text\n\n> ## Quoted\n") << true;
    QTest::addRow("in a bullet item") << QByteArray("- one\n- ## Listed\n") << true;
    QTest::addRow("in a numbered item") << QByteArray("1. one\n2. ### Numbered\n") << true;
    QTest::addRow("in a task item") << QByteArray("- [ ] one\n- [x] two\n\n  ## Done\n") << true;
    QTest::addRow("in a quote in an item") << QByteArray("- one\n\n  > # Deep\n") << true;
}

void TestMarkdownPreviewView::headingsButtonIsEnabledByANestedHeadingToo()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, enabled);
    QCOMPARE(HeadingOutline::of(MarkdownParser::parse(QString::fromUtf8(text))).isEmpty(), !enabled);
    auto view = showPane(writeFile(QStringLiteral("nested.md"), text));
    QVERIFY(waitForState(*view, Kind::content));
    QPushButton *button = view->header()->headingsButton();
    QTRY_VERIFY(button->isVisible());
    QCOMPARE(button->isEnabled(), enabled);
}

void TestMarkdownPreviewView::sourceHeadingLinesMatchTheParsedHeadings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("lines");
    QTest::addRow("atx and setext, the first line of a setext text")
        << QStringLiteral("# A\n\nText\n===\n\nSome\nmore\n---\n") << QList<int>({0, 2, 5});
    QTest::addRow("fenced code hides hashes")
        << QStringLiteral("```\n# not\n```\n~~~~\n## no\n~~~~\n# yes\n") << QList<int>({6});
    QTest::addRow("headings in quotes and list items")
        << QStringLiteral("> # quoted\n\n- ## listed\n\n1. ### numbered\n") << QList<int>({0, 2, 4});
    QTest::addRow("a rule after a blank line is no underline")
        << QStringLiteral("Text\n\n---\n# B\n") << QList<int>({3});
    QTest::addRow("indented code, seven hashes, no space")
        << QStringLiteral("    # code\n####### seven\n#tag\n# real\n") << QList<int>({3});
    QTest::addRow("CR LF and a lone CR each end one line")
        << QStringLiteral("# A\r\ntext\r# B\r\n\r\n# C") << QList<int>({0, 2, 4});
}

void TestMarkdownPreviewView::sourceHeadingLinesMatchTheParsedHeadings()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, lines);
    QCOMPARE(SourceHeadingLines::find(text), lines);
    // Line n is heading n of the outline the rendered view lists.
    QCOMPARE(HeadingOutline::of(MarkdownParser::parse(text)).size(), lines.size());
}

// One zoom for every preview: Ctrl and the wheel step it from the page or the source, and both
// draw at it; it stays within its steps.
void TestMarkdownPreviewView::zoomFollowsTheProgramsStepsInBothModes()
{
    PreviewZoom &zoom = PreviewZoom::shared();
    zoom.reset();
    const QUrl url = writeFile(QStringLiteral("zoom.md"), paragraphs(0, 20));
    auto view = showPane(url);
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QWheelEvent wheel(QPointF(20, 20), document->viewport()->mapToGlobal(QPointF(20, 20)), {}, QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(document->viewport(), &wheel);
    QCOMPARE(zoom.percent(), 110);
    QCOMPARE(document->zoom(), 1.1);

    view->setViewMode(MarkdownViewMode::source);
    auto *source = qobject_cast<SourceTextView *>(view->contentView());
    const int standardSize = PreviewFonts::bodyMonospaced().pixelSize();
    QCOMPARE(source->font().pixelSize(), qRound(standardSize * 1.1));
    zoom.setPercent(200);
    QCOMPARE(source->font().pixelSize(), standardSize * 2);
    QCOMPARE(document->zoom(), 2.0);
    for (int i = 0; i < 20; ++i)
        zoom.zoomIn();
    QCOMPARE(zoom.percent(), 300);
    for (int i = 0; i < 20; ++i)
        zoom.zoomOut();
    QCOMPARE(zoom.percent(), 50);
    zoom.reset();
    QCOMPARE(source->font().pixelSize(), standardSize);
}

namespace {

int pixelsOf(const QImage &image, QColor color)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            count += pixels.pixel(x, y) == color.rgb();
    return count;
}

QByteArray pngOf(QColor color, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

void TestMarkdownPreviewView::picturesAreReadFromTheProjectFolderOnly()
{
    QDir(m_dir->path()).mkpath(QStringLiteral("project/kestrune/specs"));
    const QString project = m_dir->filePath(QStringLiteral("project"));
    writeFile(QStringLiteral("project/kestrune/specs/flow.png"), pngOf(Qt::blue, QSize(60, 30)));
    writeFile(QStringLiteral("project/kestrune/specs/shape.svg"),
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"20\">"
              "<rect width=\"40\" height=\"20\" fill=\"#00ff00\"/></svg>");
    writeFile(QStringLiteral("outside.png"), pngOf(Qt::red, QSize(60, 30)));
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("outside.png")),
                        m_dir->filePath(QStringLiteral("project/kestrune/specs/escape.png"))));
    const QByteArray markdown = "![](flow.png)\n\n![](shape.svg)\n\n![Far away](../../../outside.png)\n\n"
                                "![Linked away](escape.png)\n";
    auto view = std::make_unique<MarkdownPreviewView>(QUrl(), std::nullopt);
    view->setProjectFolder(project);
    QCOMPARE(view->projectFolder(), project);
    view->setFile(writeFile(QStringLiteral("project/kestrune/specs/design.md"), markdown), std::nullopt);
    view->resize(700, 500);
    view->show();
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = view->findChild<MarkdownView *>(QStringLiteral("renderedDocument"));
    QVERIFY(document);
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    // Inside the project: drawn. Above it, or through a link leading out: the placeholder.
    QTRY_VERIFY(pixelsOf(document->viewport()->grab().toImage(), Qt::blue) >= 60 * 30);
    QTRY_VERIFY(pixelsOf(document->viewport()->grab().toImage(), Qt::green) >= 40 * 20);
    QTRY_VERIFY(document->layoutDump().contains(QLatin1String("Far away")) &&
                document->layoutDump().contains(QLatin1String("Linked away")));
    QCOMPARE(pixelsOf(document->viewport()->grab().toImage(), Qt::red), 0);

    // The picture changes on disk, and so does the text, which renders it again: the new one shows.
    writeFile(QStringLiteral("project/kestrune/specs/flow.png"), pngOf(Qt::magenta, QSize(60, 30)));
    writeFile(QStringLiteral("project/kestrune/specs/design.md"), markdown + "\nMore.\n");
    view->reload();
    QTRY_VERIFY(pixelsOf(view->contentView()->grab().toImage(), Qt::magenta) >= 60 * 30);
    QCOMPARE(pixelsOf(view->contentView()->grab().toImage(), Qt::blue), 0);
}

void TestMarkdownPreviewView::remoteImagesOffNameTheServerUntilTurnedOn()
{
    // Whatever is asked of the network fails at once, and nothing leaves the test.
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), 1));
    const auto proxy = qScopeGuard([] { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); });
    const QString picture = QStringLiteral("https://example.com/logo.png");
    auto view = std::make_unique<MarkdownPreviewView>(QUrl(), std::nullopt);
    view->setLoadsRemoteImages(false);
    view->setFile(writeFile(QStringLiteral("remote.md"), "![Logo](https://example.com/logo.png)\n"),
                  std::nullopt);
    view->resize(700, 500);
    view->show();
    QVERIFY(waitForState(*view, Kind::content));
    auto *document = qobject_cast<MarkdownView *>(view->contentView());
    QVERIFY(document);
    // Not asked for: the image has no address to load, and its placeholder names the server.
    QTRY_VERIFY(document->layoutDump().contains(QLatin1String("example.com")));
    QVERIFY2(!document->layoutDump().contains(picture), qPrintable(document->layoutDump()));
    QVERIFY(!document->environment().loadsRemoteImages);

    // Asked for once turned on; the refused request settles before the pane goes.
    view->setLoadsRemoteImages(true);
    const auto dump = [&view] {
        auto *shown = qobject_cast<MarkdownView *>(view->contentView());
        return shown ? shown->layoutDump() : QString();
    };
    QTRY_VERIFY(dump().contains(picture) && dump().contains(QLatin1String("Logo")));
}

QTEST_MAIN(TestMarkdownPreviewView)
#include "tst_markdownpreviewview.moc"
