#include "app/documentprinting.h"

#include "markdown/document/documentmodeldisposal.h"
#include "markdown/layout/document/pageddocumentpainter.h"
#include "ui/localization.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPromise>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <memory>

namespace kestrune {

namespace {

using Outcome = DocumentPrintJob::Outcome;

// The progress dialog's steps.
constexpr int progressSteps = 1000;
// How often the dialog shows the progress of the job.
constexpr int progressIntervalMs = 50;
// A short document is done before the progress dialog would show.
constexpr int progressDelayMs = 400;

} // namespace

DocumentPrinting::DocumentPrinting(QWidget *window)
    : QObject(window), m_window(window), m_pool(std::make_unique<QThreadPool>())
{
    m_pool->setMaxThreadCount(1);
}

DocumentPrinting::~DocumentPrinting()
{
    cancel();
    m_pool->waitForDone(); // a job leaving off still paints with the application's fonts
}

void DocumentPrinting::cancel()
{
    if (m_job)
        m_job->cancel();
    if (m_loop)
        m_loop->quit();
}

std::shared_ptr<DocumentPrintJob>
DocumentPrinting::makeJob(const MarkdownPreviewView::PrintableDocument &document) const
{
    auto job = std::make_shared<DocumentPrintJob>(
        DocumentPrintJob::Source{document.blocks, document.blocks ? QString() : document.text,
                                 document.environment, document.fileName},
        QCoreApplication::instance(), m_imageTimeout);
    job->setPhaseObserver(m_phaseObserver);
    return job;
}

QString DocumentPrinting::suggestedPdfPath(const QString &markdownFileName) const
{
    // The folder used last, else the documents folder, else home: the first that is there.
    QString folder = QDir::homePath();
    for (const QString &candidate :
         {m_lastFolder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)}) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isDir()) {
            folder = candidate;
            break;
        }
    }
    const QString baseName = QFileInfo(markdownFileName).completeBaseName();
    return QDir(folder).filePath((baseName.isEmpty() ? QStringLiteral("document") : baseName) +
                                 QStringLiteral(".pdf"));
}

