// The layout engine on generated 1 MB and 10 MB specification-like documents (the parser
// benchmark's documents), beside QTextDocument::setMarkdown plus a full layout of the 1 MB one
// at the same width, measured in the same run. Prints medians in milliseconds, the resident
// memory of a view showing each document (measured in a fresh process each, with and without the
// program's heap settings), the longest stall of the window while a view scrolled to the middle
// of the 10 MB one is dragged 200 px narrower and back, the memory a Select All and Copy of the
// 10 MB page adds at its peak, and last the time to copy the whole 1 MB page. A second argument
// "1mb" stops after the 1 MB figures, "engine" leaves Qt out; "system-heap" as the last one
// runs without the program's heap settings; "copy-peak" as the only one prints the copy's peak
// alone; "resize-stall N" as the first measures the 10 MB page's resize stall alone, N times;
// "trace" anywhere lists the events that held the window longest while it was resized.
#include "benchtiming.h"
#include "eventtrace.h"
#include "processmemory.h"
#include "resizestall.h"
#include "specificationdocument.h"

#include "markdown/document/documentmodeldisposal.h"
#include "markdown/document/markdownparser.h"
#include "markdown/document/processheap.h"
#include "markdown/layout/document/copiedtextmimedata.h"
#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/nodes/layoutnodedisposal_p.h"
#include "markdown/layout/view/markdownview.h"
#include "preview/previewdocumenttheme.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace kestrune;

namespace {

constexpr qreal width = 800;
// What copying a 10 MB page may add at its peak: the copy in plain text and Markdown (UTF-16),
// the Markdown once more as UTF-8 for the clipboard, and the texts of one block.
constexpr long copyPeakTargetMiB = 96;

QString document(qsizetype bytes)
{
    return QString::fromUtf8(specificationDocument(bytes));
}

double milliseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Processor time of this process, which a busy machine disturbs less than wall time.
double cpuMilliseconds()
{
    return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

// The part of it spent in the program itself rather than in the kernel (which
// is mostly handing out fresh pages).
double userMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec) * 1000.0 + double(usage.ru_utime.tv_usec) / 1000.0;
}

struct EngineTimes
{
    double parse = 0;
    double layout = 0; // build and lay out
    double relayout = 0;
    double relayoutWider = 0;
    double cpuTotal = 0; // parse, build and lay out
    double userTotal = 0;
    double cpuRelayout = 0;
    double teardown = 0; // dropping the page and the model, as switching documents does
    double disposal = 0; // until the page's nodes are freed between events
};

EngineTimes runEngine(const QString &text, const Theme &theme, bool relayout)
{
    EngineTimes times;
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuMilliseconds();
    const double userStart = userMilliseconds();
    auto blocks = std::make_unique<QList<BlockNode>>(MarkdownParser::parse(text));
    times.parse = milliseconds(timer);

    timer.restart();
    auto owner = std::make_unique<LayoutDocument>();
    LayoutDocument &page = *owner;
    MarkdownEnvironment environment;
    environment.theme = theme;
    page.setEnvironment(environment);
    page.setWidth(width);
    page.setBlocks(*blocks);
    page.layoutAll();
    times.layout = milliseconds(timer);
    times.cpuTotal = cpuMilliseconds() - cpuStart;
    times.userTotal = userMilliseconds() - userStart;

    if (relayout) {
        timer.restart();
        const double cpuRelayoutStart = cpuMilliseconds();
        page.setWidth(width - 80);
        page.layoutAll();
        times.relayout = milliseconds(timer);
        times.cpuRelayout = cpuMilliseconds() - cpuRelayoutStart;
        timer.restart();
        page.setWidth(width);
        page.layoutAll();
        times.relayoutWider = milliseconds(timer);
    }
    timer.restart();
    owner.reset();
    DocumentModelDisposal::dispose(std::move(*blocks)); // as the views hand theirs over
    blocks.reset();
    times.teardown = milliseconds(timer);
    while (LayoutNodeDisposal::pending() > 0)
        QCoreApplication::processEvents();
    DocumentModelDisposal::waitForDone();
    times.disposal = milliseconds(timer);
    return times;
}

