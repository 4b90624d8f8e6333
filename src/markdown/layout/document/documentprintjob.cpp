#include "markdown/layout/document/documentprintjob.h"

#include "markdown/document/documentmodeldisposal.h"
#include "markdown/layout/document/imagerequestforwarder_p.h"
#include "markdown/layout/document/pageddocumentpainter.h"
#include "markdown/layout/view/incrementalmarkdownfeed_p.h"

#include <QPagedPaintDevice>

#include <utility>

namespace kestrune {

namespace {

// The share of the progress the layout takes; the pages take the rest.
constexpr qreal layoutShare = 0.5;

} // namespace

DocumentPrintJob::DocumentPrintJob(Source source, QObject *imageContext,
                                   std::chrono::milliseconds imageTimeout)
    : m_source(std::move(source)), m_imageTimeout(imageTimeout)
{
    MarkdownEnvironment &environment = m_source.environment;
    environment.imageProvider = ImageRequestForwarder::wrap(environment.imageProvider, imageContext);
    environment.inlineImageProvider =
        ImageRequestForwarder::wrap(environment.inlineImageProvider, imageContext);
}

DocumentPrintJob::Outcome DocumentPrintJob::run(QPagedPaintDevice &device, const Progress &progress)
{
    QList<BlockNode> blocks;
    Outcome outcome = Outcome::printed;
    if (m_source.blocks) {
        blocks = std::exchange(m_source.blocks, std::nullopt).value();
    } else {
        // In pieces, as the preview parses a long text, looking at cancel() between them.
        begin(Phase::parsing);
        IncrementalMarkdownFeed feed(std::exchange(m_source.text, QString()));
        while (feed.hasMore() && !isCancelled()) {
            std::optional<QList<BlockNode>> piece = feed.parseNext();
            if (!piece) {
                outcome = Outcome::outOfMemory;
                break;
            }
            blocks.append(std::move(*piece));
        }
    }
    if (isCancelled())
        outcome = Outcome::cancelled;
    if (outcome == Outcome::printed)
        outcome = print(blocks, device, progress);
    // A model parsed here is millions of small allocations.
    DocumentModelDisposal::dispose(std::move(blocks));
    return outcome;
}

DocumentPrintJob::Outcome DocumentPrintJob::print(const QList<BlockNode> &blocks, QPagedPaintDevice &device,
                                                  const Progress &progress)
{
    const auto report = [&progress](qreal done) {
        if (progress)
            progress(done);
    };
    const auto cancelled = [this] { return isCancelled(); };
    begin(Phase::layout);
    // Its nodes and tables are freed on the disposal threads, whichever way the job ends.
    DocumentPagination pagination(blocks, m_source.environment,
                                  PagedDocumentPainter::contentSize(device.pageLayout()));
    while (!pagination.layoutStep(layoutSliceMs)) {
        if (isCancelled())
            return Outcome::cancelled;
        report(pagination.layoutProgress() * layoutShare);
    }
    if (isCancelled())
        return Outcome::cancelled;
    if (pagination.isLoadingImages()) {
        begin(Phase::pictures);
        pagination.waitForImages(m_imageTimeout, cancelled);
        if (isCancelled())
            return Outcome::cancelled;
    }
    begin(Phase::pagination);
    if (!pagination.paginate(cancelled))
        return Outcome::cancelled;
    report(layoutShare);
    begin(Phase::painting);
    const bool painted = PagedDocumentPainter(pagination, m_source.fileName)
                             .print(
                                 device,
                                 [this, &report](int page, int count) {
                                     report(layoutShare + (1 - layoutShare) * page / std::max(1, count));
                                     return !isCancelled();
                                 },
                                 [this] { begin(Phase::closing); }, cancelled);
    if (isCancelled())
        return Outcome::cancelled;
    return painted ? Outcome::printed : Outcome::deviceFailed;
}

void DocumentPrintJob::begin(Phase phase) const
{
    if (m_phaseObserver)
        m_phaseObserver(phase);
}

} // namespace kestrune
