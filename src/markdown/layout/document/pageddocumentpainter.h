#pragma once

#include <QPageLayout>
#include <QSizeF>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace kestrune {

class DocumentPagination;

// Paints a paginated document onto paper: each page's part of the document in the content
// area, and below it a footer with the file's name at the left and "Page 3 of 12" at the right,
// in a small light grey. Lengths are device-independent pixels; on a printer or a PDF the page is
// scaled by the device's resolution / 96, so that it looks like the screen at 100 %.
//
//     QPdfWriter writer(path);
//     writer.setPageLayout(PagedDocumentPainter::defaultPageLayout());
//     DocumentPagination pagination(blocks, environment,
//                                   PagedDocumentPainter::contentSize(writer.pageLayout()));
//     pagination.layoutAll();
//     PagedDocumentPainter(pagination, fileName).print(writer);
class PagedDocumentPainter
{
public:
    // Room below the content area for the footer.
    static constexpr qreal footerHeight = 28;
    static constexpr qreal footerFontSize = 10;
    static constexpr qreal marginMillimetres = 15;
    static constexpr qreal devicePixelsPerInch = 96;

    // Called before each page is painted with its index and the page count; false cancels.
    using Progress = std::function<bool(int page, int pageCount)>;
    // Called once every page is painted, before the device is closed.
    using Closing = std::function<void()>;
    // Asked while a page is painted, before each of its nodes: true leaves the page unfinished
    // and cancels.
    using Stopped = std::function<bool()>;

    PagedDocumentPainter(const DocumentPagination &pagination, QString fileName);

    // A4 upright with margins of 15 mm.
    static QPageLayout defaultPageLayout();
    // The size of the content area of a page laid out so, in device-independent pixels: the
    // page within its margins, less the footer.
    static QSizeF contentSize(const QPageLayout &layout);

    // Paints one page with the painter's origin at the top-left of the printable area, in
    // device-independent pixels: the content, then the footer below it.
    void paintPage(QPainter &painter, int index, const Stopped &stopped = {}) const;
    // Paints the pages onto the device, scaled to its resolution: those of its page ranges (set by
    // a print dialog), or every page when it has none. Returns false when the device could not be
    // painted on or `progress` cancelled.
    bool print(QPagedPaintDevice &device, const Progress &progress = {}, const Closing &closing = {},
               const Stopped &stopped = {}) const;

private:
    void paintFooter(QPainter &painter, int index) const;

    const DocumentPagination &m_pagination;
    QString m_fileName;
};

} // namespace kestrune
