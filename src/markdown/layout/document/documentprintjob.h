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
#include <utility>

class QObject;
class QPagedPaintDevice;

namespace kestrune {

// A document put on paper away from the window's thread: its text parsed when it comes
// unparsed, laid out for the device's pages (DocumentPagination), its pictures waited for, cut
// into pages and painted with their footers (PagedDocumentPainter). The job is made on the
// window's thread, which keeps answering the pictures it asks for, and run on a worker thread,
// which it paints from; cancel() stops it from any thread between two slices of its work (a
// piece of the text parsed, a slice of layout, a look at the pictures, a page of the pagination or of the
// painting). A cancelled job returns without freeing what it built: the laid-out page and a model parsed here
// go to the disposal threads (DocumentModelDisposal), so the worker is free at once for the next job.
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
    // What the job is doing, in the order it does it.
    enum class Phase
    {
        parsing,
        layout,
        pictures, // waiting for them
        pagination,
        painting,
        closing, // the device, once every page is painted
    };
    // Called on the job's thread with the part of the work done, from 0 to 1.
    using Progress = std::function<void(qreal done)>;
    // Called on the job's thread as each phase begins (parsing only for a text that comes
    // unparsed, pictures only for a document that shows some).
    using PhaseObserver = std::function<void(Phase phase)>;

    // How long a slice of layout runs between two looks at cancel().
    static constexpr qint64 layoutSliceMs = 20;

    // Pictures are asked for on the thread of `imageContext`.
    DocumentPrintJob(Source source, QObject *imageContext,
                     std::chrono::milliseconds imageTimeout = DocumentPagination::defaultImageTimeout);

    // Prints onto the device, laid out for its page layout. Call once, on any thread.
    Outcome run(QPagedPaintDevice &device, const Progress &progress = {});
    void cancel() { m_cancelled.store(true); }
    bool isCancelled() const { return m_cancelled.load(); }
    // Set before run().
    void setPhaseObserver(PhaseObserver observer) { m_phaseObserver = std::move(observer); }

private:
    Outcome print(const QList<BlockNode> &blocks, QPagedPaintDevice &device, const Progress &progress);
    void begin(Phase phase) const;

    Source m_source;
    std::chrono::milliseconds m_imageTimeout;
    PhaseObserver m_phaseObserver;
    std::atomic<bool> m_cancelled = false;
};

} // namespace kestrune
