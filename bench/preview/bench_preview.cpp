// Opens generated specifications of 1 MB and 10 MB in a preview pane, as selecting them in the
// outline does, and reports the time until the first screen of the rendered document has been
// painted, until the source text has been painted, and the longest stall of the main thread
// meanwhile (a 1 ms timer measuring its own lateness), beside the longest allowed; then, scrolled
// to the middle of the rendered page, the longest stall while the pane is dragged 200 px
// narrower and back and the page is laid out again.
// Run: bench_preview [-platform offscreen] [runs]
#include "firstpaint.h"
#include "resizestall.h"
#include "stallmeter.h"

#include "markdown/document/processheap.h"
#include "markdown/layout/view/markdownview.h"
#include "preview/markdownpreviewview.h"
#include "ui/themecontroller.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace kestrune;

namespace {

// A delta specification of about `bytes` bytes: requirements with scenarios, lists, code and tables.
QByteArray specification(qsizetype bytes)
{
    QByteArray text = "# Note history\n\n## ADDED Requirements\n\n";
    for (int n = 1; text.size() < bytes; ++n) {
        text += "### Requirement: Versions number " + QByteArray::number(n) + "\n\n";
        text +=
            "The service SHALL keep every saved version of a note, with its author, its time and a **short** "
            "summary of the change, and MUST offer to restore any of them from the `history` panel. "
            "See [the design](design.md) for the storage layout.\n\n";
        text += "#### Scenario: Restoring version " + QByteArray::number(n) + "\n\n";
        text += "- **WHEN** the user opens the history of a note\n- **AND** chooses an earlier version\n"
                "- **THEN** the note shows that version and the current one is kept as a new version\n\n";
        if (n % 5 == 0)
            text +=
                "```json\n{ \"version\": " + QByteArray::number(n) + ", \"author\": \"someone\" }\n```\n\n";
        if (n % 7 == 0)
            text +=
                "| Field | Meaning |\n|---|---|\n| author | who saved |\n| time | when it was saved |\n\n";
    }
    return text;
}

// A stall longer than a frame at 60 Hz is a frame the window fails to draw.
constexpr qint64 longestAllowedStallMs = 16;

struct Measurement
{
    qint64 firstScreenMs = 0;
    qint64 longestStallMs = 0;
    qint64 resizeStallMs = -1; // rendered documents only
};

Measurement open(const QString &path, MarkdownViewMode mode)
{
    QWidget window;
    window.resize(1000, 900);
    window.show();
    QEventLoop loop;
    FirstPaint watcher(loop);
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    MarkdownPreviewView pane(QUrl::fromLocalFile(path), std::nullopt, &window);
    pane.resize(window.size());
    pane.setViewMode(mode); // a pane kept in source mode shows the next file in source mode
    QObject::connect(&pane, &MarkdownPreviewView::stateChanged, &pane,
                     [&](const MarkdownPreviewState &state) {
                         if (!state.isContent())
                             return;
                         // A document too large to render shows its source under a notice.
                         QWidget *content = pane.contentView();
                         auto *scrollArea = qobject_cast<QAbstractScrollArea *>(content);
                         if (!scrollArea)
                             scrollArea = content->findChild<QAbstractScrollArea *>();
                         scrollArea->viewport()->installEventFilter(&watcher);
                     });
    pane.show();
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    Measurement result{clock.elapsed(), stalls.longest()};
    // Let the rest of the document be measured in the background before the next run.
    if (auto *document = qobject_cast<MarkdownView *>(pane.contentView())) {
        QElapsedTimer rest;
        rest.start();
        while (!document->isLayoutComplete() && rest.elapsed() < 120000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QScrollBar *bar = document->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        QCoreApplication::processEvents();
        result.resizeStallMs =
            resizeStall([&](int width) { pane.resize(width, pane.height()); }, pane.width(), 200,
                        [document] { return document->isLayoutComplete(); })
                .wallMs;
    }
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments(); // as the program runs
    QApplication app(argc, argv);
    QApplication::setPalette(ThemeController::paletteFor(Appearance::light));
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[argc - 1]).toInt()) : 3;

    QTemporaryDir dir;
    std::printf("%-8s %-8s %8s %18s %18s %8s %18s %8s\n", "size", "mode", "bytes", "first screen (ms)",
                "longest stall (ms)", "target", "resize stall (ms)", "target");
    for (const qsizetype megabytes : {1, 10}) {
        const QString path = dir.filePath(QStringLiteral("spec-%1mb.md").arg(megabytes));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray text = specification(megabytes * 1024 * 1024);
        file.write(text);
        file.close();
        for (const MarkdownViewMode mode : {MarkdownViewMode::preview, MarkdownViewMode::source}) {
            qint64 best = std::numeric_limits<qint64>::max();
            qint64 stall = 0;
            qint64 resize = -1;
            for (int run = 0; run < runs; ++run) {
                const Measurement m = open(path, mode);
                best = std::min(best, m.firstScreenMs);
                stall = std::max(stall, m.longestStallMs);
                resize = std::max(resize, m.resizeStallMs);
            }
            const QString target = QStringLiteral("<= %1").arg(longestAllowedStallMs);
            std::printf("%-8s %-8s %8lld %18lld %18lld %8s %18s %8s\n",
                        qPrintable(QStringLiteral("%1 MB").arg(megabytes)), qPrintable(rawValue(mode)),
                        qlonglong(text.size()), qlonglong(best), qlonglong(stall), qPrintable(target),
                        resize < 0 ? "-" : qPrintable(QString::number(resize)),
                        resize < 0 ? "" : qPrintable(target));
            std::fflush(stdout);
        }
    }
    return 0;
}
