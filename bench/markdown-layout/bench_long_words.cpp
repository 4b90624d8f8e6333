// Words without a break opportunity: a paragraph of one 800 KB word, one of a 10 MB word, one
// whose style changes at every other letter, and a table with a 1 MB word in a cell, parsed,
// built and laid out at a window's width, then laid out again narrower as after a resize. Prints
// the median wall time of each in milliseconds beside the time it must stay within; layout is
// linear in the length of the word.
//     QT_QPA_PLATFORM=offscreen bench/markdown-layout/bench_long_words [RUNS]
#include "benchtiming.h"

#include "markdown/document/markdownparser.h"
#include "markdown/document/processheap.h"
#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/nodes/layoutnodedisposal_p.h"
#include "markdown/layout/text/longwordsplitter_p.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace kestrune;

namespace {

constexpr qreal width = 800;

struct Case
{
    const char *name;
    QString markdown;
    double limitMs;
};

void layOut(const QString &markdown, double &layoutMs, double &relayoutMs)
{
    auto page = std::make_unique<LayoutDocument>();
    layoutMs = timeMs([&] {
        MarkdownEnvironment environment;
        page->setEnvironment(environment);
        page->setWidth(width);
        page->setBlocks(MarkdownParser::parse(markdown));
        page->layoutAll();
    });
    relayoutMs = timeMs([&] {
        page->setWidth(width - 80);
        page->layoutAll();
    });
    page.reset();
    while (LayoutNodeDisposal::pending() > 0)
        QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments();
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    const QString word = QStringLiteral("x");
    const Case cases[] = {
        {"800 KB word", word.repeated(800 * 1000), 500},
        {"10 MB word", word.repeated(10 * 1000 * 1000), 2000},
        {"word restyled 50,000 times", QStringLiteral("a*").repeated(50000), 500},
        {"1 MB word in a table cell",
         QStringLiteral("| a | b |\n|---|---|\n| %1 | b |\n").arg(word.repeated(1000 * 1000)), 1000},
    };
    std::printf("width %.0f, breaks every %d characters at most, median of %d runs (ms)\n", width,
                LongWordSplitter::longestRun, runs);
    bool within = true;
    for (const Case &c : cases) {
        std::vector<double> layout, relayout;
        for (int run = 0; run < runs; ++run) {
            double first = 0, second = 0;
            layOut(c.markdown, first, second);
            layout.push_back(first);
            relayout.push_back(second);
        }
        const bool ok = median(layout) <= c.limitMs;
        within = within && ok;
        std::printf("  %-26s parse+build+layout %8.1f (at most %.0f: %s)  relayout %8.1f\n", c.name,
                    median(layout), c.limitMs, ok ? "ok" : "TOO SLOW", median(relayout));
    }
    return within ? 0 : 1;
}
