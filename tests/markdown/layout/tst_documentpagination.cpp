// A document cut into pages: where the pages end, what they look like whatever the window's
// appearance, the footer, the pictures waited for, and the pages a PDF gets.
#include "testimageprovider.h"

#include "markdown/document/markdownparser.h"
#include "markdown/layout/document/documentpagination.h"
#include "markdown/layout/document/pageddocumentpainter.h"

#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QPageRanges>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace kestrune;

namespace {

constexpr DynamicColor primary = dynamicColor(1.0f, 1.0f, 1.0f, 0.92f, 0.12f, 0.16f, 0.22f, 0.95f);
constexpr qreal tolerance = 0.5;

MarkdownEnvironment environment(const std::shared_ptr<ImageProvider> &images = nullptr)
{
    MarkdownEnvironment environment;
    environment.theme.text = TextStyle::fontSize(17) + TextStyle::foregroundColor(primary);
    environment.theme.paragraph = [](const BlockConfiguration &c) { return c.label.margin(0, 14); };
    environment.imageProvider = images;
    environment.inlineImageProvider = images;
    return environment;
}

QString paragraphs(int count, const QString &prefix = QStringLiteral("Paragraph"))
{
    QString text;
    for (int index = 0; index < count; ++index)
        text += QStringLiteral("%1 %2 with a few words.\n\n").arg(prefix).arg(index);
    return text;
}

std::unique_ptr<DocumentPagination> paginated(const QString &markdown, QSizeF contentSize,
                                              const MarkdownEnvironment &settings = environment())
{
    auto pagination =
        std::make_unique<DocumentPagination>(MarkdownParser::parse(markdown), settings, contentSize);
    pagination->layoutAll();
    return pagination;
}

// The size of a page's painting as a picture records it: everything painted, clipped or not.
qsizetype recorded(const DocumentPagination &pagination, int page, const std::function<bool()> &stopped = {})
{
    QPicture picture;
    QPainter painter(&picture);
    pagination.paintPage(painter, page, stopped);
    painter.end();
    return qsizetype(picture.size());
}

// The page ends that are not the document's end.
QList<qreal> pageBreaks(const DocumentPagination &pagination)
{
    QList<qreal> breaks;
    for (int index = 0; index + 1 < pagination.pageCount(); ++index)
        breaks.append(pagination.pages().at(index).bottom);
    return breaks;
}

void verifyNoLineIsCut(const DocumentPagination &pagination)
{
    const QList<QRectF> lines = pagination.textLines();
    for (const qreal pageEnd : pageBreaks(pagination)) {
        for (const QRectF &line : lines) {
            QVERIFY2(!(line.top() + tolerance < pageEnd && pageEnd < line.bottom() - tolerance),
                     qPrintable(QStringLiteral("a page ends at %1 inside the line %2–%3")
                                    .arg(pageEnd)
                                    .arg(line.top())
                                    .arg(line.bottom())));
        }
    }
}

void verifyPagesFit(const DocumentPagination &pagination)
{
    for (const DocumentPagination::Page &page : pagination.pages())
        QVERIFY(page.bottom - page.top <= pagination.contentSize().height() + tolerance);
    QCOMPARE(pagination.pages().constFirst().top, 0.0);
    QVERIFY(qAbs(pagination.pages().constLast().bottom - pagination.documentHeight()) < tolerance);
}

QImage render(const PagedDocumentPainter &painter, const DocumentPagination &pagination, int page)
{
    const QSizeF area = pagination.contentSize() + QSizeF(0, PagedDocumentPainter::footerHeight);
    QImage image(area.toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter imagePainter(&image);
    painter.paintPage(imagePainter, page);
    return image;
}

// The darkest pixel of a region, as its lightness (255: nothing painted there).
int darkest(const QImage &image, const QRect &region)
{
    int lightness = 255;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x)
            lightness = std::min(lightness, image.pixelColor(x, y).lightness());
    }
    return lightness;
}