void DocumentPrinting::exportPdf(const MarkdownPreviewView &preview)
{
    const std::optional<MarkdownPreviewView::PrintableDocument> document = preview.printableDocument();
    if (!document) {
        QApplication::beep();
        return;
    }
    const QString suggested = suggestedPdfPath(document->fileName);
    QString path = m_chooser
                       ? m_chooser(m_window, suggested)
                       : QFileDialog::getSaveFileName(m_window, Localization::text("print.export_title"),
                                                      suggested, Localization::text("print.pdf_filter"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    m_lastFolder = QFileInfo(path).absolutePath();
    bool cancelled = false;
    if (const std::optional<QString> reason = writePdf(*document, path, &cancelled)) {
        reportFailure(Localization::text("print.export_failed").arg(QDir::toNativeSeparators(path), *reason));
        return;
    }
    if (!cancelled)
        Q_EMIT pdfExported(path);
}

std::optional<QString> DocumentPrinting::writePdf(const MarkdownPreviewView::PrintableDocument &document,
                                                  const QString &path, bool *cancelled)
{
    if (cancelled)
        *cancelled = false;
    if (isRendering())
        return Localization::text("print.printer_refused");
    const std::shared_ptr<DocumentPrintJob> job = makeJob(document);
    // Set on the job's thread before it ends, read here only once it has.
    auto reason = std::make_shared<QString>();
    const QString title = document.fileName;
    const QString creator = QApplication::applicationName();
    const QString outOfMemory = Localization::text("markdown.read_error.out_of_memory");
    const Outcome outcome = render(
        job, [job, reason, path, title, creator, outOfMemory](const DocumentPrintJob::Progress &progress) {
            // Written beside the target and moved over it once complete: a failed or cancelled
            // export leaves an earlier file of that name as it was.
            auto file = std::make_unique<QSaveFile>(path);
            if (!file->open(QIODevice::WriteOnly)) {
                *reason = file->errorString();
                return Outcome::deviceFailed;
            }
            Outcome printed = Outcome::deviceFailed;
            {
                QPdfWriter writer(file.get());
                writer.setPageLayout(PagedDocumentPainter::defaultPageLayout());
                writer.setTitle(title);
                writer.setCreator(creator);
                printed = job->run(writer, progress);
            }
            if (printed != Outcome::printed || job->isCancelled()) {
                file->cancelWriting();
                *reason = printed == Outcome::outOfMemory ? outOfMemory : file->errorString();
                // Removing the part written, up to a hundred megabytes, takes the file system
                // a while: the job's thread is free without waiting for it.
                file->moveToThread(nullptr);
                DocumentModelDisposal::disposeValue(std::move(file));
                return printed == Outcome::printed ? Outcome::cancelled : printed;
            }
            if (!file->commit()) {
                *reason = file->errorString();
                return Outcome::deviceFailed;
            }
            return Outcome::printed;
        });
    if (outcome == Outcome::cancelled && cancelled)
        *cancelled = true;
    if (outcome == Outcome::printed || outcome == Outcome::cancelled)
        return std::nullopt;
    return *reason;
}

void DocumentPrinting::print(const MarkdownPreviewView &preview)
{
    const std::optional<MarkdownPreviewView::PrintableDocument> document = preview.printableDocument();
    if (!document || isRendering()) {
        QApplication::beep();
        return;
    }
    // Shared with the job, which may still be leaving off after a cancel.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(document->fileName);
    // The printer's paper, with the margins an export has.
    const qreal margin = PagedDocumentPainter::marginMillimetres;
    printer->setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
    QPrintDialog dialog(printer.get(), m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::shared_ptr<DocumentPrintJob> job = makeJob(*document);
    const Outcome outcome = render(job, [job, printer](const DocumentPrintJob::Progress &progress) {
        return job->run(*printer, progress);
    });
    if (outcome == Outcome::deviceFailed || outcome == Outcome::outOfMemory) {
        const char *reason =
            outcome == Outcome::outOfMemory ? "markdown.read_error.out_of_memory" : "print.printer_refused";
        reportFailure(
            Localization::text("print.print_failed").arg(document->fileName, Localization::text(reason)));
    }
}

DocumentPrintJob::Outcome
DocumentPrinting::render(const std::shared_ptr<DocumentPrintJob> &job,
                         std::function<DocumentPrintJob::Outcome(DocumentPrintJob::Progress)> work)
{
    QProgressDialog progress(Localization::text("print.preparing"), Localization::text("print.cancel"), 0,
                             progressSteps, m_window);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(progressDelayMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);
    connect(&progress, &QProgressDialog::canceled, this, &DocumentPrinting::cancel);

    // The job runs on the printing's thread; this one waits in an event loop, so that the
    // window, the dialog and the pictures the job asks for keep being answered.
    auto done = std::make_shared<std::atomic<int>>(0);
    auto promise = std::make_shared<QPromise<Outcome>>();
    promise->start();
    QFutureWatcher<Outcome> watcher;
    QEventLoop loop;
    connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(promise->future());
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &progress, [&progress, done, this] {
        progress.setValue(done->load());
        if (progress.wasCanceled())
            cancel();
    });
    ticker.start(progressIntervalMs);

    m_job = job;
    m_loop = &loop;
    m_pool->start([promise, done, work = std::move(work)] {
        promise->addResult(work([done](qreal part) { done->store(int(part * progressSteps)); }));
        promise->finish();
    });
    if (!watcher.isFinished())
        loop.exec();
    m_job.reset();
    m_loop = nullptr;
    if (job->isCancelled())
        return Outcome::cancelled;
    return watcher.future().result();
}

void DocumentPrinting::reportFailure(const QString &message)
{
    Q_EMIT failed(message);
    auto *box = new QMessageBox(QMessageBox::Warning, QString(), message, QMessageBox::Ok, m_window);
    box->setObjectName(QStringLiteral("printFailure"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace kestrune
