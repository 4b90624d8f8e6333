#pragma once

#include "markdown/document/blocknode.h"
#include "markdown/layout/document/documentpagination.h"
#include "markdown/layout/style/markdownenvironment.h"

#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>

class QObject;
class QPagedPaintDevice;

namespace kestrune {

// A document put on paper away from the window's thread: its text parsed when it comes
// unparsed, laid out for the device's pages (DocumentPagination), its pictures waited for, cut
// into pages and painted with their footers (PagedDocumentPainter). The job is made on the
// window's thread, which keeps answering the pictures it asks for, and run on a worker thread,
// which it paints from; cancel() stops it from any thread between two slices of its work (a
// slice of layout, a look at the pictures, a page).
//
//     DocumentPrintJob job({blocks, {}, environment, fileName}, qApp);
//     pool.start([&job, &writer] { job.run(writer); });
//     ...
//     job.cancel();
class DocumentPrintJob
{
public:
    struct Source
    {
        std::optional<QList<BlockNode>> blocks; // the text parsed, unless it is to be parsed here
        QString text;
        MarkdownEnvironment environment;
        QString fileName; // for the footer
    };
    enum class Outcome
    {
        printed,
        cancelled,
        deviceFailed, // the device could not be painted on
        outOfMemory,  // parsing the text took more memory than there is
    };
    // Called on the job's thread with the part of the work done, from 0 to 1.
    using Progress = std::function<void(qreal done)>;

    // How long a slice of layout runs between two looks at cancel().
    static constexpr qint64 layoutSliceMs = 20;

    // Pictures are asked for on the thread of `imageContext`.
    DocumentPrintJob(Source source, QObject *imageContext,
                     std::chrono::milliseconds imageTimeout = DocumentPagination::defaultImageTimeout);

    // Prints onto the device, laid out for its page layout. Call once, on any thread.
    Outcome run(QPagedPaintDevice &device, const Progress &progress = {});
    void cancel() { m_cancelled.store(true); }
    bool isCancelled() const { return m_cancelled.load(); }

private:
    Source m_source;
    std::chrono::milliseconds m_imageTimeout;
    std::atomic<bool> m_cancelled = false;
};

} // namespace kestrune