// What a view showing the document holds once it is laid out to the end, in a process of its
// own ("--resident MEGABYTES [system-heap]"): printed as "resident KIB SHARE_KIB", the share
// being what the page added to the process (the text handed over, its model and its nodes).
int measureResident(int megabytes, const Theme &theme)
{
    const QString text = document(qsizetype(megabytes) * 1024 * 1024);
    MarkdownView view;
    view.setTheme(theme);
    view.resize(int(width), 1000);
    view.show();
    QApplication::processEvents();
    const long before = residentKiB();
    view.setMarkdown(text);
    while (!view.isLayoutComplete() || LayoutNodeDisposal::pending() > 0)
        QApplication::processEvents();
    view.viewport()->repaint();
    const long after = residentKiB();
    std::printf("resident %ld %ld\n", after, after - before);
    std::fflush(stdout);
    // With KESTRUNE_BENCH_KEEP_PAGE set the process ends without freeing anything, so that a heap
    // profiler reports all the page holds as never freed, by allocation site.
    if (qEnvironmentVariableIsSet("KESTRUNE_BENCH_KEEP_PAGE"))
        _exit(0);
    return 0;
}

struct Resident
{
    long total = -1; // KiB
    long share = -1;
};

Resident residentInFreshProcess(int megabytes, bool systemHeap)
{
    QProcess process;
    QStringList arguments{QStringLiteral("--resident"), QString::number(megabytes)};
    if (systemHeap)
        arguments << QStringLiteral("system-heap");
    process.start(QCoreApplication::applicationFilePath(), arguments);
    process.waitForFinished(-1);
    const QList<QByteArray> fields = process.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 3 || fields.first() != "resident")
        return {};
    return {fields.at(1).toLong(), fields.at(2).toLong()};
}

// A target of 0 is none.
void printResident(int megabytes, long totalTargetMiB, long shareTargetMiB)
{
    const auto target = [](long mebibytes) {
        return mebibytes > 0 ? QByteArray(" (target <= ") + QByteArray::number(qlonglong(mebibytes)) + " MiB)"
                             : QByteArray();
    };
    for (const bool systemHeap : {false, true}) {
        const Resident resident = residentInFreshProcess(megabytes, systemHeap);
        std::printf("  %d MB document shown to the end, %s: resident %ld MiB%s, the page's share %ld MiB%s\n",
                    megabytes, systemHeap ? "C library's heap settings" : "program's heap settings",
                    resident.total / 1024, target(totalTargetMiB).constData(), resident.share / 1024,
                    target(shareTargetMiB).constData());
    }
}

// What copying the whole page of a view showing the document adds to the process at its peak, in
// a process of its own ("--copy-peak MEGABYTES [rebuilt]"): printed as "copy KIB". With
// "rebuilt", every parked block is built again before the copy, as copies did before they read
// parked blocks from their blocks, for the figure to compare with.
int measureCopyPeak(int megabytes, bool rebuilt, const Theme &theme)
{
    // The page as a view holding a screen near its top keeps it: the rest parked.
    LayoutDocument page;
    MarkdownEnvironment environment;
    environment.theme = theme;
    page.setEnvironment(environment);
    page.setWidth(width);
    page.setResidentRange(-2000, 3000);
    page.setBlocks(MarkdownParser::parse(document(qsizetype(megabytes) * 1024 * 1024)));
    while (!page.layoutUntil(LayoutNode::unbounded, 8) || LayoutNodeDisposal::pending() > 0)
        QApplication::processEvents();
    const LayoutSelection all = page.allText();
    // What was freed goes back to the system, so that the copy cannot reuse it unseen.
    malloc_trim(0);
    resetPeakResident();
    const long before = residentKiB();
    if (rebuilt) {
        for (int index = 0; index < page.textCount(); ++index)
            page.textNode(index);
    }
    // As MarkdownView::copy puts it on the clipboard.
    QGuiApplication::clipboard()->setMimeData(copiedTextMimeData(page.copiedText(all)));
    std::printf("copy %ld\n", peakResidentKiB() - before);
    std::fflush(stdout);
    _exit(0); // what the page holds is freed with the process
}

long copyPeakInFreshProcess(int megabytes, bool rebuilt)
{
    QProcess process;
    QStringList arguments{QStringLiteral("--copy-peak"), QString::number(megabytes)};
    if (rebuilt)
        arguments << QStringLiteral("rebuilt");
    process.start(QCoreApplication::applicationFilePath(), arguments);
    process.waitForFinished(-1);
    const QList<QByteArray> fields = process.readAllStandardOutput().trimmed().split(' ');
    return fields.size() == 2 && fields.first() == "copy" ? fields.at(1).toLong() : -1;
}

