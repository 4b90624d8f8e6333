// Opens a code-heavy document of about 1 MB (fenced TypeScript, JavaScript, JSON and shell
// between paragraphs) in a preview pane, once with its fences naming their languages and once
// with bare fences (the same text, drawn plain), and reports the time to the first painted
// screen, how much longer the coloured one takes, and the longest stall of the main thread while
// the rest of the document is laid out, beside the targets.
// Run: bench_code_highlighting [-platform offscreen] [runs]
#include "firstpaint.h"
#include "stallmeter.h"

#include "markdown/document/processheap.h"
#include "markdown/layout/view/markdownview.h"
#include "preview/markdownpreviewview.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <optional>

using namespace kestrune;

namespace {

constexpr double slowestAllowedRatio = 1.2;
constexpr qint64 longestAllowedStallMs = 16; // a frame at 60 Hz

// About `bytes` of Markdown; `seed` makes every run's code new to the highlighter's cache.
QByteArray codeHeavyDocument(qsizetype bytes, int seed, bool namesLanguages)
{
    const auto fence = [namesLanguages](const char *language) {
        return QByteArray("```") + (namesLanguages ? language : "") + "\n";
    };
    QByteArray text = "# Service notes\n\n";
    for (int n = 1; text.size() < bytes; ++n) {
        const QByteArray id = QByteArray::number(seed) + "_" + QByteArray::number(n);
        if (n % 10 == 1)
            text += "## Part " + id + "\n\n";
        text += "The client SHALL retry a failed request " + id +
                " at most three times, waiting a little longer each time, and MUST keep the order "
                "of the requests it sends. See `retry` below.\n\n";
        switch (n % 4) {
        case 0:
            text += fence("ts") + "interface Request" + id + " {\n  id: number;\n  body?: string;\n}\n\n" +
                    "export async function send" + id + "(request: Request" + id +
                    "): Promise<boolean> {\n  // Three tries, then give up.\n"
                    "  for (let attempt = 0; attempt < 3; attempt++) {\n"
                    "    if (await post(`/api/${request.id}`, request.body ?? \"\")) return true;\n"
                    "  }\n  return false;\n}\n```\n\n";
            break;
        case 1:
            text += fence("js") + "const retry" + id +
                    " = (task, times = 3) =>\n"
                    "  task().catch((error) => (times > 1 ? retry" +
                    id + "(task, times - 1) : Promise.reject(error)));\nmodule.exports = { retry" + id +
                    " }; /* done */\n```\n\n";
            break;
        case 2:
            text += fence("json") + "{\n  \"name\": \"request-" + id +
                    "\",\n  \"retries\": 3,\n  \"backoff\": [100, 200, 400],\n  \"enabled\": true,\n"
                    "  \"target\": null\n}\n```\n\n";
            break;
        default:
            text += fence("bash") +
                    "#!/usr/bin/env bash\nset -euo pipefail\nfor i in 1 2 3; do\n"
                    "  curl --fail \"https://example.org/api/" +
                    id + "\" && break # stop on success\n  sleep $((i * 2))\ndone\n```\n\n";
            break;
        }
    }
    return text;
}

struct Measurement
{
    qint64 firstScreenMs = 0;
    qint64 restStallMs = 0; // while the rest is laid out, after the first screen
};

Measurement open(const QString &path)
{
    QWidget window;
    window.resize(1000, 900);
    window.show();
    QEventLoop loop;
    FirstPaint watcher(loop);
    QElapsedTimer clock;
    clock.start();
    MarkdownPreviewView pane(QUrl::fromLocalFile(path), std::nullopt, &window);
    pane.resize(window.size());
    QObject::connect(&pane, &MarkdownPreviewView::stateChanged, &pane,
                     [&](const MarkdownPreviewState &state) {
                         if (state.isContent())
                             if (auto *view = qobject_cast<MarkdownView *>(pane.contentView()))
                                 view->viewport()->installEventFilter(&watcher);
                     });
    pane.show();
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    Measurement result{clock.elapsed(), 0};
    std::optional<StallMeter> stalls;
    stalls.emplace();
    if (auto *document = qobject_cast<MarkdownView *>(pane.contentView())) {
        QEventLoop rest;
        QObject::connect(document, &MarkdownView::layoutCompleted, &rest, &QEventLoop::quit);
        QTimer::singleShot(120000, &rest, &QEventLoop::quit);
        if (!document->isLayoutComplete())
            rest.exec();
    }
    result.restStallMs = stalls->longest();
    return result;
}

Measurement best(const QTemporaryDir &dir, bool namesLanguages, int runs, int firstSeed)
{
    Measurement result{std::numeric_limits<qint64>::max(), 0};
    for (int run = 0; run < runs; ++run) {
        const QString path = dir.filePath(QStringLiteral("code-%1.md").arg(firstSeed + run));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write(codeHeavyDocument(1024 * 1024, firstSeed + run, namesLanguages));
        file.close();
        const Measurement m = open(path);
        result.firstScreenMs = std::min(result.firstScreenMs, m.firstScreenMs);
        result.restStallMs = std::max(result.restStallMs, m.restStallMs);
    }
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments(); // as the program runs
    QApplication app(argc, argv);
    QApplication::setPalette(ThemeController::paletteFor(Appearance::light));
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[argc - 1]).toInt()) : 5;

    QTemporaryDir dir;
    best(dir, true, 1, 9000); // warms up the pane, the fonts, the pool and the grammars
    const Measurement plain = best(dir, false, runs, 0);
    const Measurement coloured = best(dir, true, runs, 1000);
    std::printf("%-22s %18s %18s\n", "1 MB of code", "first screen (ms)", "longest stall (ms)");
    std::printf("%-22s %18lld %18lld\n", "bare fences (plain)", qlonglong(plain.firstScreenMs),
                qlonglong(plain.restStallMs));
    std::printf("%-22s %18lld %18lld\n", "named languages", qlonglong(coloured.firstScreenMs),
                qlonglong(coloured.restStallMs));
    std::printf("ratio %.2f (target <= %.1f), longest stall target <= %lld ms\n",
                double(coloured.firstScreenMs) / double(std::max<qint64>(1, plain.firstScreenMs)),
                slowestAllowedRatio, qlonglong(longestAllowedStallMs));
    return 0;
}