int countPdfPages(const QString &path)
{
    if (!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {path});
        if (info.waitForFinished()) {
            const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                                      .match(QString::fromUtf8(info.readAllStandardOutput()));
            if (match.hasMatch())
                return match.captured(1).toInt();
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(
        QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

} // namespace

class TestDocumentPagination : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Localization::install(qApp, QLocale(QLocale::English)); }

    // Short blocks fill a page as far as they fit and the next page starts with the block that
    // did not; no page is taller than the content area.
    void pagesEndBetweenBlocks()
    {
        const auto pagination = paginated(paragraphs(40), {400, 300});
        QVERIFY(pagination->pageCount() > 3);
        verifyPagesFit(*pagination);
        verifyNoLineIsCut(*pagination);
        // Each page but the last is full but for less than a paragraph.
        const QRectF firstLine = pagination->textLines().constFirst();
        for (int index = 0; index + 1 < pagination->pageCount(); ++index) {
            const DocumentPagination::Page &page = pagination->pages().at(index);
            QVERIFY(page.bottom - page.top > pagination->contentSize().height() - firstLine.height() - 30);
        }
    }

    // A paragraph taller than a page is split below one of its lines, never through one, and
    // each page takes as many lines as fit.
    void tallBlockSplitsBetweenLines()
    {
        QString words;
        for (int index = 0; index < 400; ++index)
            words += QStringLiteral("word%1 ").arg(index);
        const auto pagination = paginated(words, {300, 200});
        QVERIFY(pagination->pageCount() > 3);
        verifyPagesFit(*pagination);
        verifyNoLineIsCut(*pagination);
        const QList<QRectF> lines = pagination->textLines();
        for (const qreal pageEnd : pageBreaks(*pagination)) {
            const bool atLineBottom =
                std::any_of(lines.cbegin(), lines.cend(), [pageEnd](const QRectF &line) {
                    return qAbs(line.bottom() - pageEnd) < tolerance;
                });
            QVERIFY2(atLineBottom, qPrintable(QString::number(pageEnd)));
        }
        const qreal lineHeight = lines.at(1).top() - lines.at(0).top();
        const DocumentPagination::Page &first = pagination->pages().constFirst();
        QVERIFY(first.bottom - first.top > pagination->contentSize().height() - lineHeight - tolerance);
    }

    // A heading that would end a page goes to the next one with the paragraph it heads.
    // A page cannot scroll: code that scrolls sideways on screen wraps at the page's width.
    void wideCodeWrapsOnPaper()
    {
        MarkdownEnvironment settings = environment();
        settings.theme.codeBlock = [](const CodeBlockConfiguration &c) {
            return BlockView::horizontalScroll(c.label.padding(8)).margin(0, 14);
        };
        const QString longLine = QStringLiteral("call(") + QStringLiteral("argument, ").repeated(40) + u')';
        const auto pagination =
            paginated(QStringLiteral("```\n%1\n```\n").arg(longLine), QSizeF(300, 800), settings);
        const QList<QRectF> lines = pagination->textLines();
        QVERIFY(lines.size() > 1);
        for (const QRectF &line : lines)
            QVERIFY2(line.right() <= 300 + tolerance, qPrintable(QString::number(line.right())));
    }

    void headingMovesToThePageOfItsBlock()
    {
        const QString markdown =
            paragraphs(5) + QStringLiteral("# Heading\n\n") + paragraphs(5, QStringLiteral("Then"));
        const auto whole = paginated(markdown, {400, 10000});
        const QRectF heading = whole->textLines().at(5);
        const QRectF following = whole->textLines().at(6);
        // The heading fits on the first page, the paragraph after it does not.
        const qreal pageHeight = heading.bottom() + 2;
        QVERIFY(pageHeight < following.bottom());

        const auto pagination = paginated(markdown, {400, pageHeight});
        QVERIFY(pagination->pageCount() >= 2);
        QVERIFY(pagination->pages().at(0).bottom <= heading.top());
        QVERIFY(pagination->pages().at(1).top <= heading.top());
        verifyNoLineIsCut(*pagination);
    }

    // The page is light, with dark text, while the program is dark; the footer shows the file's
    // name and the page number in grey below the content.
    void pageIsLightWithAFooter()
    {
        const QPalette previous = QApplication::palette();
        QApplication::setPalette(ThemeController::paletteFor(Appearance::dark));
        const auto pagination = paginated(paragraphs(30), {400, 300});
        const PagedDocumentPainter painter(*pagination, QStringLiteral("notes.md"));
        const QImage page = render(painter, *pagination, 1);
        QApplication::setPalette(previous);

        const int contentHeight = int(pagination->contentSize().height());
        // Dark text on the white page: the light appearance's colour, not the dark one's white.
        QVERIFY(darkest(page, QRect(0, 0, page.width(), contentHeight)) < 90);
        // The footer holds grey ink at both ends, the name at the left and the number at the right.
        const int footerTop = contentHeight + 2;
        const QRect footerLeft(0, footerTop, page.width() / 3, page.height() - footerTop);
        const QRect footerRight(page.width() * 2 / 3, footerTop, page.width() / 3, page.height() - footerTop);
        const int leftInk = darkest(page, footerLeft);
        const int rightInk = darkest(page, footerRight);
        QVERIFY2(leftInk < 220 && leftInk > 60, qPrintable(QString::number(leftInk)));
        QVERIFY2(rightInk < 220 && rightInk > 60, qPrintable(QString::number(rightInk)));
        QCOMPARE(darkest(page, QRect(page.width() / 3 + 20, footerTop, page.width() / 4,
                                     page.height() - footerTop)),
                 255);
    }

    // Pictures load asynchronously; the pages are cut once they are there and measured.
    void waitsForPictures()
    {
        const QUrl picture(QStringLiteral("file:///pictures/tall.png"));
        const auto images = std::make_shared<TestImageProvider>();
        images->sizes = {{picture, QSize(100, 500)}};
        images->deferred = true;
        DocumentPagination pagination(
            MarkdownParser::parse(QStringLiteral("Before\n\n![tall](%1)\n\nAfter").arg(picture.toString())),
            environment(images), {400, 300});
        QTimer::singleShot(0, [&images] { images->release(); });
        QVERIFY(pagination.waitForImages(std::chrono::seconds(60)));
        pagination.paginate();
        QVERIFY(pagination.documentHeight() > 500);
        QVERIFY(pagination.pageCount() >= 2);
    }

    // Cancelled between two pages, the pagination stops there and keeps no pages; asked again it
    // cuts the whole document.
    void paginationStopsWhenCancelled()
    {
        const auto pagination = paginated(paragraphs(40), {400, 300});
        const int pageCount = pagination->pageCount();
        QVERIFY(pageCount >= 4);
        int asked = 0;
        QVERIFY(!pagination->paginate([&asked] { return ++asked == 3; }));
        QCOMPARE(asked, 3);
        QCOMPARE(pagination->pageCount(), 0);
        QVERIFY(pagination->paginate([] { return false; }));
        QCOMPARE(pagination->pageCount(), pageCount);
    }

    // A long table split over pages paints on each page only the rows, stripes and borders the
    // page shows: paper keeps whatever is painted, clipped or not, so the pages together hold
    // about what the table painted once holds, not the whole table once a page.
    void pageOfALongTablePaintsOnlyItsRows()
    {
        QString table = QStringLiteral("| Key | Value |\n|---|---|\n");
        for (int row = 0; row < 600; ++row)
            table += QStringLiteral("| k%1 | v%1 |\n").arg(row);
        MarkdownEnvironment striped = environment();
        striped.tableBackgroundStyle = [](int row, int) {
            return row % 2 == 0 ? std::optional(primary) : std::nullopt;
        };
        const auto whole = paginated(table, {400, 1e6}, striped);
        QCOMPARE(whole->pageCount(), 1);
        const auto pages = paginated(table, {400, 300}, striped);
        QVERIFY(pages->pageCount() > 20);
        qsizetype pagesTogether = 0;
        for (int page = 0; page < pages->pageCount(); ++page)
            pagesTogether += recorded(*pages, page);
        const qsizetype once = recorded(*whole, 0);
        QVERIFY2(pagesTogether < 2 * once,
                 qPrintable(QStringLiteral("%1 > 2 * %2").arg(pagesTogether).arg(once)));
    }

    // A page's painting asks whether to stop before each node, and leaves the rest of the page
    // unpainted once told to (a print cancelled in the middle of a long page).
    void paintingStopsInsideAPage()
    {
        const auto pagination = paginated(paragraphs(30), {400, 300});
        int asked = 0;
        const qsizetype whole = recorded(*pagination, 0, [&asked] {
            ++asked;
            return false;
        });
        QVERIFY(asked > 3);
        int untilStopped = 0;
        const qsizetype stopped = recorded(*pagination, 0, [&untilStopped] { return ++untilStopped > 2; });
        QVERIFY2(stopped < whole / 2, qPrintable(QStringLiteral("%1 of %2").arg(stopped).arg(whole)));
    }

    // A PDF gets as many pages as the pagination counts, with the page scaled to its resolution.
    void pdfHasEveryPage()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("notes.pdf"));
        QPdfWriter writer(path);
        writer.setResolution(300);
        QVERIFY(writer.setPageLayout(PagedDocumentPainter::defaultPageLayout()));
        const QSizeF content = PagedDocumentPainter::contentSize(writer.pageLayout());
        // A4 less 15 mm all round is 180 mm wide: 680 device-independent pixels.
        QVERIFY2(qAbs(content.width() - 180 / 25.4 * 96) < 1, qPrintable(QString::number(content.width())));
        const auto pagination = paginated(paragraphs(120), content);
        QVERIFY(pagination->pageCount() >= 3);
        QList<int> progress;
        QVERIFY(PagedDocumentPainter(*pagination, QStringLiteral("notes.md"))
                    .print(writer, [&progress](int page, int) {
                        progress.append(page);
                        return true;
                    }));
        QCOMPARE(progress.size(), pagination->pageCount());
        QCOMPARE(countPdfPages(path), pagination->pageCount());

        // A range chosen in a print dialog: only those pages.
        const QString rangePath = folder.filePath(QStringLiteral("range.pdf"));
        QPdfWriter rangeWriter(rangePath);
        QVERIFY(rangeWriter.setPageLayout(PagedDocumentPainter::defaultPageLayout()));
        QPageRanges ranges;
        ranges.addRange(2, 3);
        rangeWriter.setPageRanges(ranges);
        progress.clear();
        QVERIFY(PagedDocumentPainter(*pagination, QStringLiteral("notes.md"))
                    .print(rangeWriter, [&progress](int page, int) {
                        progress.append(page);
                        return true;
                    }));
        QCOMPARE(progress, (QList<int>{1, 2}));
        QCOMPARE(countPdfPages(rangePath), 2);
    }
};

QTEST_MAIN(TestDocumentPagination)

#include "tst_documentpagination.moc"
