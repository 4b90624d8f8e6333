#include "markdown/layout/document/pageddocumentpainter.h"

#include "markdown/layout/document/documentpagination.h"

#include "ui/localization.h"
#include "ui/systemfont.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPageRanges>
#include <QPainter>

#include <utility>

namespace kestrune {

namespace {

constexpr qreal millimetresPerInch = 25.4;
// Light grey on white paper.
constexpr int footerGrey = 140;

} // namespace

PagedDocumentPainter::PagedDocumentPainter(const DocumentPagination &pagination, QString fileName)
    : m_pagination(pagination), m_fileName(std::move(fileName))
{}

QPageLayout PagedDocumentPainter::defaultPageLayout()
{
    const qreal margin = marginMillimetres;
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
}

QSizeF PagedDocumentPainter::contentSize(const QPageLayout &layout)
{
    const QSizeF printable =
        layout.paintRect(QPageLayout::Millimeter).size() * (devicePixelsPerInch / millimetresPerInch);
    return {printable.width(), std::max<qreal>(1, printable.height() - footerHeight)};
}

void PagedDocumentPainter::paintPage(QPainter &painter, int index, const Stopped &stopped) const
{
    m_pagination.paintPage(painter, index, stopped);
    paintFooter(painter, index);
}

void PagedDocumentPainter::paintFooter(QPainter &painter, int index) const
{
    const QSizeF content = m_pagination.contentSize();
    const QRectF footer(0, content.height(), content.width(), footerHeight);
    const QFont font = SystemFont::font(footerFontSize);
    const QFontMetricsF metrics(font);
    const QString pageText =
        Localization::text("print.page_footer")
            .arg(QLocale().toString(index + 1), QLocale().toString(m_pagination.pageCount()));
    const qreal pageTextWidth = metrics.horizontalAdvance(pageText);
    const qreal nameWidth =
        std::max<qreal>(0, footer.width() - pageTextWidth - 3 * metrics.averageCharWidth());
    const QString name = metrics.elidedText(m_fileName, Qt::ElideMiddle, nameWidth);

    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(footerGrey, footerGrey, footerGrey));
    painter.drawText(footer, Qt::AlignLeft | Qt::AlignBottom, name);
    painter.drawText(footer, Qt::AlignRight | Qt::AlignBottom, pageText);
    painter.restore();
}

bool PagedDocumentPainter::print(QPagedPaintDevice &device, const Progress &progress, const Closing &closing,
                                 const Stopped &stopped) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // A device-independent pixel is 1/96 inch on paper as on a screen at 100 %.
    const qreal scale = device.logicalDpiY() / devicePixelsPerInch;
    const int count = m_pagination.pageCount();
    // The pages asked for (a print dialog's range, counted from 1), else all.
    const QPageRanges ranges = device.pageRanges();
    bool firstPainted = true;
    for (int index = 0; index < count; ++index) {
        if (!ranges.isEmpty() && !ranges.contains(index + 1))
            continue;
        if ((progress && !progress(index, count)) || (!firstPainted && !device.newPage())) {
            painter.end();
            return false;
        }
        firstPainted = false;
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, index, stopped);
        painter.restore();
        if (stopped && stopped()) {
            painter.end();
            return false;
        }
    }
    if (closing)
        closing();
    return painter.end();
}

} // namespace kestrune
