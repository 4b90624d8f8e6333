#include "app/documentprinting.h"

#include "markdown/layout/document/documentpagination.h"
#include "markdown/layout/document/pageddocumentpainter.h"
#include "ui/localization.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QSaveFile>
#include <QStandardPaths>

namespace kestrune {

namespace {

// The progress dialog's steps: the first half for the layout, the second for the pages.
constexpr int layoutSteps = 500;
constexpr int paintSteps = 500;
// How long the layout runs between two looks at the progress dialog.
constexpr qint64 layoutSliceMs = 50;
// A short document is done before the progress dialog would show.
constexpr int progressDelayMs = 400;

} // namespace

DocumentPrinting::DocumentPrinting(QWidget *window) : QObject(window), m_window(window) {}

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
    // Written beside the target and moved over it once complete: a failed or cancelled export
    // leaves an earlier file of that name as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QPdfWriter writer(&file);
    writer.setPageLayout(PagedDocumentPainter::defaultPageLayout());
    writer.setTitle(document.fileName);
    writer.setCreator(QApplication::applicationName());
    bool wasCancelled = false;
    const bool rendered = render(document, writer, &wasCancelled);
    if (cancelled)
        *cancelled = wasCancelled;
    if (!rendered) {
        file.cancelWriting();
        return wasCancelled ? std::nullopt : std::optional(file.errorString());
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

void DocumentPrinting::print(const MarkdownPreviewView &preview)
{
    const std::optional<MarkdownPreviewView::PrintableDocument> document = preview.printableDocument();
    if (!document) {
        QApplication::beep();
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document->fileName);
    // The printer's paper, with the margins an export has.
    const qreal margin = PagedDocumentPainter::marginMillimetres;
    printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool cancelled = false;
    if (!render(*document, printer, &cancelled) && !cancelled) {
        reportFailure(Localization::text("print.print_failed")
                          .arg(document->fileName, Localization::text("print.printer_refused")));
    }
}

bool DocumentPrinting::render(const MarkdownPreviewView::PrintableDocument &document,
                              QPagedPaintDevice &device, bool *cancelled)
{
    QProgressDialog progress(Localization::text("print.preparing"), Localization::text("print.cancel"), 0,
                             layoutSteps + paintSteps, m_window);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(progressDelayMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);

    DocumentPagination pagination(document.blocks, document.environment,
                                  PagedDocumentPainter::contentSize(device.pageLayout()));
    // Laid out in slices, so that the dialog shows and answers meanwhile.
    while (!pagination.layoutStep(layoutSliceMs)) {
        progress.setValue(int(pagination.layoutProgress() * layoutSteps));
        if (progress.wasCanceled()) {
            *cancelled = true;
            return false;
        }
    }
    pagination.waitForImages(DocumentPagination::defaultImageTimeout);
    pagination.paginate();
    const bool painted =
        PagedDocumentPainter(pagination, document.fileName).print(device, [&progress](int page, int count) {
            progress.setValue(layoutSteps + paintSteps * page / std::max(1, count));
            return !progress.wasCanceled();
        });
    *cancelled = progress.wasCanceled();
    return painted;
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
