#pragma once

#include "markdown/layout/document/documentprintjob.h"
#include "preview/markdownpreviewview.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QEventLoop;
class QThreadPool;
class QWidget;

namespace kestrune {

// The window's "Print…" and "Export as PDF…": the Markdown file on show, rendered as the preview
// renders it in the light appearance, cut into pages with its name and the page number below
// each (DocumentPagination, PagedDocumentPainter). Printing goes through the desktop's print
// dialog; the export asks where to save the PDF (in the folder used last, at first the user's
// documents) and writes it there. The document is parsed when it needs to be, laid out and
// painted on a thread of the printing's own (DocumentPrintJob), while a progress dialog shows
// and the window keeps answering; Cancel stops it at once. A failure is named with the file and
// its reason in a message box.
class DocumentPrinting : public QObject
{
    Q_OBJECT

public:
    // Asks where to save the PDF, starting at `suggestedPath`; an empty path cancels.
    using SavePathChooser = std::function<QString(QWidget *parent, const QString &suggestedPath)>;

    explicit DocumentPrinting(QWidget *window);
    ~DocumentPrinting() override;

    void exportPdf(const MarkdownPreviewView &preview);
    void print(const MarkdownPreviewView &preview);

    // Writes the document as PDF to `path`. Returns the reason it could not, if it could not;
    // `cancelled` tells a cancel from the progress dialog apart.
    std::optional<QString> writePdf(const MarkdownPreviewView::PrintableDocument &document,
                                    const QString &path, bool *cancelled = nullptr);

    // Where the export's file dialog opens for a file of that name.
    QString suggestedPdfPath(const QString &markdownFileName) const;
    void setSavePathChooser(SavePathChooser chooser) { m_chooser = std::move(chooser); }
    // How long the printing waits for the pictures of a document.
    void setImageTimeout(std::chrono::milliseconds timeout) { m_imageTimeout = timeout; }
    // Told on the printing's thread as each phase of a job begins.
    void setPhaseObserver(DocumentPrintJob::PhaseObserver observer) { m_phaseObserver = std::move(observer); }

    // Whether a document is being printed or exported; cancel() stops it (as the progress
    // dialog's Cancel does): the print or export returns at once, and its thread leaves off
    // within a slice of work, writing nothing, and is free for the next job while what the job
    // built is freed elsewhere.
    bool isRendering() const { return m_job != nullptr; }
    void cancel();

Q_SIGNALS:
    void pdfExported(const QString &path);
    // The message shown for a failed export or print.
    void failed(const QString &message);

private:
    // Runs `work` with the job on the printing's thread, showing progress, until it ends or is
    // cancelled.
    DocumentPrintJob::Outcome
    render(const std::shared_ptr<DocumentPrintJob> &job,
           std::function<DocumentPrintJob::Outcome(DocumentPrintJob::Progress)> work);
    std::shared_ptr<DocumentPrintJob> makeJob(const MarkdownPreviewView::PrintableDocument &document) const;
    void reportFailure(const QString &message);

    QWidget *m_window;
    SavePathChooser m_chooser;
    QString m_lastFolder;
    std::chrono::milliseconds m_imageTimeout = DocumentPagination::defaultImageTimeout;
    DocumentPrintJob::PhaseObserver m_phaseObserver;
    std::shared_ptr<DocumentPrintJob> m_job; // while one runs
    QPointer<QEventLoop> m_loop;             // what waits for it
    // One thread: a job cancelled and still leaving off holds the next one back until it has.
    std::unique_ptr<QThreadPool> m_pool;
};

} // namespace kestrune
