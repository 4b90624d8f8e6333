#pragma once

#include "markdown/document/blocknode.h"
#include "markdown/layout/style/markdownenvironment.h"

#include <QList>
#include <QRectF>
#include <QSizeF>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QPainter;

namespace kestrune {

class LayoutDocument;

// A document cut into pages for printing. It is laid out on a page of its own at the width of a
// page's content area, in the light appearance whatever the window shows, and split at the
// boundaries of top-level blocks where they fit. A block taller than what is left of a page is
// split inside, below a line of text, a table row or a list item, never through a line or a
// picture; only a block with no such place is cut at the page's height. A heading that would
// end a page goes to the next one, with the block it heads.
//
//     DocumentPagination pagination(blocks, environment, {600, 900});
//     while (!pagination.layoutStep(50)) {} // or pagination.layoutAll()
//     pagination.waitForImages(std::chrono::seconds(10));
//     pagination.paginate();
//     for (int page = 0; page < pagination.pageCount(); ++page)
//         pagination.paintPage(painter, page);
//
// Lengths are device-independent pixels, as on a screen at 100 %.
class DocumentPagination
{
public:
    // The part of the laid-out document a page shows, from its top to its bottom.
    struct Page
    {
        qreal top = 0;
        qreal bottom = 0;
        friend bool operator==(const Page &, const Page &) = default;
    };

    DocumentPagination(const QList<BlockNode> &blocks, const MarkdownEnvironment &environment,
                       QSizeF contentSize);
    ~DocumentPagination();
    DocumentPagination(const DocumentPagination &) = delete;
    DocumentPagination &operator=(const DocumentPagination &) = delete;

    QSizeF contentSize() const { return m_contentSize; }

    // Measures blocks for at most `budgetMs` milliseconds; returns whether every block is measured.
    bool layoutStep(qint64 budgetMs);
    // The part of the blocks measured, from 0 to 1.
    qreal layoutProgress() const;
    // Measures the whole document, waits for its pictures and paginates it.
    void layoutAll(std::chrono::milliseconds imageTimeout = defaultImageTimeout);
    // Runs the event loop until the pictures the document shows have arrived (and are measured),
    // the timeout has passed or `cancelled` says so (asked at least every cancelCheckInterval).
    // Returns whether they all arrived.
    bool waitForImages(std::chrono::milliseconds timeout, const std::function<bool()> &cancelled = {});
    // Whether a picture the document shows is still on its way.
    bool isLoadingImages() const;
    // Cuts the measured document into pages; `cancelled`, asked before each page, stops it
    // (returning false, with no pages).
    bool paginate(const std::function<bool()> &cancelled = {});

    const QList<Page> &pages() const { return m_pages; }
    int pageCount() const { return int(m_pages.size()); }
    qreal documentHeight() const;
    // Where each laid-out line of text lies, in document coordinates, in document order.
    QList<QRectF> textLines() const;

    // Paints a page's part of the document with the painter's origin at the top-left of the
    // content area, clipped to it. `stopped`, asked before each node, leaves the rest unpainted.
    void paintPage(QPainter &painter, int index, const std::function<bool()> &stopped = {}) const;

    static constexpr std::chrono::milliseconds defaultImageTimeout{10000};
    static constexpr std::chrono::milliseconds cancelCheckInterval{20};

private:
    // Where a page starting at `top` ends, `limit` being the lowest it may.
    qreal pageBottom(qreal top, qreal limit) const;
    // The lowest place inside a block, above `limit` and below `top`, to end a page at.
    std::optional<qreal> breakInside(int block, qreal top, qreal limit) const;
    bool isHeading(int block) const;
    qreal blockBottom(int block) const;

    std::unique_ptr<LayoutDocument> m_document;
    QSizeF m_contentSize;
    QList<Page> m_pages;
};

} // namespace kestrune
