// How soon printing leaves off once cancelled, a 4 MB specification-like document exported as
// PDF: while it is laid out, while it waits for a picture that does not come, and while its
// pages are painted. The print job runs on a thread of its own, as the program runs it; the
// figure is the time from cancel() to the job's return, freeing its laid-out page and closing
// the PDF included (the window's thread returns at once, without waiting for it). Beside it, the
// same moments as printing ran them before on the window's thread, from a Cancel click posted to
// it to the moment it was acted on: layout slices of 50 ms between two looks at the events, and a
// wait for pictures that looked only at its time-out. Prints medians of RUNS runs (3 by default)
// in milliseconds.
#include "benchtiming.h"
#include "specificationdocument.h"

#include "markdown/document/markdownparser.h"
#include "markdown/document/processheap.h"
#include "markdown/images/imageprovider.h"
#include "markdown/layout/document/documentpagination.h"
#include "markdown/layout/document/documentprintjob.h"
#include "markdown/layout/document/pageddocumentpainter.h"
#include "preview/previewdocumenttheme.h"
#include "ui/localization.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPdfWriter>
#include <QPromise>
#include <QTemporaryFile>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

using namespace kestrune;

namespace {

constexpr double targetMs = 100;

// Never answers; notes that it was asked.
class SilentImageProvider : public ImageProvider
{
public:
    std::atomic<bool> asked = false;

    QFuture<QImage> image(const QUrl &) override
    {
        m_promises.append(std::make_shared<QPromise<QImage>>());
        m_promises.last()->start();
        asked = true;
        return m_promises.last()->future();
    }

private:
    QList<std::shared_ptr<QPromise<QImage>>> m_promises;
};

enum class Moment
{
    layout,
    pictures,
    pages,
};

const char *nameOf(Moment moment)
{
    switch (moment) {
    case Moment::layout:
        return "while laid out";
    case Moment::pictures:
        return "while waiting for a picture";
    case Moment::pages:
        return "while its pages are painted";
    }
    return "";
}

void processEventsUntil(const std::function<bool()> &condition)
{
    while (!condition())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Milliseconds from cancel() to the job's return, cancelled at that moment.
double jobLatency(const QList<BlockNode> &blocks, Moment moment)
{
    auto images = std::make_shared<SilentImageProvider>();
    MarkdownEnvironment environment;
    environment.theme = PreviewDocumentTheme::make();
    environment.imageProvider = images;
    QList<BlockNode> printed = blocks;
    if (moment == Moment::pictures)
        printed.append(MarkdownParser::parse(QStringLiteral("![never](https://example.org/never.png)\n")));
    // The picture stays on its way for good: the job would wait its whole time-out.
    auto job = std::make_shared<DocumentPrintJob>(
        DocumentPrintJob::Source{printed, {}, environment, QStringLiteral("bench.md")}, qApp);
    auto done = std::make_shared<std::atomic<qreal>>(0);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    QThreadPool pool;
    pool.start([job, done, finished] {
        QTemporaryFile file;
        if (file.open()) {
            QPdfWriter writer(&file);
            writer.setPageLayout(PagedDocumentPainter::defaultPageLayout());
            job->run(writer, [done](qreal part) { done->store(part); });
        }
        finished->store(true);
    });
    switch (moment) {
    case Moment::layout:
        processEventsUntil([&] { return done->load() > 0.1 || finished->load(); });
        break;
    case Moment::pictures:
        processEventsUntil([&] { return images->asked.load() || finished->load(); });
        break;
    case Moment::pages:
        processEventsUntil([&] { return done->load() > 0.6 || finished->load(); });
        break;
    }
    QElapsedTimer timer;
    timer.start();
    job->cancel();
    processEventsUntil([&] { return finished->load(); });
    const double latency = double(timer.nsecsElapsed()) / 1e6;
    pool.waitForDone();
    return latency;
}

// The same moment as printing met it on the window's thread before: milliseconds from Cancel to
// the next look at it.
double windowThreadLatency(const QList<BlockNode> &blocks, Moment moment)
{
    auto images = std::make_shared<SilentImageProvider>();
    MarkdownEnvironment environment;
    environment.theme = PreviewDocumentTheme::make();
    environment.imageProvider = images;
    QList<BlockNode> printed = blocks;
    if (moment == Moment::pictures)
        printed.append(MarkdownParser::parse(QStringLiteral("![never](https://example.org/never.png)\n")));
    DocumentPagination pagination(
        printed, environment, PagedDocumentPainter::contentSize(PagedDocumentPainter::defaultPageLayout()));
    if (moment != Moment::layout) {
        pagination.layoutAll(std::chrono::milliseconds(0));
        QCoreApplication::processEvents();
    }
    // Cancel is clicked a little into the work: an event posted from elsewhere, as input is.
    QElapsedTimer timer;
    bool cancelled = false;
    std::thread reader([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        timer.start();
        QMetaObject::invokeMethod(
            qApp, [&cancelled] { cancelled = true; }, Qt::QueuedConnection);
    });
    if (moment == Moment::layout) {
        constexpr qint64 oldSliceMs = 50;
        while (!pagination.layoutStep(oldSliceMs)) {
            QCoreApplication::processEvents();
            if (cancelled)
                break;
        }
    } else {
        pagination.waitForImages(DocumentPagination::defaultImageTimeout);
        QCoreApplication::processEvents();
    }
    reader.join();
    return cancelled ? double(timer.nsecsElapsed()) / 1e6 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments();
    QApplication application(argc, argv);
    Localization::install(&application, QLocale(QLocale::English));
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const QList<BlockNode> blocks =
        MarkdownParser::parse(QString::fromUtf8(specificationDocument(qsizetype(4) << 20)));

    std::printf("4 MB document exported as PDF, cancelled (median of %d runs, ms; target <= %.0f)\n", runs,
                targetMs);
    for (const Moment moment : {Moment::layout, Moment::pictures, Moment::pages}) {
        std::vector<double> latencies;
        for (int run = 0; run < runs; ++run)
            latencies.push_back(jobLatency(blocks, moment));
        std::printf("  %-30s job returns after %7.1f\n", nameOf(moment), median(latencies));
    }
    std::printf("as printing ran before, on the window's thread (one run each)\n");
    for (const Moment moment : {Moment::layout, Moment::pictures})
        std::printf("  %-30s Cancel acted on after %7.1f\n", nameOf(moment),
                    windowThreadLatency(blocks, moment));
    return 0;
}
