// How soon printing leaves off once cancelled, a 4 MB specification-like document exported as
// PDF over a QSaveFile, as the program exports it, on a thread pool of one thread: cancelled while
// its text is parsed (given unparsed, as a long file never rendered is), while it is laid out,
// while it waits for a picture that does not come, while it is paginated, while its pages are
// painted and when the PDF is about to be closed. For each phase it prints the time from cancel()
// to the job's return (its file abandoned and its writer gone: the moment the program hears the
// job ended), to the start of a next job on the same pool, and to the moment the disposal threads
// have freed what the job built; the first two are held to 100 ms. The phase the job was in when
// cancel() came is named, should the job have moved on meanwhile. Pagination and closing are
// cancelled from the job's thread as they begin (the first lasts a few milliseconds); the others
// from the window's thread a little into them (parsing 50 ms into it). Before the figures, what
// each phase of an export run to its end takes. Prints medians of RUNS runs (3 by default; one
// for closing, which follows a whole painting) in milliseconds.
#include "benchtiming.h"
#include "specificationdocument.h"

#include "markdown/document/documentmodeldisposal.h"
#include "markdown/document/markdownparser.h"
#include "markdown/document/processheap.h"
#include "markdown/images/imageprovider.h"
#include "markdown/layout/document/documentprintjob.h"
#include "markdown/layout/document/pageddocumentpainter.h"
#include "preview/previewdocumenttheme.h"
#include "ui/localization.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPdfWriter>
#include <QPromise>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThreadPool>

#include <array>
#include <atomic>
#include <cstdio>
#include <memory>
#include <optional>

using namespace kestrune;
using Phase = DocumentPrintJob::Phase;

