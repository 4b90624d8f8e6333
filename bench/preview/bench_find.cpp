// Finds a common word ("the") in the 10 MB made-up specification, rendered and as source, and
// reports the time until the first match is highlighted on screen, until every match is
// counted, and the longest stall of the main thread meanwhile (a 1 ms timer measuring its own
// lateness). The rendered page is measured twice: just after its first screen showed, while the
// rest is still being parsed and laid out, and once it is laid out to the end; beside them, the
// stall the page just opened causes on its own, without a find.
// Run: bench_find [-platform offscreen] [runs]
#include "specificationdocument.h"
#include "stallmeter.h"

#include "markdown/document/processheap.h"
#include "markdown/layout/view/markdownview.h"
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

// Notes when a viewport is first painted with a current match: the highlighted match on screen.
class MatchPaint : public QObject
{
public:
    MatchPaint(const QElapsedTimer &clock, std::function<FindStatus()> status)
        : m_clock(clock), m_status(std::move(status))
    {}
    qint64 paintedMs = -1;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && paintedMs < 0 && m_status().current > 0)
            paintedMs = m_clock.elapsed();
        return false;
    }

private:
    const QElapsedTimer &m_clock;
    std::function<FindStatus()> m_status;
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
    QElapsedTimer clock;
    MatchPaint paint(clock, status);
    viewport->installEventFilter(&paint);
    StallMeter stalls;
    clock.start();
    find();
    Measurement result;
    waitFor([&] { return paint.paintedMs >= 0; });
    result.firstMatchMs = paint.paintedMs;
    waitFor([&] { return status().complete; });
    result.fullCountMs = clock.elapsed();
    result.longestStallMs = stalls.longest();
    result.total = status().total;
    viewport->removeEventFilter(&paint);
    return result;
}

// Shows the text in `view` and waits for its first screen.
void open(MarkdownView &view, const QString &text)
{
    view.resize(1000, 900);
    view.setMarkdown(text);
    view.show();
    waitFor([&] { return view.isVisible(); });
    QCoreApplication::processEvents();
}

Measurement findInPage(const QString &text, bool laidOut)
{
    MarkdownView view;
    open(view, text);
    if (laidOut)
        waitFor([&] { return view.isLayoutComplete(); });
    return time(
        view.viewport(), [&] { view.find(SearchPattern(QStringLiteral("the"))); },
        [&] { return view.findStatus(); });
}

// The longest stall of the same second after opening, without a find: what the page's own
// parsing and layout in the background cost, for comparison.
qint64 stallWithoutFind(const QString &text)
{
    MarkdownView view;
    open(view, text);
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    waitFor([&] { return clock.elapsed() >= 1000; });
    return stalls.longest();
}

Measurement findInSource(const QString &text)
{
    SourceTextView view(text);
    view.resize(1000, 900);
    view.show();
    waitFor([&] { return view.isVisible(); });
    QCoreApplication::processEvents();
    waitFor([&] { return view.isComplete(); });
    SourceTextFind *find = view.textFind();
    return time(
        view.viewport(), [&] { find->find(SearchPattern(QStringLiteral("the"))); },
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
    qint64 baseline = 0;
    for (int run = 0; run < runs; ++run) {
        baseline = std::max(baseline, stallWithoutFind(text));
        fresh.append(findInPage(text, false));
        laidOut.append(findInPage(text, true));
        source.append(findInSource(text));
    }
    report("rendered, just opened", fresh);
    report("rendered, laid out", laidOut);
    report("source", source);
    std::printf("without a find, the first second after opening stalls up to %lld ms\n", qlonglong(baseline));
    return 0;
}
