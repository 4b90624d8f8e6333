#include "preview/previewdocumentloader.h"

#include "markdown/layout/view/markdownview.h"

#include <QMutex>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>
#include <QThreadPool>
#include <QWaitCondition>

using namespace kestrune;

namespace {

// Reads wait here until the test lets them go, so the test decides when they finish.
struct Gate
{
    QMutex mutex;
    QWaitCondition opened;
    bool open = false;
} gate;

void closeGate()
{
    QMutexLocker locker(&gate.mutex);
    gate.open = false;
}

void openGate()
{
    QMutexLocker locker(&gate.mutex);
    gate.open = true;
    gate.opened.wakeAll();
}

} // namespace

class TestPreviewDocumentLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void onlyTheLatestReadArrives();
    void aLaterLoadDropsTheParseRunning();
    void aLoadThatReadsNothingDropsTheReadRunning();

private:
    // Records what arrives.
    struct Arrivals
    {
        QList<PreviewDocumentLoader::Arrival> reads;
        QList<PreviewDocumentLoader::Arrival> parses;
    };
    static void record(PreviewDocumentLoader &loader, Arrivals &arrivals);
    static PreparedMarkdownPage::Settings settingsOf(MarkdownView *view);
};

void TestPreviewDocumentLoader::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    PreviewDocumentLoader::readPool()->setMaxThreadCount(4);
    PreviewDocumentLoader::setFileReadFunction([](const QString &path,
                                                  const MarkdownFileReader::ErrorMessages &, qsizetype,
                                                  const std::optional<PreparedMarkdownPage::Settings> &) {
        QMutexLocker locker(&gate.mutex);
        while (!gate.open)
            gate.opened.wait(&gate.mutex);
        return MarkdownFileReader::Document{MarkdownPreviewState::content(path), std::nullopt, nullptr, {}};
    });
}

void TestPreviewDocumentLoader::cleanup()
{
    openGate();
    PreviewDocumentLoader::readPool()->waitForDone();
    closeGate();
}

void TestPreviewDocumentLoader::record(PreviewDocumentLoader &loader, Arrivals &arrivals)
{
    connect(&loader, &PreviewDocumentLoader::readArrived, &loader,
            [&arrivals](const PreviewDocumentLoader::Arrival &arrival) { arrivals.reads.append(arrival); });
    connect(&loader, &PreviewDocumentLoader::parseArrived, &loader,
            [&arrivals](const PreviewDocumentLoader::Arrival &arrival) { arrivals.parses.append(arrival); });
}

PreparedMarkdownPage::Settings TestPreviewDocumentLoader::settingsOf(MarkdownView *view)
{
    return view->pageSettings(QSize(400, 300));
}

// A read started while another runs takes over: the earlier one's result never arrives, and the
// view its page was for is deleted once it finishes.
void TestPreviewDocumentLoader::onlyTheLatestReadArrives()
{
    QWidget parent;
    PreviewDocumentLoader loader;
    Arrivals arrivals;
    record(loader, arrivals);
    QVERIFY(!loader.hasStarted());
    QPointer<MarkdownView> first = new MarkdownView(&parent);
    QPointer<MarkdownView> second = new MarkdownView(&parent);
    loader.read(QUrl::fromLocalFile(QStringLiteral("/a.md")), false, first, settingsOf(first));
    loader.read(QUrl::fromLocalFile(QStringLiteral("/b.md")), true, second, settingsOf(second));
    QVERIFY(loader.hasStarted());
    QVERIFY(!loader.hasDelivered());
    openGate();
    QTRY_COMPARE(arrivals.reads.size(), 1);
    QTRY_VERIFY(!first);
    QCOMPARE(arrivals.reads.first().document.state.text(), QStringLiteral("/b.md"));
    QCOMPARE(arrivals.reads.first().view, second.data());
    QVERIFY(arrivals.reads.first().reload);
    QVERIFY(loader.hasDelivered());
    QVERIFY(arrivals.parses.isEmpty());
}

// A parse of a large text is dropped when a load starts before it finishes.
void TestPreviewDocumentLoader::aLaterLoadDropsTheParseRunning()
{
    QWidget parent;
    PreviewDocumentLoader loader;
    Arrivals arrivals;
    record(loader, arrivals);
    QPointer<MarkdownView> parsed = new MarkdownView(&parent);
    QPointer<MarkdownView> read = new MarkdownView(&parent);
    loader.parse(MarkdownPreviewState::content(QStringLiteral("# Long\n")), parsed, settingsOf(parsed));
    loader.read(QUrl::fromLocalFile(QStringLiteral("/c.md")), false, read, settingsOf(read));
    openGate();
    QTRY_COMPARE(arrivals.reads.size(), 1);
    QTRY_VERIFY(!parsed);
    PreviewDocumentLoader::readPool()->waitForDone();
    QCoreApplication::processEvents();
    QVERIFY(arrivals.parses.isEmpty());

    // Without a later load the parse arrives, its page laid out for its view.
    QPointer<MarkdownView> again = new MarkdownView(&parent);
    loader.parse(MarkdownPreviewState::content(QStringLiteral("# Long\n")), again, settingsOf(again));
    QTRY_COMPARE(arrivals.parses.size(), 1);
    QCOMPARE(arrivals.parses.first().view, again.data());
    QVERIFY(arrivals.parses.first().document.blocks);
    QVERIFY(arrivals.parses.first().document.page && !arrivals.parses.first().document.page->isNull());
}

// A file the pane will not read counts as a load of its own: the read before it is dropped, and
// the load is over at once.
void TestPreviewDocumentLoader::aLoadThatReadsNothingDropsTheReadRunning()
{
    QWidget parent;
    PreviewDocumentLoader loader;
    Arrivals arrivals;
    record(loader, arrivals);
    QPointer<MarkdownView> view = new MarkdownView(&parent);
    loader.read(QUrl::fromLocalFile(QStringLiteral("/d.md")), false, view, settingsOf(view));
    loader.readNothing();
    QVERIFY(loader.hasDelivered());
    openGate();
    QTRY_VERIFY(!view);
    QVERIFY(arrivals.reads.isEmpty());
}

QTEST_MAIN(TestPreviewDocumentLoader)
#include "tst_previewdocumentloader.moc"