namespace {

constexpr double targetMs = 100;
constexpr std::array phases{Phase::parsing,    Phase::layout,   Phase::pictures,
                            Phase::pagination, Phase::painting, Phase::closing};

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

const char *nameOf(Phase phase)
{
    switch (phase) {
    case Phase::parsing:
        return "parsing";
    case Phase::layout:
        return "layout";
    case Phase::pictures:
        return "picture wait";
    case Phase::pagination:
        return "pagination";
    case Phase::painting:
        return "painting";
    case Phase::closing:
        return "closing";
    }
    return "";
}

void processEventsUntil(const std::function<bool()> &condition)
{
    while (!condition())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The one clock of every thread, in nanoseconds.
qint64 now()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.nsecsElapsed();
}

struct Export
{
    std::shared_ptr<DocumentPrintJob> job;
    std::shared_ptr<SilentImageProvider> images;
    std::shared_ptr<std::atomic<Phase>> phase;
    std::shared_ptr<std::atomic<qreal>> done;
    std::shared_ptr<std::atomic<bool>> finished;
    std::shared_ptr<std::atomic<qint64>> cancelledAt; // on the clock of now()
};

struct ExportOptions
{
    QString text;             // given unparsed instead of the blocks, when not empty
    bool withPicture = false; // one that never comes, waited for `imageTimeout`
    std::chrono::milliseconds imageTimeout = DocumentPagination::defaultImageTimeout;
    std::function<void(Phase)> onPhase;
    // A phase too short for the window's thread to catch is cancelled from the job's own thread
    // as it begins.
    std::optional<Phase> cancelledAtStartOf;
};

// Starts exporting the document to `path` on the pool, as the program does.
Export startExport(QThreadPool &pool, const QList<BlockNode> &blocks, const QString &path,
                   const ExportOptions &options)
{
    Export started{nullptr,
                   std::make_shared<SilentImageProvider>(),
                   std::make_shared<std::atomic<Phase>>(Phase::parsing),
                   std::make_shared<std::atomic<qreal>>(0),
                   std::make_shared<std::atomic<bool>>(false),
                   std::make_shared<std::atomic<qint64>>(-1)};
    MarkdownEnvironment environment;
    environment.theme = PreviewDocumentTheme::make();
    environment.imageProvider = started.images;
    const QString picture = QStringLiteral("![never](https://example.org/never.png)\n");
    DocumentPrintJob::Source source{blocks, options.text, environment, QStringLiteral("bench.md")};
    if (!options.text.isEmpty())
        source.blocks.reset();
    if (options.withPicture && source.blocks)
        source.blocks->append(MarkdownParser::parse(picture));
    else if (options.withPicture)
        source.text += picture;
    started.job = std::make_shared<DocumentPrintJob>(source, qApp, options.imageTimeout);
    started.job->setPhaseObserver([job = started.job.get(), phase = started.phase, options,
                                   cancelledAt = started.cancelledAt](Phase begun) {
        phase->store(begun);
        if (options.onPhase)
            options.onPhase(begun);
        if (begun == options.cancelledAtStartOf) {
            cancelledAt->store(now());
            job->cancel();
        }
    });
    pool.start([job = started.job, done = started.done, finished = started.finished, path] {
        auto file = std::make_unique<QSaveFile>(path);
        if (file->open(QIODevice::WriteOnly)) {
            DocumentPrintJob::Outcome outcome = DocumentPrintJob::Outcome::deviceFailed;
            {
                QPdfWriter writer(file.get());
                writer.setPageLayout(PagedDocumentPainter::defaultPageLayout());
                outcome = job->run(writer, [done](qreal part) { done->store(part); });
            }
            if (outcome == DocumentPrintJob::Outcome::printed) {
                file->commit();
            } else {
                // As the program does: the part written is removed on the disposal thread.
                file->cancelWriting();
                file->moveToThread(nullptr);
                DocumentModelDisposal::disposeValue(std::move(file));
            }
        }
        finished->store(true);
    });
    return started;
}

// What each phase of a whole export of the text takes.
void phaseDurations(const QString &text, const QString &path)
{
    QThreadPool pool;
    pool.setMaxThreadCount(1);
    QElapsedTimer timer;
    std::array<std::atomic<double>, phases.size() + 1> starts{};
    const auto onPhase = [&](Phase phase) { starts[size_t(phase)] = elapsedMs(timer); };
    timer.start();
    const Export running =
        startExport(pool, {}, path, {text, true, std::chrono::milliseconds(500), onPhase, {}});
    processEventsUntil([&] { return running.finished->load(); });
    starts[phases.size()] = elapsedMs(timer);
    pool.waitForDone();
    std::printf(
        "a whole export of the text unparsed, with a picture that does not come (0.5 s), one run:\n ");
    for (const Phase phase : phases) {
        const size_t index = size_t(phase);
        std::printf(" %s %.0f,", nameOf(phase), starts[index + 1] - starts[index]);
    }
    std::printf(" %.1f MB written\n", double(QFile(path).size()) / (1 << 20));
    QFile::remove(path);
}

struct Latency
{
    double returned = 0;
    double nextStarted = 0;
    double freed = 0;
    Phase cancelledIn = Phase::parsing;
    bool fileLeft = false;
};

// Cancels an export a little into the phase.
Latency cancelledLatency(const QString &text, const QList<BlockNode> &blocks, Phase phase,
                         const QString &path)
{
    QThreadPool pool;
    pool.setMaxThreadCount(1);
    const bool fromJobsThread = phase == Phase::pagination || phase == Phase::closing;
    // (parsing is cancelled 50 ms into it, from the window's thread)
    ExportOptions options;
    options.withPicture = phase == Phase::pictures;
    if (phase == Phase::parsing)
        options.text = text;
    if (fromJobsThread)
        options.cancelledAtStartOf = phase;
    const Export running = startExport(pool, blocks, path, options);
    const auto finished = [&] { return running.finished->load(); };
    switch (phase) {
    case Phase::layout:
        processEventsUntil([&] { return running.done->load() > 0.1 || finished(); });
        break;
    case Phase::pictures:
        processEventsUntil([&] { return running.images->asked.load() || finished(); });
        processEventsUntil([&] { return running.phase->load() == Phase::pictures || finished(); });
        break;
    case Phase::painting:
        processEventsUntil([&] { return running.done->load() > 0.55 || finished(); });
        break;
    case Phase::parsing: {
        processEventsUntil([&] { return running.phase->load() == Phase::parsing || finished(); });
        QElapsedTimer parsing;
        parsing.start();
        processEventsUntil([&] { return parsing.elapsed() >= 50 || finished(); });
        break;
    }
    case Phase::pagination:
    case Phase::closing:
        processEventsUntil([&] { return running.cancelledAt->load() >= 0 || finished(); });
        break;
    }
    Latency latency;
    latency.cancelledIn = running.phase->load();
    if (!fromJobsThread) {
        running.cancelledAt->store(now());
        running.job->cancel();
    }
    const qint64 cancelledAt = running.cancelledAt->load();
    const auto since = [cancelledAt](qint64 moment) { return double(moment - cancelledAt) / 1e6; };
    auto nextStarted = std::make_shared<std::atomic<qint64>>(-1);
    pool.start([nextStarted] { nextStarted->store(now()); });
    processEventsUntil(finished);
    latency.returned = since(now());
    processEventsUntil([&] { return nextStarted->load() >= 0; });
    latency.nextStarted = since(nextStarted->load());
    pool.waitForDone();
    DocumentModelDisposal::waitForDone();
    latency.freed = since(now());
    latency.fileLeft = QFile::exists(path);
    QFile::remove(path);
    return latency;
}

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments();
    QApplication application(argc, argv);
    Localization::install(&application, QLocale(QLocale::English));
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const QString text = QString::fromUtf8(specificationDocument(qsizetype(4) << 20));
    const QList<BlockNode> blocks = MarkdownParser::parse(text);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.pdf"));

    phaseDurations(text, path);
    std::printf("4 MB document exported as PDF, cancelled (median of %d runs, ms; target <= %.0f)\n", runs,
                targetMs);
    for (const Phase phase : phases) {
        std::vector<double> returned;
        std::vector<double> nextStarted;
        std::vector<double> freed;
        QStringList landed;
        bool fileLeft = false;
        // A cancel as the PDF is closed follows a whole painting: one run.
        const int phaseRuns = phase == Phase::closing ? 1 : runs;
        for (int run = 0; run < phaseRuns; ++run) {
            const Latency latency = cancelledLatency(text, blocks, phase, path);
            returned.push_back(latency.returned);
            nextStarted.push_back(latency.nextStarted);
            freed.push_back(latency.freed);
            if (latency.cancelledIn != phase)
                landed.append(QString::fromLatin1(nameOf(latency.cancelledIn)));
            fileLeft = fileLeft || latency.fileLeft;
        }
        const double slowest = std::max(median(returned), median(nextStarted));
        std::printf(
            "  %-13s job returns %7.1f  next job starts %7.1f  (target %.0f: %s)  freed %7.1f%s%s%s\n",
            nameOf(phase), median(returned), median(nextStarted), targetMs,
            slowest <= targetMs ? "met" : "MISSED", median(freed),
            landed.isEmpty() ? "" : "  cancel landed in: ", qPrintable(landed.join(u',')),
            fileLeft ? "  FILE LEFT BEHIND" : "");
    }
    return 0;
}