void printCopyPeak(int megabytes, long targetMiB)
{
    const long rebuilt = copyPeakInFreshProcess(megabytes, true);
    const long streamed = copyPeakInFreshProcess(megabytes, false);
    std::printf("  %d MB document, Select All and Copy: peak %ld MiB more (target <= %ld MiB); "
                "%ld MiB with every parked block built again first, as before\n",
                megabytes, streamed / 1024, targetMiB, rebuilt / 1024);
}

} // namespace

// Copying the whole page: the reader's text alone (what screen readers read) and with its
// Markdown, every paragraph written from its inlines. Measured last, so that what it frees does
// not count in the resident memory figures above.
void measureCopy(const QString &text, const Theme &theme, int runs)
{
    LayoutDocument page;
    MarkdownEnvironment environment;
    environment.theme = theme;
    page.setEnvironment(environment);
    page.setWidth(width);
    page.setBlocks(MarkdownParser::parse(text));
    page.layoutAll();
    std::vector<double> plain, both;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QString copiedPlain = page.text(page.allText());
        plain.push_back(milliseconds(timer));
        timer.restart();
        const CopiedText copied = page.copiedText(page.allText());
        both.push_back(milliseconds(timer));
    }
    std::printf("1 MB document, copy all: plain text %.1f ms, plain text and Markdown %.1f ms\n",
                median(plain), median(both));
}

// Shows the 10 MB document in a view, prints how long its first screen took and the rest, then
// scrolls to the middle and drags the view 200 px narrower and back, printing the longest stall
// of the window in wall time and in the processor time its thread spent. With a trace, the
// events that held the thread longest meanwhile follow.
void measureResizeStall(const QString &tenMegabytes, const Theme &theme, EventTraceApplication *trace)
{
    MarkdownView view;
    view.setTheme(theme);
    view.resize(int(width), 1000);
    view.show();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    view.setMarkdown(tenMegabytes);
    view.viewport()->repaint();
    const double firstScreen = milliseconds(timer);
    std::printf("10 MB document: first screen painted %.1f ms after the text was handed over\n", firstScreen);
    timer.restart();
    while (!view.isLayoutComplete())
        QApplication::processEvents();
    std::printf("  the rest parsed and measured in the background in %.1f ms\n", milliseconds(timer));
    QScrollBar *bar = view.verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    QApplication::processEvents();
    if (trace)
        trace->setTracing(true);
    const ResizeStall stall = resizeStall([&](int to) { view.resize(to, view.height()); }, view.width(), 200,
                                          [&] { return view.isLayoutComplete(); });
    std::printf("  scrolled to the middle, dragged 200 px narrower and back: longest stall %lld ms "
                "(target <= 16), %.1f ms of the thread's processor time; the longest stall held %.1f ms "
                "on the processor and %.1f ms waiting for one\n",
                static_cast<long long>(stall.wallMs), stall.processorMs, stall.stallProcessorMs,
                stall.stallWaitMs);
    if (trace) {
        trace->setTracing(false);
        for (const EventTraceApplication::Event &event : trace->takeLongest(6))
            std::printf("    %6.2f ms processor, %6.2f ms wall: %s\n", event.cpuMs, event.wallMs,
                        qUtf8Printable(event.what));
    }
    std::fflush(stdout);
}

