#pragma once

#include "preview/markdownpreviewview.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QPagedPaintDevice;
class QWidget;

namespace kestrune {

// The window's "Print…" and "Export as PDF…": the Markdown file on show, rendered as the preview
// renders it in the light appearance, cut into pages with its name and the page number below
// each (DocumentPagination, PagedDocumentPainter). Printing goes through the desktop's print
// dialog; the export asks where to save the PDF (in the folder used last, at first the user's
// documents) and writes it there. A progress dialog shows while a long document is laid out and
// painted, and can cancel. A failure is named with the file and its reason in a message box.
class DocumentPrinting : public QObject
{
    Q_OBJECT

public:
    // Asks where to save the PDF, starting at `suggestedPath`; an empty path cancels.
    using SavePathChooser = std::function<QString(QWidget *parent, const QString &suggestedPath)>;

    explicit DocumentPrinting(QWidget *window);

    void exportPdf(const MarkdownPreviewView &preview);
    void print(const MarkdownPreviewView &preview);

    // Writes the document as PDF to `path`. Returns the reason it could not, if it could not;
    // `cancelled` tells a cancel from the progress dialog apart.
    std::optional<QString> writePdf(const MarkdownPreviewView::PrintableDocument &document,
                                    const QString &path, bool *cancelled = nullptr);

    // Where the export's file dialog opens for a file of that name.
    QString suggestedPdfPath(const QString &markdownFileName) const;
    void setSavePathChooser(SavePathChooser chooser) { m_chooser = std::move(chooser); }

Q_SIGNALS:
    void pdfExported(const QString &path);
    // The message shown for a failed export or print.
    void failed(const QString &message);

private:
    // Lays the document out for the device's pages and paints them, showing progress. Returns
    // false when cancelled or the device could not be painted on.
    bool render(const MarkdownPreviewView::PrintableDocument &document, QPagedPaintDevice &device,
                bool *cancelled);
    void reportFailure(const QString &message);

    QWidget *m_window;
    SavePathChooser m_chooser;
    QString m_lastFolder;
};

} // namespace kestrune
