// Documents and files a hostile repository may hold, opened as the program opens them: each in a
// preview pane (reporting the time until its first screen is painted and the longest stall of
// the window's thread meanwhile, then the longest stall while the pane is dragged 200 px
// narrower and back and the page is laid out again, in wall time and in the processor time the
// window's thread spent, which a machine busy with other work does not inflate), a 1 GB task list counted by
// the analysis (time and the memory it takes beyond what the process held), and a page of 16 large pictures
// from a server on 127.0.0.1 scrolled from top to bottom (the memory their decoded images take). Each figure
// is printed beside its bound.
// With --trace, the events that held the window's thread longest while it was resized follow each.
//     QT_QPA_PLATFORM=offscreen bench/hostile/bench_hostile [--trace] [NAME PART]
#include "eventloopwait.h"
#include "eventtrace.h"
#include "processmemory.h"
#include "resizestall.h"
#include "stallmeter.h"
#include "testhttpserver.h"

#include "markdown/document/processheap.h"
#include "markdown/layout/view/markdownview.h"
#include "preview/largefilesourceview.h"
#include "preview/markdownpreviewview.h"
#include "preview/sourcetextview.h"
#include "project/changeanalysis.h"
#include "project/modelenvironment.h"
#include "ui/themecontroller.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QNetworkProxy>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace kestrune;

