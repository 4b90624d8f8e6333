#include "preview/previewdocumentloader.h"

#include "markdown/layout/view/markdownview.h"
#include "ui/localization.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QtConcurrent/qtconcurrenttask.h>
#include <QThreadPool>

namespace kestrune {

namespace {

// The pool's priority of work the user waits for.
constexpr int userInitiatedPriority = 10;

MarkdownFileReader::ErrorMessages readErrorMessages()
{
    return {Localization::text("markdown.read_error.not_found"),
            Localization::text("markdown.read_error.permission_denied"),
            Localization::text("markdown.read_error.not_a_file"),
            Localization::text("markdown.read_error.too_large"),
            Localization::text("markdown.read_error"),
            Localization::text("markdown.read_error.other"),
            Localization::text("markdown.read_error.out_of_memory")};
}

} // namespace

PreviewDocumentLoader::PreviewDocumentLoader(QObject *parent) : QObject(parent) {}

QThreadPool *PreviewDocumentLoader::readPool()
{
    // Never the global pool: painting waits on that one, and a slow file system must not
    // stall the window. Never waited for at exit either, so it is not destroyed.
    static QThreadPool *const pool = [] {
        auto *threads = new QThreadPool;
        threads->setMaxThreadCount(2);
        return threads;
    }();
    return pool;
}

PreviewDocumentLoader::FileReadFunction &PreviewDocumentLoader::fileReadFunction()
{
    static FileReadFunction function = &MarkdownFileReader::load;
    return function;
}

void PreviewDocumentLoader::setFileReadFunction(FileReadFunction function)
{
    fileReadFunction() = function ? std::move(function) : FileReadFunction(&MarkdownFileReader::load);
}

void PreviewDocumentLoader::read(const QUrl &url, bool reload, MarkdownView *view,
                                 const PreparedMarkdownPage::Settings &settings)
{
    ++m_serial;
    m_running = true;
    const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    PreparedMarkdownPage::Settings page = settings;
    page.highlightPool = readPool(); // the code past the first screen is coloured there next
    deliver(QtConcurrent::task(FileReadFunction(fileReadFunction()))
                .withArguments(path, readErrorMessages(), largestRenderedText, std::optional(page))
                .onThreadPool(*readPool())
                .withPriority(userInitiatedPriority)
                .spawn(),
            view, reload ? Work::reload : Work::read);
}

void PreviewDocumentLoader::readBytes(const QByteArray &bytes, bool reload, MarkdownView *view,
                                      const PreparedMarkdownPage::Settings &settings)
{
    ++m_serial;
    m_running = true;
    PreparedMarkdownPage::Settings page = settings;
    page.highlightPool = readPool();
    deliver(QtConcurrent::task(&MarkdownFileReader::loadBytes)
                .withArguments(bytes, readErrorMessages(), largestRenderedText, std::optional(page))
                .onThreadPool(*readPool())
                .withPriority(userInitiatedPriority)
                .spawn(),
            view, reload ? Work::reload : Work::read);
}

void PreviewDocumentLoader::readNothing()
{
    ++m_serial;
    m_running = false;
}

void PreviewDocumentLoader::parse(const MarkdownPreviewState &state, MarkdownView *view,
                                  const PreparedMarkdownPage::Settings &settings)
{
    PreparedMarkdownPage::Settings page = settings;
    page.highlightPool = readPool();
    deliver(QtConcurrent::task(&MarkdownFileReader::parse)
                .withArguments(state, Localization::text("markdown.read_error.out_of_memory"),
                               std::optional(page))
                .onThreadPool(*readPool())
                .withPriority(userInitiatedPriority)
                .spawn(),
            view, Work::parse);
}

void PreviewDocumentLoader::deliver(const QFuture<MarkdownFileReader::Document> &future, MarkdownView *view,
                                    Work work)
{
    // The watcher dies with the loader; the work itself holds nothing of it and simply finishes
    // unobserved.
    auto *watcher = new QFutureWatcher<MarkdownFileReader::Document>(this);
    connect(watcher, &QFutureWatcherBase::finished, this,
            [this, watcher, serial = m_serial, work, view = QPointer<MarkdownView>(view)] {
                watcher->deleteLater();
                // A later load has taken over since this one started: its result, parse and page
                // included, is dropped.
                if (serial != m_serial) {
                    delete view.data();
                    return;
                }
                const Arrival arrival{watcher->result(), view.data(), work == Work::reload};
                if (work == Work::parse) {
                    Q_EMIT parseArrived(arrival);
                } else {
                    m_running = false;
                    Q_EMIT readArrived(arrival);
                }
            });
    watcher->setFuture(future);
}

} // namespace kestrune
