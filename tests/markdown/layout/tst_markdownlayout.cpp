// The block layout: the margin rule, lists and their markers, tables, code blocks, images and
// image flows, the colour-scheme fragments, splitting long texts, and a golden dump of a page
// with every construct.
#include "testimageprovider.h"

#include "markdown/document/markdowncontent.h"
#include "markdown/document/markdownparser.h"
#include "markdown/layout/document/headingoutline.h"
#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/document/markdownchunker_p.h"
#include "markdown/layout/nodes/colorschemeimagefilter_p.h"
#include "markdown/layout/nodes/inlinequeries_p.h"
#include "markdown/layout/nodes/layoutbuilder_p.h"
#include "markdown/layout/nodes/layoutimagenode_p.h"
#include "markdown/layout/nodes/layoutimagestore_p.h"
#include "markdown/layout/nodes/layoutnode_p.h"
#include "markdown/layout/nodes/layoutscrollnode_p.h"
#include "markdown/layout/nodes/layoutshapenode_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"
#include "markdown/layout/style/markerstyles.h"
#include "markdown/layout/text/longwordsplitter_p.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTextBoundaryFinder>

#include <functional>
#include <QRegularExpression>
#include <QtTest>

using namespace kestrune;

namespace {

constexpr DynamicColor rule = dynamicColor(1, 1, 1, 0.14f, 0.57f, 0.63f, 0.72f, 0.26f);

// A theme with the margins of a reading theme: paragraphs 14 below, list items 3 around.
Theme readingTheme()
{
    Theme theme;
    theme.text = TextStyle::fontSize(17);
    theme.paragraph = [](const BlockConfiguration &c) { return c.label.margin(0, 14); };
    theme.listItem = [](const BlockConfiguration &c) {
        return c.label.margin(RelativeSize::em(0.15), RelativeSize::em(0.15));
    };
    theme.headings[0] = [](const BlockConfiguration &c) {
        return BlockView::vstack(
            {c.label.padding(BlockView::bottom, RelativeSize::em(0.2))
                 .margin(24, 12)
                 .textStyle(TextStyle::fontWeight(QFont::Bold) + TextStyle::fontSize(RelativeSize::em(1.85))),
             BlockView::divider(rule).padding(BlockView::top, 4)});
    };
    theme.code = TextStyle::fontFamilyVariant(FontProperties::FamilyVariant::monospaced) +
                 TextStyle::fontSize(RelativeSize::em(0.92));
    theme.codeBlock = [](const CodeBlockConfiguration &c) {
        return BlockView::horizontalScroll(c.label.padding(RelativeSize::em(0.5))).padding(12).margin(0, 14);
    };
    theme.tableCell = [](const TableCellConfiguration &c) {
        return c.label.textStyle(c.row == 0 ? TextStyle::fontWeight(QFont::DemiBold) : TextStyle())
            .padding(BlockView::horizontal, RelativeSize::em(0.75))
            .padding(BlockView::vertical, RelativeSize::em(0.5));
    };
    theme.thematicBreak = [] {
        return BlockView::divider(rule).margin(RelativeSize::em(1.5), RelativeSize::em(1.5));
    };
    return theme;
}

struct Page
{
    std::unique_ptr<LayoutDocument> document = std::make_unique<LayoutDocument>();
    std::shared_ptr<TestImageProvider> images = std::make_shared<TestImageProvider>();

    explicit Page(const QString &markdown, qreal width = 600, Theme theme = readingTheme(),
                  Appearance appearance = Appearance::light)
    {
        MarkdownEnvironment environment;
        environment.theme = std::move(theme);
        environment.imageProvider = images;
        environment.inlineImageProvider = images;
        document->setEnvironment(environment);
        document->setAppearance(appearance);
        document->setWidth(width);
        document->setBlocks(MarkdownParser::parse(markdown));
    }

    QString dump()
    {
        document->layoutAll();
        return document->dump();
    }

    // Every node of the page in paint order, laid out.
    QList<LayoutNode *> nodes()
    {
        dump();
        QList<LayoutNode *> result;
        std::function<void(LayoutNode *)> walk = [&](LayoutNode *node) {
            result.append(node);
            for (int i = 0; i < node->childCount(); ++i)
                walk(node->child(i));
        };
        // The page hands its nodes out read-only; these tests also scroll them.
        for (int block = 0; block < document->blockCount(); ++block)
            walk(const_cast<LayoutNode *>(document->blockNode(block)));
        return result;
    }

    // The page painted in the light appearance on white, from its top.
    QImage paint(QSize size = {600, 200})
    {
        dump();
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        LayoutPaintContext context;
        context.painter = &painter;
        context.palette = QPalette(Qt::black, Qt::white);
        context.clip = QRectF(QPointF(0, 0), size);
        document->paint(context);
        return image;
    }

    QList<const LayoutTextNode *> texts()
    {
        dump();
        QList<const LayoutTextNode *> result;
        for (int index = 0; index < document->textCount(); ++index)
            result.append(document->textNode(index));
        return result;
    }
};

QRectF documentRect(const LayoutNode *node)
{
    return QRectF(node->mapToDocument(QPointF(0, 0)), node->size());
}

// Ink drawn in a colour close to `color` (each channel within `tolerance`).
int pixelsNear(const QImage &image, QColor color, int tolerance = 60, QRect area = {})
{
    const QRect bounds = area.isNull() ? image.rect() : area.intersected(image.rect());
    int count = 0;
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        for (int x = bounds.left(); x <= bounds.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) <= tolerance &&
                std::abs(pixel.green() - color.green()) <= tolerance &&
                std::abs(pixel.blue() - color.blue()) <= tolerance)
                ++count;
        }
    }
    return count;
}

// The smallest rectangle around the pixels close to `color`.
QRect boundsOf(const QImage &image, QColor color, int tolerance = 60)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pixelsNear(image, color, tolerance, QRect(x, y, 1, 1)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QStringList symbolsIn(const QString &dump)
{
    static const QRegularExpression symbol(QStringLiteral("symbol [^ ]+ [^ ]+ ([a-z.]+)"));
    QStringList names;
    auto it = symbol.globalMatch(dump);
    while (it.hasNext())
        names.append(it.next().captured(1));
    return names;
}

} // namespace

class TestMarkdownLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A rounded bar far taller than the clip (beside a long quote) is drawn only where the clip
    // shows it: solid across the clip's edges, rounded only at its own ends.
    void aTallBarIsPaintedSolidWithinTheClipAndRoundedAtItsEnds_data()
    {
        QTest::addColumn<qreal>("clipTop");
        QTest::addColumn<bool>("atTheTop");
        QTest::addRow("clip in the middle") << 50000.0 << false;
        QTest::addRow("clip at the top") << 0.0 << true;
    }

    void aTallBarIsPaintedSolidWithinTheClipAndRoundedAtItsEnds()
    {
        QFETCH(qreal, clipTop);
        QFETCH(bool, atTheTop);
        LayoutShapeNode bar(LayoutShapeNode::Kind::rectangle, dynamicColor(0, 0, 1, 1, 0, 0, 1, 1), 4);
        bar.layout(8);
        bar.stretchTo(100000);
        QImage image(8, 100, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(0, -clipTop);
        LayoutPaintContext context;
        context.painter = &painter;
        context.clip = QRectF(0, clipTop, 8, 100);
        bar.paint(context);
        painter.end();
        // The corner pixel of the bar's own top is left out by its rounding; across a clip's edge
        // the bar goes on.
        QCOMPARE(image.pixelColor(0, 0) == QColor(Qt::blue), !atTheTop);
        QCOMPARE(image.pixelColor(7, 0) == QColor(Qt::blue), !atTheTop);
        for (int y = 5; y < 100; ++y)
            QCOMPARE(image.pixelColor(0, y), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(4, 99), QColor(Qt::blue));
    }

    // A tall shape is filled in bands, each on the painting thread: the bands must give the very
    // pixels one fill of the whole shape gives, with no row painted twice (the colour of a quote's
    // bar is translucent), at a fractional position and on a display of two device pixels a point.
    void aShapeFilledInBandsLooksAsOneFill_data()
    {
        QTest::addColumn<qreal>("radius");
        QTest::addColumn<qreal>("pixelRatio");
        QTest::addRow("rounded bar") << 2.0 << 1.0;
        QTest::addRow("rounded bar, two pixels a point") << 2.0 << 2.0;
        QTest::addRow("square block") << 0.0 << 1.0;
    }

    void aShapeFilledInBandsLooksAsOneFill()
    {
        QFETCH(qreal, radius);
        QFETCH(qreal, pixelRatio);
        const DynamicColor translucent = dynamicColor(0, 0, 1, 0.26f, 0, 0, 1, 0.26f);
        LayoutShapeNode bar(LayoutShapeNode::Kind::rectangle, translucent, radius);
        bar.layout(4);
        bar.stretchTo(397.3);
        const auto paint = [&](bool whole) {
            QImage image(QSize(16, 420) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(pixelRatio);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.translate(5.37, 7.61);
            if (whole) {
                painter.setRenderHint(QPainter::Antialiasing, radius > 0);
                painter.setPen(Qt::NoPen);
                painter.setBrush(translucent.resolve(Appearance::light));
                if (radius > 0)
                    painter.drawRoundedRect(QRectF(QPointF(), bar.size()), radius, radius);
                else
                    painter.fillRect(QRectF(QPointF(), bar.size()), translucent.resolve(Appearance::light));
            } else {
                LayoutPaintContext context;
                context.painter = &painter;
                context.clip = QRectF(-10, -10, 40, 440);
                bar.paint(context);
            }
            return image;
        };
        const QImage banded = paint(false);
        const QImage whole = paint(true);
        int largest = 0;
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                const QColor a = banded.pixelColor(x, y);
                const QColor b = whole.pixelColor(x, y);
                largest = std::max({largest, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                                    std::abs(a.blue() - b.blue())});
            }
        }
        QVERIFY2(largest <= 2, qPrintable(QStringLiteral("a channel differs by %1").arg(largest)));
        // The middle of the bar, ink all the way down.
        const QColor ink = whole.pixelColor(int(7 * pixelRatio), int(200 * pixelRatio));
        QVERIFY(ink != QColor(Qt::white));
        for (int y = int(20 * pixelRatio); y < int(390 * pixelRatio); ++y)
            QCOMPARE(banded.pixelColor(int(7 * pixelRatio), y), ink);
    }

    void marginRule_data()
    {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<qreal>("gap"); // between the first two texts

        QTest::addRow("paragraphs 14 apart") << "one\n\ntwo" << 14.0;
        QTest::addRow("the larger of bottom and top margin") << "one\n\n# Two" << 24.0;
        QTest::addRow("tight list: items by their top margins only") << "- one\n- two" << 3.0;
        QTest::addRow("loose list: paragraph bottoms between items") << "- one\n\n- two" << 14.0;
        QTest::addRow("tight list ignores bottoms between blocks of one item") << "- one\n  - two" << 3.0;
    }

    void marginRule()
    {
        QFETCH(QString, markdown);
        QFETCH(qreal, gap);
        Page page(markdown);
        const QList<const LayoutTextNode *> texts = page.texts();
        QVERIFY(texts.size() >= 2);
        QCOMPARE(documentRect(texts[1]).top() - documentRect(texts[0]).bottom(), gap);
    }

    void firstBlockHasNothingAbove()
    {
        Page page(QStringLiteral("# Title\n\ntext"));
        QCOMPARE(documentRect(page.texts().first()).top(), 0.0);
    }

    void numberedMarkersShareTheWidestWidth()
    {
        Page page(QStringLiteral("8. eight\n9. nine\n10. ten"), 600, Theme());
        const QString dump = page.dump();
        QList<QRectF> markers;
        for (LayoutNode *node : page.nodes()) {
            if (auto *text = dynamic_cast<LayoutTextNode *>(node); text && text->documentIndex() < 0)
                markers.append(documentRect(node->parent())); // the marker's frame
        }
        QCOMPARE(markers.size(), 3);
        QVERIFY2(dump.contains(QLatin1String("\"8.\"")) && dump.contains(QLatin1String("\"10.\"")),
                 qPrintable(dump));
        // Each marker sits trailing-aligned in a column as wide as the widest ("10.").
        for (const QRectF &marker : markers)
            QCOMPARE(marker.right(), markers.last().right());
        QVERIFY(markers.first().width() <= markers.last().width());
        // The item texts line up.
        const QList<const LayoutTextNode *> texts = page.texts();
        QCOMPARE(documentRect(texts[0]).left(), documentRect(texts[2]).left());
    }

    void bulletShapesByLevel()
    {
        Page page(QStringLiteral("- a\n  - b\n    - c\n      - d\n        - e"), 600, Theme());
        QCOMPARE(symbolsIn(page.dump()),
                 QStringList({"circle.fill", "circle", "square.fill", "square.fill", "square.fill"}));
        QCOMPARE(MarkerStyles::romanNumeral(1994), QStringLiteral("MCMXCIV"));
    }

    void bulletsAreAThirdOfTheTextSize()
    {
        Page page(QStringLiteral("- a"));
        static const QRegularExpression symbol(
            QStringLiteral("symbol [^ ]+ 6x6 circle.fill")); // round(17 / 3)
        QVERIFY2(symbol.match(page.dump()).hasMatch(), qPrintable(page.dump()));
    }

    void taskMarkers()
    {
        Page page(QStringLiteral("- [x] done\n- [ ] open"), 600, Theme());
        QCOMPARE(symbolsIn(page.dump()), QStringList({"checkmark.square.fill", "square"}));
    }

    void tableColumnAlignment()
    {
        Page page(QStringLiteral(
            "| L | C | R |\n|:--|:-:|--:|\n| long left | long centre | 1 |\n| x | y | 22222 |"));
        const QList<const LayoutTextNode *> texts = page.texts();
        QCOMPARE(texts.size(), 9);
        // Right column: every cell, the header's included, ends at the same x.
        const qreal right = documentRect(texts[2]->parent()).right();
        QCOMPARE(documentRect(texts[5]->parent()).right(), right);
        QCOMPARE(documentRect(texts[8]->parent()).right(), right);
        QVERIFY(documentRect(texts[2]).width() < documentRect(texts[8]).width());
        // Left column starts together; centre column cells share a centre.
        QCOMPARE(documentRect(texts[0]).left(), documentRect(texts[3]).left());
        QCOMPARE(documentRect(texts[1]->parent()).center().x(),
                 documentRect(texts[7]->parent()).center().x());
        // Cells of a row share a height, so the row below starts at one y.
        QCOMPARE(documentRect(texts[3]->parent()).center().y(),
                 documentRect(texts[5]->parent()).center().y());
        QVERIFY(page.dump().contains(QLatin1String("\"L\" font 17px weight 600")));
    }

    void tableColumnsShareANarrowWidth()
    {
        const QString words = QStringLiteral("word ").repeated(40);
        Page page(QStringLiteral("| a | b |\n|---|---|\n| %1 | %1 |").arg(words), 300);
        page.dump();
        const QList<const LayoutTextNode *> texts = page.texts();
        for (const LayoutTextNode *text : texts)
            QVERIFY(documentRect(text->parent()).right() <= 300);
    }

    // Columns shrink to their widest word and no further: a table whose words do not fit
    // scrolls sideways in a box of the page's width, every word whole on its line.
    void wideTablesScrollRatherThanBreakWords()
    {
        const QString header = QStringLiteral("| Requirement ").repeated(8) + QStringLiteral("|\n");
        const QString rule = QStringLiteral("|---").repeated(8) + QStringLiteral("|\n");
        const QString row = QStringLiteral("| Specification ").repeated(8) + QStringLiteral("|\n");
        Page page(header + rule + row + QStringLiteral("\nafter"), 400);
        LayoutScrollNode *scroll = nullptr;
        for (LayoutNode *node : page.nodes()) {
            if (auto *found = dynamic_cast<LayoutScrollNode *>(node))
                scroll = found;
        }
        QVERIFY(scroll);
        QCOMPARE(scroll->size().width(), 400.0);
        QVERIFY(scroll->child(0)->size().width() > 800);
        QVERIFY(scroll->maximumOffset() > 0);
        QVERIFY(!scroll->indicatorTrack().isEmpty());
        const QList<const LayoutTextNode *> texts = page.texts();
        QCOMPARE(texts.size(), 17);
        // One line each: a cell's text is as tall as the paragraph's single line.
        const qreal lineHeight = texts.last()->size().height();
        for (qsizetype i = 0; i < 16; ++i)
            QCOMPARE(texts[i]->size().height(), lineHeight);

        // A table that fits with its words whole wraps between them and does not scroll.
        Page narrow(
            QStringLiteral("| a | b |\n|---|---|\n| %1 | %1 |").arg(QStringLiteral("word ").repeated(40)),
            300);
        for (LayoutNode *node : narrow.nodes()) {
            if (auto *found = dynamic_cast<LayoutScrollNode *>(node))
                QCOMPARE(found->maximumOffset(), 0.0);
        }
    }

    void codeBlockFinalLineFeeds_data()
    {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<QString>("text");
        QTest::addRow("one final line feed is dropped") << "```\na\n```"
                                                        << "a";
        QTest::addRow("two leave one empty line") << "```\na\n\n```"
                                                  << "a\n";
        QTest::addRow("indented block") << "    a\n    b"
                                        << "a\nb";
    }

    void codeBlockFinalLineFeeds()
    {
        QFETCH(QString, markdown);
        QFETCH(QString, text);
        Page page(markdown);
        QCOMPARE(page.texts().first()->plainText(), text);
    }

    void codeScrollsOnItsOwn()
    {
        Page page(QStringLiteral("```\n%1\n```\n\nafter").arg(QStringLiteral("x").repeated(400)), 300);
        const QString dump = page.dump();
        QVERIFY2(dump.contains(QLatin1String("scroll ")), qPrintable(dump));
        for (LayoutNode *node : page.nodes()) {
            if (!node->parent())
                QVERIFY(node->size().width() <= 300);
        }
        QVERIFY(page.texts().first()->size().width() > 1000);
    }

    void everyRunOfALinkKeepsTheLinkColour()
    {
        // Black body text, blue links, green code spans on grey: no run of the link may fall
        // back to black, whatever it adds (weight, slant, strike-through, or following code).
        constexpr DynamicColor black = dynamicColor(0, 0, 0, 1, 0, 0, 0, 1);
        constexpr DynamicColor blue = dynamicColor(0, 0, 1, 1, 0, 0, 1, 1);
        constexpr DynamicColor green = dynamicColor(0, 0.67f, 0, 1, 0, 0.67f, 0, 1);
        constexpr DynamicColor grey = dynamicColor(0.86f, 0.86f, 0.86f, 1, 0.86f, 0.86f, 0.86f, 1);
        Theme theme = readingTheme();
        theme.text = TextStyle::fontSize(17) + TextStyle::foregroundColor(black);
        theme.link = TextStyle::foregroundColor(blue);
        theme.code = theme.code + TextStyle::foregroundColor(green) + TextStyle::backgroundColor(grey);
        // Body text opens the paragraph, so the link's colour differs from the text's own; the
        // link follows on a line of its own, below the body line's ink.
        Page body(QStringLiteral("body"), 600, theme);
        const int bodyBottom = boundsOf(body.paint(), Qt::black, 100).bottom();
        QVERIFY(bodyBottom > 0);
        for (const QString &link :
             {QStringLiteral("[aaa **bbb** ccc *ddd* eee](https://x)"),
              QStringLiteral("[aaa `x` fff ~~ggg~~ hhh](https://x)"),
              QStringLiteral("[**bold** and ~~struck~~ and `code` then plain](https://x)")}) {
            Page page(QStringLiteral("body\\\n") + link, 600, theme);
            const QImage image = page.paint();
            const QRect below(0, bodyBottom + 3, 600, 200);
            QVERIFY2(pixelsNear(image, Qt::blue, 60, below) > 50, qPrintable(link));
            QVERIFY2(pixelsNear(image, Qt::black, 100, below) == 0, qPrintable(link));
        }
    }

    void inlineImagesKeepTheirWidthInTheLine()
    {
        // An 80-point image is wider than "after."; drawn over the text it would hide all of it.
        Page single(QStringLiteral("before ![i](https://x/i.png) after."), 600, Theme());
        single.images->sizes.insert(QUrl(QStringLiteral("https://x/i.png")), QSize(80, 20));
        QTRY_VERIFY(pixelsNear(single.paint(), Qt::red) > 0);
        QImage image = single.paint();
        QRect red = boundsOf(image, Qt::red);
        QVERIFY2(red.width() >= 79 && red.width() <= 81, qPrintable(QString::number(red.width())));
        QVERIFY(pixelsNear(image, Qt::black, 100, QRect(0, red.top(), red.left(), red.height())) > 20);
        QVERIFY(pixelsNear(image, Qt::black, 100, QRect(red.right() + 1, red.top(), 600, red.height())) > 20);

        // Two images side by side take the width of both.
        Page pair(QStringLiteral("![a](https://x/a.png)![b](https://x/b.png) after"), 600, Theme());
        pair.images->sizes.insert(QUrl(QStringLiteral("https://x/a.png")), QSize(40, 20));
        pair.images->sizes.insert(QUrl(QStringLiteral("https://x/b.png")), QSize(40, 20));
        QTRY_VERIFY(pixelsNear(pair.paint(), Qt::red) > 1000);
        image = pair.paint();
        red = boundsOf(image, Qt::red);
        QVERIFY2(red.width() >= 79, qPrintable(QString::number(red.width())));
        QVERIFY(pixelsNear(image, Qt::red) >= 2 * 40 * 20 - 2 * 20);
        QVERIFY(pixelsNear(image, Qt::black, 100, QRect(red.right() + 1, red.top(), 600, red.height())) > 20);
    }

    void scrollIndicatorOnlyForWideCodeAndBelowIt()
    {
        for (const bool wide : {false, true}) {
            const QString line = wide ? QStringLiteral("gjpqy ").repeated(80) : QStringLiteral("gjpqy");
            Page page(QStringLiteral("```\n%1\n```\n\nafter").arg(line), 400);
            LayoutScrollNode *scroll = nullptr;
            for (LayoutNode *node : page.nodes()) {
                if (auto *found = dynamic_cast<LayoutScrollNode *>(node))
                    scroll = found;
            }
            QVERIFY(scroll);
            const qreal contentHeight = scroll->child(0)->size().height();
            QCOMPARE(scroll->indicatorTrack().isEmpty(), !wide);
            if (!wide) {
                QCOMPARE(scroll->size().height(), contentHeight);
                QCOMPARE(scroll->maximumOffset(), 0.0);
                continue;
            }
            // The indicator lies below the code's last line, inside the block.
            QVERIFY2(
                scroll->indicatorTrack().top() >= contentHeight,
                qPrintable(QStringLiteral("%1 < %2").arg(scroll->indicatorTrack().top()).arg(contentHeight)));
            QVERIFY(scroll->indicatorTrack().bottom() <= scroll->size().height());
            QVERIFY(scroll->maximumOffset() > 0);
        }
    }

    void imageResizeToFit_data()
    {
        QTest::addColumn<QSizeF>("natural");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<QSizeF>("fitted");
        QTest::addRow("wider than the column: the column's width, half the height")
            << QSizeF(800, 300) << 400.0 << QSizeF(400, 150);
        QTest::addRow("narrower: never enlarged") << QSizeF(200, 100) << 400.0 << QSizeF(200, 100);
        QTest::addRow("ideal width: natural")
            << QSizeF(800, 300) << LayoutNode::unbounded << QSizeF(800, 300);
        QTest::addRow("not loaded: no room") << QSizeF() << 400.0 << QSizeF(0, 0);
    }

    void imageResizeToFit()
    {
        QFETCH(QSizeF, natural);
        QFETCH(qreal, width);
        QFETCH(QSizeF, fitted);
        QCOMPARE(LayoutImageNode::fittedSize(natural, width), fitted);
    }

    void imageBlockAndFlow_data()
    {
        QTest::addColumn<QString>("markdown");
        // Node kinds in the dump, in order. The test provider has none of these images, so each
        // image block shows its fallback text.
        QTest::addColumn<QString>("expected");
        QTest::addRow("one image alone is an image block") << "![a](https://x/a.png)"
                                                           << "image text";
        QTest::addRow("a linked image alone too") << "[![a](https://x/a.png)](https://x)"
                                                  << "image text";
        QTest::addRow("two images separated by a space are a flow")
            << "![a](https://x/a.png) ![b](https://x/b.png)"
            << "flow image text image text";
        QTest::addRow("an image in text stays inline") << "see ![a](https://x/a.png) here"
                                                       << "text";
    }

    void imageBlockAndFlow()
    {
        QFETCH(QString, markdown);
        QFETCH(QString, expected);
        Page page(markdown);
        QStringList kinds;
        for (const QString &line : page.dump().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            kinds.append(line.trimmed().section(QLatin1Char(' '), 0, 0));
        QCOMPARE(kinds.join(QLatin1Char(' ')), expected);
    }

    // An image that cannot be loaded leaves a trace: the failed-image symbol and its
    // alternative text in the secondary colour, in a block of its own or in its line, once
    // the failure is known.
    void failedImagesShowTheirAlternativeText()
    {
        constexpr DynamicColor black = dynamicColor(0, 0, 0, 1, 0, 0, 0, 1);
        Theme theme = readingTheme();
        theme.text = TextStyle::fontSize(17) + TextStyle::foregroundColor(black);
        Page page(QString(), 600, theme);
        page.images->deferred = true;
        QSignalSpy invalidated(page.document.get(), &LayoutDocument::layoutInvalidated);
        page.document->setBlocks(MarkdownParser::parse(QStringLiteral(
            "![missing picture](https://x/missing.png)\n\nbefore ![gone](https://x/gone.png) after")));
        QVERIFY(!page.dump().contains(QLatin1String("missing picture")));
        QVERIFY(!page.texts().constFirst()->plainText().contains(QLatin1String("gone")));

        page.images->release();
        QTRY_VERIFY(invalidated.count() > 0);
        QTRY_VERIFY(page.dump().contains(QLatin1String("missing picture")));
        const QString inlineText = page.texts().constFirst()->plainText();
        QVERIFY2(inlineText.startsWith(QLatin1String("before ")) &&
                     inlineText.contains(QLatin1String("gone")) &&
                     inlineText.endsWith(QLatin1String(" after")),
                 qPrintable(inlineText));

        // Secondary ink (black at half strength on white) for the symbols and both texts; the
        // body text stays black.
        const QImage image = page.paint();
        const QRect secondary = boundsOf(image, QColor(128, 128, 128), 24);
        QVERIFY(!secondary.isEmpty());
        QVERIFY2(secondary.left() < 4, qPrintable(QString::number(secondary.left())));
        const QRect body = boundsOf(image, Qt::black, 40);
        QVERIFY(!body.isEmpty());
        QVERIFY2(secondary.top() < body.top() && secondary.bottom() >= body.top(),
                 "the block's alternative text above the paragraph's line, the inline one in it");
    }

    void flowLayoutRows()
    {
        // 100-point images in a 250-point column: two to a row (100 + 3.25 + 100), a break ends
        // a row, items sit on the bottom of their row.
        Page page(
            QStringLiteral(
                "![](https://x/1.png) ![](https://x/2.png) ![](https://x/3.png)  \n![](https://x/4.png)"),
            250, Theme());
        for (int i = 1; i <= 4; ++i)
            page.images->sizes.insert(QUrl(QStringLiteral("https://x/%1.png").arg(i)),
                                      QSize(100, i == 2 ? 50 : 30));
        QTRY_VERIFY(page.dump().contains(QLatin1String("100x50")));
        const QString dump = page.dump();
        QStringList positions;
        for (const QString &line : dump.split(QLatin1Char('\n'))) {
            if (line.trimmed().startsWith(QLatin1String("image")))
                positions.append(line.trimmed().section(QLatin1Char(' '), 1, 1));
        }
        QCOMPARE(positions, QStringList({"0,20", "103.25,0", "0,53.25", "0,86.5"}));
    }

    void colourSchemeFragments_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("inLight");
        QTest::addColumn<bool>("inDark");
        QTest::addRow("dark only") << "https://x/a.png#gh-dark-mode-only" << false << true;
        QTest::addRow("light only, any case") << "https://x/a.png#GH-Light-Mode-Only" << true << false;
        QTest::addRow("other fragment") << "https://x/a.png#top" << true << true;
        QTest::addRow("no fragment") << "https://x/a.png" << true << true;
    }

    void colourSchemeFragments()
    {
        QFETCH(QString, source);
        QFETCH(bool, inLight);
        QFETCH(bool, inDark);
        const BlockNode block = MarkdownParser::parse(QStringLiteral("> text ![i](%1)").arg(source)).first();
        const auto count = [](const BlockNode &b) {
            return b.as<Block::Blockquote>()->children.first().inlines()->size();
        };
        bool found = false;
        const BlockNode light =
            ColorSchemeImageFilter::withoutOtherSchemeImages(block, Appearance::light, &found);
        QCOMPARE(found, source.contains(QLatin1String("mode-only"), Qt::CaseInsensitive));
        const BlockNode dark = ColorSchemeImageFilter::withoutOtherSchemeImages(block, Appearance::dark);
        QCOMPARE(count(light), inLight ? 2 : 1);
        QCOMPARE(count(dark), inDark ? 2 : 1);
    }

    void colourSchemeImagesInContainers_data()
    {
        // Each image of the other scheme sits between two words, so the page without it reads
        // as the words with one space between them.
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<QString>("inLight");
        QTest::addColumn<QString>("inDark");
        const QString dark = QStringLiteral("![d](https://x/d.png#gh-dark-mode-only)");
        const QString light = QStringLiteral("![l](https://x/l.png#gh-light-mode-only)");
        QTest::addRow("emphasis in a bulleted list")
            << QStringLiteral("- *a %1b*\n- c").arg(dark) << "- *a b*\n- c"
            << QStringLiteral("- *a %1b*\n- c").arg(dark);
        QTest::addRow("link in a numbered list")
            << QStringLiteral("3. [a %1b](https://t)").arg(light)
            << QStringLiteral("3. [a %1b](https://t)").arg(light) << "3. [a b](https://t)";
        QTest::addRow("task list keeps its marks")
            << QStringLiteral("- [x] a %1b\n- [ ] c %2d").arg(dark, light)
            << QStringLiteral("- [x] a b\n- [ ] c %1d").arg(light)
            << QStringLiteral("- [x] a %1b\n- [ ] c d").arg(dark);
        QTest::addRow("table cell") << QStringLiteral("| h | i |\n| :- | -: |\n| a %1b | c |").arg(dark)
                                    << "| h | i |\n| :- | -: |\n| a b | c |"
                                    << QStringLiteral("| h | i |\n| :- | -: |\n| a %1b | c |").arg(dark);
        QTest::addRow("strikethrough in a heading")
            << QStringLiteral("## ~~a %1b~~").arg(light) << QStringLiteral("## ~~a %1b~~").arg(light)
            << "## ~~a b~~";
        QTest::addRow("nested quote, strong") << QStringLiteral("> > **a %1b**").arg(dark) << "> > **a b**"
                                              << QStringLiteral("> > **a %1b**").arg(dark);
    }

    void colourSchemeImagesInContainers()
    {
        QFETCH(QString, markdown);
        QFETCH(QString, inLight);
        QFETCH(QString, inDark);
        const BlockNode block = MarkdownParser::parse(markdown).first();
        const auto rendered = [](const BlockNode &b) {
            return MarkdownContent(QList<BlockNode>{b}).renderCommonMark();
        };
        const auto expected = [](const QString &text) { return MarkdownContent(text).renderCommonMark(); };
        bool found = false;
        QCOMPARE(rendered(ColorSchemeImageFilter::withoutOtherSchemeImages(block, Appearance::light, &found)),
                 expected(inLight));
        QVERIFY(found);
        found = false;
        QCOMPARE(rendered(ColorSchemeImageFilter::withoutOtherSchemeImages(block, Appearance::dark, &found)),
                 expected(inDark));
        QVERIFY(found);
    }

    void headingIdentifiers_data()
    {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<QString>("identifier");
        QTest::addRow("words") << "# Hello, World!"
                               << "hello-world";
        QTest::addRow("code and emphasis") << "## The `Theme` *value* 2"
                                           << "the-theme-value-2";
        QTest::addRow("non-latin letters") << "### Größe über alles"
                                           << "größe-über-alles";
    }

    void headingIdentifiers()
    {
        QFETCH(QString, markdown);
        QFETCH(QString, identifier);
        QCOMPARE(InlineQueries::headingIdentifier(*MarkdownParser::parse(markdown).first().inlines()),
                 identifier);
    }

    void chunksParseLikeTheWhole()
    {
        QString text;
        for (int i = 0; i < 200; ++i) {
            text += QStringLiteral("# Section %1\n\nSome *text* for section %1.\n\n").arg(i);
            text += QStringLiteral("```\n# not a heading %1\n\n# still code\n```\n\n").arg(i);
            text += QStringLiteral("<!--\n\n# hidden %1\n\n-->\n\n- item\n- item\n\n").arg(i);
        }
        const QList<QStringView> pieces = MarkdownChunker::split(text, 1000);
        QVERIFY(pieces.size() > 10);
        QList<BlockNode> joined;
        for (QStringView piece : pieces) {
            QVERIFY(piece.startsWith(u"# Section") || piece.data() == text.constData());
            joined += MarkdownParser::parse(piece.toString());
        }
        QCOMPARE(joined, MarkdownParser::parse(text));

        // A smaller first piece, for the first screen, and the rest as before.
        const QList<QStringView> quick = MarkdownChunker::split(text, 1000, 200);
        QVERIFY(quick.first().size() >= 200 && quick.first().size() < pieces.first().size());
        QList<BlockNode> quickJoined;
        for (QStringView piece : quick)
            quickJoined += MarkdownParser::parse(piece.toString());
        QCOMPARE(quickJoined, joined);

        // Footnotes are numbered over the whole text: a text with notes stays in one piece.
        const QString withNotes = text + QStringLiteral("\nSee[^n].\n\n# Notes\n\n[^n]: The note.\n");
        QCOMPARE(MarkdownChunker::split(withNotes, 1000).size(), 1);

        // Lines ended by CR LF or by a lone carriage return split as the parser reads them.
        for (const QString &lineEnd : {QStringLiteral("\r\n"), QStringLiteral("\r")}) {
            QString written = text;
            written.replace(QLatin1Char('\n'), lineEnd);
            const QList<QStringView> writtenPieces = MarkdownChunker::split(written, 1000);
            QVERIFY(writtenPieces.size() > 10);
            QList<BlockNode> writtenJoined;
            for (QStringView piece : writtenPieces)
                writtenJoined += MarkdownParser::parse(piece.toString());
            QCOMPARE(writtenJoined, MarkdownParser::parse(written));
        }
    }

    // Links reach a note at its first text and a reference at its own line, also deep in a
    // paragraph and in a page whose far blocks were parked and built again.
    void footnotePlacesAreReachedWhereTheyStand()
    {
        const QString words = QStringLiteral("word ").repeated(80);
        Page page(QStringLiteral("Start ") + words + QStringLiteral("cited[^far] end.\n\n# Heading\n\n") +
                      QStringLiteral("Unreferenced [^none] stays text.\n\n[^far]: The note.\n"),
                  300);
        page.dump();
        const std::optional<qreal> paragraph = page.document->headingTop(QStringLiteral("heading"));
        const std::optional<qreal> reference = page.document->headingTop(QStringLiteral("fnref-far"));
        const std::optional<qreal> note = page.document->headingTop(QStringLiteral("fn-far"));
        QVERIFY(paragraph && reference && note);
        // The reference stands on a later line of the first paragraph, not at its top.
        QVERIFY(*reference > 60);
        QVERIFY(*reference < *paragraph);
        QVERIFY(*note > *paragraph);
        QVERIFY(!page.document->headingTop(QStringLiteral("fnref-none")));
        QVERIFY(!page.document->headingTop(QStringLiteral("fn-none")));
        // A note is not a heading of the outline.
        QCOMPARE(HeadingOutline::of(MarkdownParser::parse(QStringLiteral("A[^n]\n\n[^n]: N\n"))).size(), 0);
    }

    // Headings of one identifier are numbered as HTML anchors number them, in the outline and on
    // the page alike, so "#login-1" leads to the second "Login".
    void repeatedHeadingsAreReachedByTheirNumberedIdentifiers()
    {
        const QString words = QStringLiteral("word ").repeated(80);
        const QString text = QStringLiteral("# Login\n\n") + words + QStringLiteral("\n\n## Login\n\n") +
                             words + QStringLiteral("\n\n> ## Login\n\n") + words +
                             QStringLiteral("\n\n## Login 1\n");
        const QStringList identifiers({"login", "login-1", "login-2", "login-1-1"});
        QStringList outline;
        for (const HeadingOutline::Heading &heading : HeadingOutline::of(MarkdownParser::parse(text)))
            outline.append(heading.identifier);
        QCOMPARE(outline, identifiers);

        Page page(text, 300);
        qreal previous = -1;
        for (const QString &identifier : identifiers) {
            const std::optional<qreal> top = page.document->headingTop(identifier);
            QVERIFY2(top && *top > previous, qPrintable(identifier));
            previous = *top;
        }
        QVERIFY(!page.document->headingTop(QStringLiteral("login-3")));
    }

    void deepNestingLaysOut()
    {
        Page deepQuotes(QString(5000, QLatin1Char('>')) + QStringLiteral(" deep"));
        QVERIFY(deepQuotes.dump().contains(QLatin1String("deep")));
        QString lists;
        for (int i = 0; i < 200; ++i)
            lists += QString(i * 2, QLatin1Char(' ')) + QStringLiteral("- level\n");
        Page deepLists(lists);
        QVERIFY(!deepLists.dump().isEmpty());
    }

    // Past the model's nesting bound the deepest item holds every deeper item's paragraph.
    // Lists stop indenting before their text runs out of room, so each "a" keeps a line of
    // its own inside the page instead of running off its edge into the next one.
    void deeplyNestedListsKeepTheirWordsApart()
    {
        QString lists;
        for (int i = 0; i < 1000; ++i)
            lists += QString(i * 2, QLatin1Char(' ')) + QStringLiteral("- a\n");
        Page page(lists, 600);
        page.dump();
        QList<QRectF> words;
        for (const LayoutTextNode *text : page.texts())
            words.append(QRectF(text->mapToDocument({0, 0}), text->size()));
        QCOMPARE(words.size(), 1000);
        std::sort(words.begin(), words.end(),
                  [](const QRectF &a, const QRectF &b) { return a.top() < b.top(); });
        for (qsizetype i = 0; i < words.size(); ++i) {
            QVERIFY2(words[i].left() >= 0 && words[i].right() <= 600, qPrintable(QString::number(i)));
            QVERIFY(words[i].width() > 0);
            if (i > 0)
                QVERIFY2(words[i].top() >= words[i - 1].bottom() - 0.01, qPrintable(QString::number(i)));
        }
    }

    // A word with no break opportunity in 200,000 characters, alone and in a table cell, gets
    // one at most every LongWordSplitter::longestRun characters, so that wrapping looks no
    // further than that for the end of a word. The laid-out lines stay within the width, the
    // word is still one word, and it copies and paints selected as it was written.
    void veryLongWordsLayOutInBoundedPieces_data()
    {
        QTest::addColumn<QString>("markdown");
        const QString word = QStringLiteral("x").repeated(200000);
        QTest::newRow("paragraph") << word;
        QTest::newRow("table cell") << QStringLiteral("| a | b |\n|---|---|\n| %1 | b |").arg(word);
    }

    void veryLongWordsLayOutInBoundedPieces()
    {
        QFETCH(QString, markdown);
        const QString word = QStringLiteral("x").repeated(200000);
        Page page(markdown, 600);
        const QList<const LayoutTextNode *> texts = page.texts();
        const auto found = std::find_if(texts.begin(), texts.end(),
                                        [](const LayoutTextNode *text) { return text->length() > 1000; });
        QVERIFY(found != texts.end());
        const LayoutTextNode *text = *found;
        QCOMPARE(text->plainText(), word);

        const QString laidOut = text->layoutText();
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, laidOut);
        int longestRun = 0;
        for (int previous = 0, next = breaks.toNextBoundary(); next >= 0;
             previous = next, next = breaks.toNextBoundary())
            longestRun = std::max(longestRun, next - previous);
        QVERIFY2(longestRun <= LongWordSplitter::longestRun, qPrintable(QString::number(longestRun)));
        const QList<std::pair<int, int>> lines = text->lineRanges();
        QVERIFY(lines.size() > 100);
        for (const auto &[start, length] : lines)
            QVERIFY(length <= LongWordSplitter::longestRun);
        QVERIFY(documentRect(text).right() <=
                (text->parent() ? documentRect(text->parent()).right() : 600)); // the cell's box

        const LayoutSelection selection = page.document->wordSelection({text->documentIndex(), 100000});
        QCOMPARE(page.document->text(selection), word);
        QImage image(600, 200, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        LayoutPaintContext context;
        context.painter = &painter;
        context.palette = QPalette(Qt::black, Qt::white);
        context.palette.setColor(QPalette::Highlight, Qt::blue);
        context.clip = QRectF(image.rect());
        context.selection = &selection;
        page.document->paint(context);
        painter.end();
        QVERIFY(pixelsNear(image, Qt::blue, 60, QRect(0, 0, 600, 200)) > 10000);
    }

    // A horizontal stack measures its children before it places them. Were the measuring a
    // layout of its own, every level of nested quotes would lay out the next one twice and
    // 64 levels would never finish.
    void deeplyNestedStacksLayOutOnce()
    {
        Theme theme = readingTheme();
        theme.blockquote = [](const BlockConfiguration &c) {
            return BlockView::hstack(
                {BlockView::rectangle(rule, 2).frame(4), c.label.padding(BlockView::leading, 8)});
        };
        QString quotes;
        for (int i = 1; i <= 70; ++i)
            quotes += QString(i, QLatin1Char('>')) + QStringLiteral(" q%1\n").arg(i) +
                      QString(i, QLatin1Char('>')) + QLatin1Char('\n');
        Page page(quotes, 2000, theme);
        const QString dump = page.dump();
        QVERIFY(dump.contains(QLatin1String("q70")));
    }

    // Quotes nested 32 deep, each indented by a bar, a gap and padding that 32 levels could never
    // hold in 600 px: gaps and padding give way, so every quote's words stay inside the page,
    // whole, instead of a line per letter past its edge.
    void deeplyNestedQuotesKeepTheirTextInsideThePage()
    {
        Theme theme = readingTheme();
        theme.blockquote = [](const BlockConfiguration &c) {
            return BlockView::hstack(
                {BlockView::rectangle(rule, 2).frame(4), c.label.padding(BlockView::leading, 16)},
                BlockView::VerticalAlignment::top, 10);
        };
        QString quotes;
        constexpr int depth = 32;
        for (int i = 1; i <= depth; ++i)
            quotes += QString(i, QLatin1Char('>')) + QStringLiteral(" word word\n") +
                      QString(i, QLatin1Char('>')) + QLatin1Char('\n');
        Page page(quotes, 600, theme);
        page.dump();
        const QList<const LayoutTextNode *> texts = page.texts();
        QCOMPARE(texts.size(), depth);
        for (const LayoutTextNode *text : texts) {
            const QRectF box = documentRect(text);
            QVERIFY2(box.left() >= 0 && box.right() <= 600, qPrintable(QString::number(box.right())));
            QVERIFY(text->lineRanges().size() <= 2); // never a line per letter
        }
    }

    // Decoded pictures stay within the store's budget: the least recently used goes first,
    // keeps its size meanwhile, and loads again when it is next asked for.
    void imagesStayWithinTheirBudget()
    {
        TestImageProvider provider;
        QList<QUrl> urls;
        for (int index = 0; index < 4; ++index) {
            urls.append(QUrl(QStringLiteral("https://example.org/%1.png").arg(index)));
            provider.sizes.insert(urls.last(), QSize(1000, 1000)); // 4 MB decoded
        }
        LayoutImageStore store;
        store.setBudget(qint64(10) << 20, std::chrono::milliseconds(0));
        for (const QUrl &url : urls) {
            QVERIFY(!store.image(url, &provider));
            QTRY_VERIFY(store.image(url, &provider));
        }
        QVERIFY(store.decodedBytes() <= qint64(10) << 20);
        QCOMPARE(store.loadedSize(urls[0], &provider), QSize(1000, 1000));
        QVERIFY(!store.image(urls[0], &provider)); // let go, and asked for again
        QTRY_VERIFY(store.image(urls[0], &provider));
        QVERIFY(store.decodedBytes() <= qint64(10) << 20);
        QCOMPARE(provider.requests.count(urls[0]), 2);
        QCOMPARE(provider.requests.count(urls[3]), 1);

        // Used just now, a screenful is kept whatever the budget.
        LayoutImageStore busy;
        busy.setBudget(qint64(1) << 20, std::chrono::hours(1));
        for (const QUrl &url : urls) {
            busy.image(url, &provider);
            QTRY_VERIFY(busy.image(url, &provider));
        }
        QCOMPARE(busy.decodedBytes(), qint64(4) * QImage(1000, 1000, QImage::Format_ARGB32).sizeInBytes());
    }

    void goldenPage()
    {
        Page page(
            [] {
                QFile file(QStringLiteral(LAYOUT_DATA_DIR "/everything.md"));
                return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
            }(),
            800);
        const QString dump = page.dump();
        const QString path = QStringLiteral(LAYOUT_DATA_DIR "/everything.layout.txt");
        if (qEnvironmentVariableIsSet("KESTRUNE_UPDATE_GOLDEN")) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(dump.toUtf8());
        }
        QFile reference(path);
        QVERIFY2(reference.open(QIODevice::ReadOnly),
                 "run with KESTRUNE_UPDATE_GOLDEN=1 to write the reference");
        const QStringList expected = QString::fromUtf8(reference.readAll()).split(QLatin1Char('\n'));
        const QStringList actual = dump.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i)
            QCOMPARE(actual[i], expected[i]);
        QCOMPARE(actual.size(), expected.size());
    }

    void progressiveLayoutMeasuresOnlyWhatIsAsked()
    {
        QString text;
        for (int i = 0; i < 2000; ++i)
            text += QStringLiteral("Paragraph %1 of a long document.\n\n").arg(i);
        Page page(text);
        QVERIFY(!page.document->layoutUntil(500));
        QVERIFY(page.document->laidOutBlockCount() < 50);
        QVERIFY(page.document->estimatedHeight() > 2000 * 20);
        QVERIFY(page.document->layoutAll());
        QCOMPARE(page.document->laidOutBlockCount(), 2000);
    }

    // Blocks outside the resident range give up their nodes and come back alike: the same
    // heights, texts, copies, find matches, headings and hits as a page that kept them all.
    void parkedBlocksComeBackAlike()
    {
        QString section = QStringLiteral(
            "## Part %1\n\nSome *emphasis* and a [link](https://example.com/%1) in part %1.\n\n"
            "- first item\n  - nested item\n- second item\n\n1. one\n2. two\n\n- [x] done\n\n"
            "| Field | Type |\n|:--|--:|\n| start %1 | date |\n\n```\ncode line %1\n```\n\n> quoted %1\n\n");
        QString text;
        for (int part = 0; part < 60; ++part)
            text += section.arg(part);
        Page kept(text);
        Page parked(text);
        parked.document->setResidentRange(0, 300);
        QVERIFY(kept.document->layoutAll());
        QVERIFY(parked.document->layoutAll());
        LayoutDocument &page = *parked.document;
        LayoutDocument &reference = *kept.document;
        const int parkedBlocks = page.parkedBlockCount();
        QVERIFY(parkedBlocks > page.blockCount() * 9 / 10);
        QCOMPARE(reference.parkedBlockCount(), 0);
        QCOMPARE(page.laidOutHeight(), reference.laidOutHeight());
        QCOMPARE(page.textCount(), reference.textCount());

        const CopiedText copied = page.copiedText(page.allText());
        const CopiedText expected = reference.copiedText(reference.allText());
        QCOMPARE(copied.plainText, expected.plainText);
        QCOMPARE(copied.markdown, expected.markdown);
        QCOMPARE(page.plainTextMap().nodeStarts, reference.plainTextMap().nodeStarts);
        QCOMPARE(page.parkedBlockCount(), parkedBlocks); // what was built for the copy went again

        const SearchPattern query(QStringLiteral("part 5"));
        for (int block = 0; block < page.blockCount(); ++block) {
            const QList<LayoutDocument::TextMatch> matches = page.findMatches(block, query);
            const QList<LayoutDocument::TextMatch> expectedMatches = reference.findMatches(block, query);
            QCOMPARE(matches.size(), expectedMatches.size());
            for (qsizetype index = 0; index < matches.size(); ++index) {
                QCOMPARE(matches[index].node, expectedMatches[index].node);
                QCOMPARE(matches[index].start, expectedMatches[index].start);
            }
        }
        QCOMPARE(page.parkedBlockCount(), parkedBlocks);

        QVERIFY(reference.headingTop(QStringLiteral("part-57")).has_value());
        QCOMPARE(page.headingTop(QStringLiteral("part-57")), reference.headingTop(QStringLiteral("part-57")));
        const qreal late = reference.laidOutHeight() * 0.9;
        for (const qreal x : {5.0, 40.0, 120.0}) {
            const QPointF point(x, late);
            const auto position = page.positionAt(point);
            const auto expectedPosition = reference.positionAt(point);
            QVERIFY(position && expectedPosition);
            QCOMPARE(*position, *expectedPosition);
            QCOMPARE(page.textRect(position->node, 0, 1), reference.textRect(position->node, 0, 1));
            QCOMPARE(page.wordSelection(*position).endOffset, reference.wordSelection(*position).endOffset);
        }
        const auto codeLine = [](const LayoutDocument &document) {
            for (qreal y = document.laidOutHeight() * 0.8; y < document.laidOutHeight(); y += 4) {
                if (const auto area = document.codeBlockAt({20, y}))
                    return document.codeBlockText(area->block).plainText;
            }
            return QString();
        };
        QVERIFY(!codeLine(reference).isEmpty());
        QCOMPARE(codeLine(page), codeLine(reference));

        // Both pages paint alike far down, where the parked one builds its blocks again.
        const QRectF far(0, late, 600, 300);
        const auto paintAt = [&far](const LayoutDocument &document) {
            QImage image(far.size().toSize(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.translate(-far.topLeft());
            LayoutPaintContext context;
            context.painter = &painter;
            context.palette = QPalette(Qt::black, Qt::white);
            context.clip = far;
            document.paint(context);
            return image;
        };
        QCOMPARE(paintAt(page), paintAt(reference));

        // A new width measures the parked blocks anew, to the same heights.
        page.setWidth(420);
        reference.setWidth(420);
        QVERIFY(page.layoutAll());
        QVERIFY(reference.layoutAll());
        QCOMPARE(page.laidOutHeight(), reference.laidOutHeight());
        QCOMPARE(page.dump(), reference.dump());
    }

    // Code scrolled sideways keeps its node, and so its offset, when its block leaves the range.
    void scrolledCodeStaysBuilt()
    {
        const QString wide =
            QStringLiteral("```\n") + QString(400, QLatin1Char('x')) + QStringLiteral("\n```\n\n");
        QString text = wide;
        for (int index = 0; index < 200; ++index)
            text += QStringLiteral("Paragraph %1.\n\n").arg(index);
        Page page(text);
        LayoutDocument &document = *page.document;
        QVERIFY(document.layoutAll());
        LayoutScrollNode *scroll = nullptr;
        for (LayoutNode *node : page.nodes()) {
            if (auto *found = dynamic_cast<LayoutScrollNode *>(node))
                scroll = found;
        }
        QVERIFY(scroll);
        QVERIFY(scroll->scrollTo(100));
        const LayoutNode *code = document.blockNode(0);
        document.setResidentRange(5000, 6000);
        QVERIFY(document.parkedBlockCount() > 100);
        QCOMPARE(document.blockNode(0), code);
        QCOMPARE(scroll->offset(), 100.0);
    }
};

QTEST_MAIN(TestMarkdownLayout)
#include "tst_markdownlayout.moc"