namespace {

struct Opened
{
    qint64 shownMs = -1; // until the content state was painted
    qint64 longestStallMs = 0;
    ResizeStall resize;
    long peakKiB = 0;                                        // before the resize
    std::vector<EventTraceApplication::Event> longestEvents; // while resized, with a trace
};

// Opens the file in a pane and waits until its content (or error) has been painted. With a
// trace, lists the events that held the window's thread longest while the pane was resized.
Opened open(const QString &path, EventTraceApplication &application, bool trace)
{
    QWidget window;
    window.resize(1000, 900);
    window.show();
    QEventLoop loop;
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    MarkdownPreviewView pane(QUrl::fromLocalFile(path), std::nullopt, &window);
    pane.resize(window.size());
    Opened result;
    QObject::connect(&pane, &MarkdownPreviewView::stateChanged, &pane,
                     [&](const MarkdownPreviewState &state) {
                         if (state.kind() == MarkdownPreviewState::Kind::loading)
                             return;
                         // Shown once the event loop is back after the state's first paint.
                         QTimer::singleShot(0, &loop, [&] {
                             pane.repaint();
                             result.shownMs = clock.elapsed();
                             loop.quit();
                         });
                     });
    pane.show();
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    // The stall that matters is the window's while the document loads and first shows.
    result.longestStallMs = stalls.longest();
    result.peakKiB = peakResidentKiB();
    // Laid out: the rendered page measured to its end, the source taken in whole.
    const auto settled = [&pane] {
        if (const auto *source = qobject_cast<const LargeFileSourceView *>(pane.contentView()))
            return source->source()->isComplete();
        const auto *page = qobject_cast<const MarkdownView *>(pane.contentView());
        return !page || page->isLayoutComplete();
    };
    QElapsedTimer rest;
    rest.start();
    runUntil([&] { return settled() || rest.elapsed() >= 120000; });
    application.setTracing(trace);
    result.resize = resizeStall([&](int width) { pane.resize(width, pane.height()); }, pane.width(), 200,
                                settled, 120000);
    application.setTracing(false);
    result.longestEvents = application.takeLongest(6);
    return result;
}

// Runs the event loop until `done` holds or `timeoutMs` pass.
template <typename Condition> bool waitFor(Condition done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

// 16 pictures of 5600 x 5600 pixels, a few hundred kilobytes each as PNG, four gigabytes
// decoded at full size. Each is decoded at most 4096 pixels a side and the page keeps 256 MB
// of them: scrolled from top to bottom, the memory stays within a bound, whatever the count.
void largePictures(const QString &folder)
{
    QImage picture(5600, 5600, QImage::Format_RGB32);
    picture.fill(QColor(0x40, 0x80, 0xc0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    picture = QImage();

    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    TestHttpServer server;
    if (!server.listen())
        return;
    QByteArray markdown;
    constexpr int count = 16;
    for (int index = 0; index < count; ++index) {
        const QString path = QStringLiteral("/%1.png").arg(index);
        server.setResponse(path, {200, png, {"Content-Type: image/png"}, 0});
        markdown += "![picture " + QByteArray::number(index) + "](" + server.url(path).toEncoded() +
                    ")\n\nParagraph " + QByteArray::number(index) + ".\n\n";
    }
    const QString path = folder + QStringLiteral("/pictures.md");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(markdown);
    file.close();

    resetPeakResident();
    const long before = residentKiB();
    QElapsedTimer clock;
    clock.start();
    QWidget window;
    window.resize(1000, 900);
    window.show();
    MarkdownPreviewView pane(QUrl::fromLocalFile(path), std::nullopt, &window);
    pane.resize(window.size());
    pane.show();
    waitFor([&] { return pane.state().kind() == MarkdownPreviewState::Kind::content; }, 10000);
    auto *page = qobject_cast<QAbstractScrollArea *>(pane.contentView());
    int requested = 0;
    if (page) {
        // A screen at a time, waiting at each for the pictures asked for to arrive, until every
        // one was asked for and the bottom is reached.
        QScrollBar *bar = page->verticalScrollBar();
        const auto asked = [&] {
            int total = 0;
            for (int index = 0; index < count; ++index)
                total += server.requestCount(QStringLiteral("/%1.png").arg(index));
            return total;
        };
        for (int step = 0; step < 400 && clock.elapsed() < 120000; ++step) {
            const int height = bar->maximum();
            waitFor([&] { return asked() > requested || bar->maximum() > height; }, 3000);
            requested = asked();
            if (requested >= count && bar->value() >= bar->maximum())
                break;
            bar->setValue(bar->value() + bar->pageStep());
        }
        waitFor([] { return false; }, 2000); // the last ones decoded and painted
    }
    std::printf("16 pictures of 5600 x 5600 px, scrolled:  %6lld ms, %d downloads, peak +%lld MiB (bound 640 "
                "MiB, 4 GiB decoded at full size)\n",
                static_cast<long long>(clock.elapsed()), requested,
                static_cast<long long>((peakResidentKiB() - before) / 1024));
}

// A resize is a frame: laid out again longer than that, the window misses one.
constexpr qint64 resizeStallBoundMs = 16;

struct Document
{
    const char *name;
    QByteArray text;
    qint64 stallBoundMs;
};

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments(); // as the program runs
    EventTraceApplication app(argc, argv);
    bool trace = false;
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--trace") == 0) {
            trace = true;
            std::copy(argv + index + 1, argv + argc, argv + index);
            --argc;
            break;
        }
    }
    QApplication::setPalette(ThemeController::paletteFor(Appearance::light));
    QTemporaryDir dir;

    // The analysis streams a task list: 1 GB of tasks takes a block and a line, not the file.
    if (argc < 2) {
        const QString changeFolder = dir.filePath(QStringLiteral("change"));
        QDir().mkpath(changeFolder);
        QFile tasks(changeFolder + QStringLiteral("/tasks.md"));
        if (!tasks.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray chunk =
            QByteArray("- [x] done\n- [ ] open task with a longer text\n").repeated(20000);
        qint64 written = 0;
        while (written < (qint64(1) << 30))
            written += tasks.write(chunk);
        tasks.close();
        const qint64 pairs = written / (chunk.size() / 20000);
        resetPeakResident();
        const long before = residentKiB();
        TaskCount count;
        QElapsedTimer clock;
        clock.start();
        count = countTasks(QUrl::fromLocalFile(changeFolder), ModelEnvironment::system());
        const qint64 ms = clock.elapsed();
        const long extra = (peakResidentKiB() - before) / 1024;
        std::printf("1 GB tasks.md counted: %lld ms, %lld MiB beyond the process (bound 64 MiB), %s\n",
                    static_cast<long long>(ms), static_cast<long long>(extra),
                    count.total == 2 * pairs && count.done == pairs ? "count correct" : "COUNT WRONG");
        QFile::remove(tasks.fileName());
    }

    if (argc < 2 || QString::fromLocal8Bit(argv[argc - 1]).contains(QLatin1String("pictures")))
        largePictures(dir.path());

    const QList<Document> documents = {
        {"'![[]()' x 50,000 (parser quadratic)", QByteArray("![[]()").repeated(50000), 50},
        {"'>' x 50,000 then 'a*' x 50,000", QByteArray(50000, '>') + QByteArray("a*").repeated(50000), 50},
        {"table of 10,000 columns",
         QByteArray("|a").repeated(10000) + "|\n" + QByteArray("|-").repeated(10000) + "|\n" +
             QByteArray("|b").repeated(10000) + "|\n",
         50},
        {"19 MB task list", QByteArray("- [ ] a task of a long task list\n").repeated((19 << 20) / 33), 50},
        {"800 KB word", QByteArray(800000, 'x'), 50},
    };
    // An argument picks the documents whose name contains it (and skips the task list).
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[argc - 1]) : QString();
    for (const Document &document : documents) {
        if (!only.isEmpty() && !QString::fromUtf8(document.name).contains(only))
            continue;
        const QString path = dir.filePath(QStringLiteral("document.md"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        file.write(document.text);
        file.close();
        resetPeakResident();
        const long before = residentKiB();
        const Opened opened = open(path, app, trace);
        std::printf(
            "%-40s shown after %6lld ms, longest stall of the window %5lld ms (bound %lld ms), peak "
            "+%lld MiB, resize stall %5lld ms (bound %lld ms; %4.1f ms of the thread's processor time)\n",
            document.name, static_cast<long long>(opened.shownMs),
            static_cast<long long>(opened.longestStallMs), static_cast<long long>(document.stallBoundMs),
            static_cast<long long>((opened.peakKiB - before) / 1024),
            static_cast<long long>(opened.resize.wallMs), static_cast<long long>(resizeStallBoundMs),
            opened.resize.processorMs);
        for (const EventTraceApplication::Event &event : opened.longestEvents)
            std::printf("    %6.2f ms processor, %6.2f ms wall: %s\n", event.cpuMs, event.wallMs,
                        qUtf8Printable(event.what));
        QFile::remove(path);
    }
    return 0;
}
