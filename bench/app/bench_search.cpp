// Project search on a generated 10,000-file project in the full main window: building the text
// index (cold cache, then warm), a query of a frequent and of a rare word (time until the first
// results are on screen and until all are), and the longest main-thread stall while a query is
// typed; beside `grep -rni` over the same folder in the same run.
// Run: bench_search [-platform offscreen]
#include "eventloopwait.h"
#include "stallmeter.h"

#include "app/maincontentview.h"
#include "app/sidebarpane.h"
#include "largeprojectgenerator.h"
#include "project/projectstore.h"
#include "search/projecttextindex.h"
#include "sidebar/outlinelistview.h"
#include "sidebar/projectsearchcontroller.h"
#include "sidebar/projectsearchfield.h"
#include "sidebar/searchresultsview.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

using namespace kestrune;

namespace {

constexpr qint64 indexTarget = 1000;
constexpr qint64 firstResultsTarget = 50;
constexpr qint64 completeTarget = 300;
constexpr qint64 stallTarget = 16;

// Drops the project's files from the page cache, so the next read comes from the disk.
void evictFromCache(const QString &folder)
{
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const int fd = ::open(QFile::encodeName(it.next()).constData(), O_RDONLY);
        if (fd < 0)
            continue;
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// Milliseconds from an import until the index has read every file of the project.
qint64 indexTime(const QUrl &root)
{
    ProjectStore store;
    ProjectTextIndex index(store);
    QElapsedTimer timer;
    bool scanned = false;
    qint64 treePublished = 0;
    QObject::connect(&store, &ProjectStore::treeByProjectChanged, &store, [&] {
        if (!scanned)
            treePublished = timer.elapsed();
        scanned = true;
    });
    timer.start();
    store.importProject(root);
    runUntil([&] { return index.isIndexed(root) && !index.isUpdating(root); });
    return timer.elapsed() - treePublished;
}

double grepMs(const QString &word, const QString &folder)
{
    QProcess grep;
    grep.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    grep.start(QStringLiteral("grep"), {QStringLiteral("-rni"), word, folder});
    grep.waitForFinished(-1);
    return timer.elapsed();
}

struct QueryTimes
{
    qint64 firstOnScreen = -1;
    qint64 complete = -1;
    qint64 stall = 0;
    int files = 0;
};

// Types the query's last letter into the field holding the rest, as a reader does.
QueryTimes runQuery(MainContentView &view, const QString &query)
{
    SidebarPane *sidebar = view.sidebar();
    QLineEdit *field = sidebar->searchField()->lineEdit();
    QAbstractItemModel *model = sidebar->searchResults()->listView()->model();
    field->clear();
    runFor(50);
    field->setText(query.chopped(1));
    runUntil([&] { return !sidebar->search()->isSearching(); });

    QueryTimes times;
    QElapsedTimer timer;
    const QMetaObject::Connection first =
        QObject::connect(model, &QAbstractItemModel::rowsInserted, model, [&] {
            if (times.firstOnScreen < 0) {
                sidebar->searchResults()->listView()->viewport()->repaint();
                times.firstOnScreen = timer.elapsed();
            }
        });
    const QMetaObject::Connection done =
        QObject::connect(sidebar->search(), &ProjectSearchController::searchFinished, model, [&] {
            sidebar->searchResults()->listView()->viewport()->repaint();
            times.complete = timer.elapsed();
        });
    StallMeter stalls;
    timer.start();
    field->insert(query.right(1));
    runUntil([&] { return times.complete >= 0; });
    runFor(100);
    times.stall = stalls.longest();
    times.files = model->rowCount();
    QObject::disconnect(first);
    QObject::disconnect(done);
    return times;
}

// The longest stall while a query is typed a letter every 80 ms, every letter starting a search.
qint64 typingStall(MainContentView &view, const QString &query)
{
    QLineEdit *field = view.sidebar()->searchField()->lineEdit();
    field->clear();
    runFor(100);
    StallMeter stalls;
    for (const QChar letter : query) {
        field->insert(QString(letter));
        runFor(80);
    }
    runUntil([&] { return !view.sidebar()->search()->isSearching(); });
    runFor(100);
    return stalls.longest();
}

void printRow(const char *what, qint64 value, qint64 target)
{
    std::printf("  %-44s %6lld ms   (target <= %lld ms)%s\n", what, static_cast<long long>(value),
                static_cast<long long>(target), value <= target ? "" : "   MISSED");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    Localization::install(&app, QLocale(QLocale::English));
    QTemporaryDir folder;
    const QString project = folder.filePath(QStringLiteral("big"));
    const int files = generateLargeProject(project);
    // One rare word, in one file.
    {
        QFile rare(project + QStringLiteral("/kestrune/specs/capability-7/spec.md"));
        rare.open(QIODevice::Append);
        rare.write("\nExports are throttled by the zanzibar limiter.\n");
    }
    const QUrl root = QUrl::fromLocalFile(project);
    std::printf("project search, %d Markdown files\n", files);

    evictFromCache(project);
    const qint64 cold = indexTime(root);
    const qint64 warm = indexTime(root);
    std::printf("index (reading every file after the outline is published)\n");
    printRow("cold cache", cold, indexTarget);
    printRow("warm cache", warm, indexTarget);

    QTemporaryDir settings;
    ThemeController theme(
        std::make_unique<QSettings>(settings.filePath(QStringLiteral("s.ini")), QSettings::IniFormat));
    MainContentView view(theme);
    view.resize(1280, 900);
    view.show();
    view.store().importProject(root);
    view.setSelectedProjectRoot(root);
    runUntil([&] { return view.textIndex().isIndexed(root) && !view.textIndex().isUpdating(root); });
    runFor(2000);
    {
        StallMeter idle;
        runFor(1000);
        std::printf("longest stall of the idle window, for comparison: %lld ms\n",
                    static_cast<long long>(idle.longest()));
    }

    for (const QString &word : {QStringLiteral("the"), QStringLiteral("zanzibar")}) {
        const QueryTimes times = runQuery(view, word);
        std::printf("query \"%s\" (%d files with matches)\n", qPrintable(word), times.files);
        printRow("first results on screen", times.firstOnScreen, firstResultsTarget);
        printRow("complete results on screen", times.complete, completeTarget);
        printRow("longest main-thread stall", times.stall, stallTarget);
        std::printf("  %-44s %6.0f ms\n", "grep -rni over the same folder", grepMs(word, project));
    }
    std::printf("typing \"rate limit\", a letter every 80 ms\n");
    printRow("longest main-thread stall", typingStall(view, QStringLiteral("rate limit")), stallTarget);
    std::printf("typing \"the\", a letter every 80 ms\n");
    printRow("longest main-thread stall", typingStall(view, QStringLiteral("the")), stallTarget);
    return 0;
}