int main(int argc, char **argv)
{
    const bool residentOnly = argc > 2 && QByteArray(argv[1]) == "--resident";
    // "system-heap" anywhere leaves the C library's heap settings as they are.
    if (std::none_of(argv + 1, argv + argc,
                     [](const char *argument) { return qstrcmp(argument, "system-heap") == 0; }))
        ProcessHeap::configureForDocuments(); // as the program runs
    EventTraceApplication application(argc, argv);
    // "trace" anywhere lists the events behind the resize stall.
    EventTraceApplication *const trace =
        std::any_of(argv + 1, argv + argc,
                    [](const char *argument) { return qstrcmp(argument, "trace") == 0; })
            ? &application
            : nullptr;
    if (residentOnly)
        return measureResident(std::max(1, atoi(argv[2])), PreviewDocumentTheme::make());
    if (argc > 2 && QByteArray(argv[1]) == "--copy-peak")
        return measureCopyPeak(std::max(1, atoi(argv[2])), argc > 3 && QByteArray(argv[3]) == "rebuilt",
                               PreviewDocumentTheme::make());
    // "copy-peak" alone prints the copy's peak memory and stops.
    if (argc > 1 && QByteArray(argv[1]) == "copy-peak") {
        printCopyPeak(10, copyPeakTargetMiB);
        return 0;
    }
    // "resize-stall N" measures only the 10 MB page's resize stall, N times.
    if (argc > 1 && QByteArray(argv[1]) == "resize-stall") {
        const QString tenMegabytes = document(10 * 1024 * 1024);
        for (int run = 0; run < (argc > 2 ? std::max(1, atoi(argv[2])) : 3); ++run)
            measureResizeStall(tenMegabytes, PreviewDocumentTheme::make(), trace);
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    // "engine" leaves Qt's importer out (for profiling the engine alone).
    const bool engineOnly = argc > 2 && QByteArray(argv[2]) == "engine";
    const Theme theme = PreviewDocumentTheme::make();

    const QString oneMegabyte = document(1024 * 1024);

    std::vector<double> qtParse, qtLayout, qtTotal, qtCpu, parse, layout, total, relayout, relayoutWider,
        cpuTotal, userTotal, cpuRelayout;
    for (int run = 0; run < runs; ++run) {
        if (!engineOnly) {
            QElapsedTimer timer;
            timer.start();
            const double cpuStart = cpuMilliseconds();
            QTextDocument qtDocument;
            qtDocument.setMarkdown(oneMegabyte);
            qtParse.push_back(milliseconds(timer));
            QElapsedTimer layoutTimer;
            layoutTimer.start();
            qtDocument.setTextWidth(width);
            const QSizeF size = qtDocument.documentLayout()->documentSize();
            Q_UNUSED(size);
            qtLayout.push_back(milliseconds(layoutTimer));
            qtTotal.push_back(milliseconds(timer));
            qtCpu.push_back(cpuMilliseconds() - cpuStart);
        }
        const EngineTimes times = runEngine(oneMegabyte, theme, true);
        parse.push_back(times.parse);
        layout.push_back(times.layout);
        total.push_back(times.parse + times.layout);
        relayout.push_back(times.relayout);
        relayoutWider.push_back(times.relayoutWider);
        cpuTotal.push_back(times.cpuTotal);
        userTotal.push_back(times.userTotal);
        cpuRelayout.push_back(times.cpuRelayout);
    }

    std::printf("1 MB document, width %.0f, median of %d runs (ms)\n", width, runs);
    if (!engineOnly)
        std::printf("  QTextDocument::setMarkdown %8.1f  layout %8.1f  total %8.1f\n", median(qtParse),
                    median(qtLayout), median(qtTotal));
    else
        qtTotal.push_back(1), qtCpu.push_back(1);
    std::printf("  engine parse               %8.1f  build+layout %4.1f  total %8.1f  (%.2f of Qt)\n",
                median(parse), median(layout), median(total), median(total) / median(qtTotal));
    std::printf("  engine relayout after a resize      %8.1f narrower (%.0f), %.1f wider again\n",
                median(relayout), width - 80, median(relayoutWider));
    std::printf("  processor time: Qt %.1f, engine %.1f (%.2f of Qt), relayout %.1f\n", median(qtCpu),
                median(cpuTotal), median(cpuTotal) / median(qtCpu), median(cpuRelayout));
    printResident(1, 0, 40);

    if (argc > 2 && QByteArray(argv[2]) == "1mb") {
        measureCopy(oneMegabyte, theme, runs);
        return 0;
    }

    const QString tenMegabytes = document(10 * 1024 * 1024);
    // As many runs as of the 1 MB document, so that both figures are medians of
    // runs made alike.
    std::vector<double> bigTotal, bigCpu, bigUser;
    for (int run = 0; run < runs; ++run) {
        const EngineTimes times = runEngine(tenMegabytes, theme, false);
        bigTotal.push_back(times.parse + times.layout);
        bigCpu.push_back(times.cpuTotal);
        bigUser.push_back(times.userTotal);
        std::printf(
            "  10 MB run: parse %.1f  build+layout %.1f  processor time %.1f (%.1f outside the kernel)"
            "  teardown on the window's thread %.1f (target <= 16; nodes and model freed within %.1f)\n",
            times.parse, times.layout, times.cpuTotal, times.userTotal, times.teardown, times.disposal);
    }
    std::printf(
        "10 MB document: total %.1f ms (%.2f × the 1 MB figure; processor time %.2f ×, outside the kernel "
        "%.2f ×)\n",
        median(bigTotal), median(bigTotal) / median(total), median(bigCpu) / median(cpuTotal),
        median(bigUser) / median(userTotal));

    measureResizeStall(tenMegabytes, theme, trace);
    printResident(10, 250, 0);
    printCopyPeak(10, copyPeakTargetMiB);
    measureCopy(oneMegabyte, theme, runs);
    return 0;
}
