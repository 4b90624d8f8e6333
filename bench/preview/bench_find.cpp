// Finds a common word ("the") in the 10 MB made-up specification, rendered and as source, and
// reports the time until the first match is highlighted on screen, until every match is
// counted, and the longest stall of the main thread meanwhile (a 1 ms timer measuring its own
// lateness). The rendered page is measured twice: just after its first screen showed, while the
// rest is still being parsed and laid out, and once it is laid out to the end.
// Run: bench_find [-platform offscreen] [runs]
#include "specificationdocument.h"
#include "stallmeter.h"

#include "markdown/document/processheap.h"
#include "markdown/layout/markdownview.h"
#include "preview/sourcetextfind.h"
#include "preview/sourcetextview.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>

using namespace kestrune;

namespace {

constexpr qint64 firstMatchTargetMs = 100;
constexpr qint64 fullCountTargetMs = 1000;
constexpr qint64 stallTargetMs = 50;

// Counts the paints of a viewport.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct Measurement
{
    qint64 firstMatchMs = std::numeric_limits<qint64>::max();
    qint64 fullCountMs = std::numeric_limits<qint64>::max();
    qint64 longestStallMs = 0;
    int total = 0;
};

void waitFor(const std::function<bool()> &condition)
{
    QElapsedTimer limit;
    limit.start();
    while (!condition() && limit.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Starts the find and times it: `status` tells where it stands.
Measurement time(QWidget *viewport, const std::function<void()> &find,
                 const std::function<FindStatus()> &status)
{
    PaintCounter paints;
    viewport->installEventFilter(&paints);
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    find();
    Measurement result;
    waitFor([&] { return status().current > 0; });
    const int before = paints.paints;
    waitFor([&] { return paints.paints > before; }); // the match highlighted on screen
    result.firstMatchMs = clock.elapsed();
    waitFor([&] { return status().complete; });
    result.fullCountMs = clock.elapsed();
    result.longestStallMs = stalls.longest();
    result.total = status().total;
    viewport->removeEventFilter(&paints);
    return result;
}

Measurement findInPage(const QString &text, bool laidOut)
{
    MarkdownView view;
    view.resize(1000, 900);
    view.setMarkdown(text);
    view.show();
    waitFor([&] { return view.isVisible(); });
    QCoreApplication::processEvents();
    if (laidOut)
        waitFor([&] { return view.isLayoutComplete(); });
    return time(
        view.viewport(), [&] { view.find(FindQuery{QStringLiteral("the")}); },
        [&] { return view.findStatus(); });
}

Measurement findInSource(const QString &text)
{
    SourceTextView view(text);
    view.resize(1000, 900);
    view.show();
    waitFor([&] { return view.isVisible(); });
    QCoreApplication::processEvents();
    SourceTextFind *find = view.textFind();
    return time(
        view.viewport(), [&] { find->find(FindQuery{QStringLiteral("the")}); },
        [&] { return find->status(); });
}

void report(const char *name, const QList<Measurement> &runs)
{
    Measurement best;
    for (const Measurement &run : runs) {
        best.firstMatchMs = std::min(best.firstMatchMs, run.firstMatchMs);
        best.fullCountMs = std::min(best.fullCountMs, run.fullCountMs);
        best.longestStallMs = std::max(best.longestStallMs, run.longestStallMs);
        best.total = run.total;
    }
    std::printf("%-22s %8d %14lld (≤ %lld) %14lld (≤ %lld) %16lld (≤ %lld)\n", name, best.total,
                qlonglong(best.firstMatchMs), qlonglong(firstMatchTargetMs), qlonglong(best.fullCountMs),
                qlonglong(fullCountTargetMs), qlonglong(best.longestStallMs), qlonglong(stallTargetMs));
}

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments(); // as the program runs
    QApplication app(argc, argv);
    QApplication::setPalette(ThemeController::paletteFor(Appearance::light));
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[argc - 1]).toInt()) : 3;
    const QString text = QString::fromUtf8(specificationDocument(10 * 1024 * 1024));

    std::printf("find \"the\" in 10 MB   %8s %22s %22s %24s\n", "matches", "first match (ms)",
                "full count (ms)", "longest stall (ms)");
    QList<Measurement> fresh, laidOut, source;
    for (int run = 0; run < runs; ++run) {
        fresh.append(findInPage(text, false));
        laidOut.append(findInPage(text, true));
        source.append(findInSource(text));
    }
    report("rendered, just opened", fresh);
    report("rendered, laid out", laidOut);
    report("source", source);
    return 0;
}
