// The line breaker against QTextLayout's own word wrapping: the same lines at
// every width, for plain and mixed-font text, hard breaks, runs of spaces and
// words too long for a line; the texts it refuses; and a text node that paints
// its broken lines where wrapped QTextLayout lines would be.
#include "markdown/layout/nodes/layoutnode_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"
#include "markdown/layout/text/layoutfontcache_p.h"
#include "markdown/layout/text/longwordsplitter_p.h"
#include "markdown/layout/text/textlinebreaker_p.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace kestrune;

namespace {

struct Sample
{
    QString text;
    QList<QTextLayout::FormatRange> fontRuns;
};

QTextLayout::FormatRange fontRun(int start, int length, const QFont &font)
{
    QTextCharFormat format;
    format.setFont(font, QTextCharFormat::FontPropertiesAll);
    return {start, length, format};
}

QFont baseFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(15);
    return font;
}

QList<Sample> samples()
{
    const QString prose =
        QStringLiteral("The system SHALL keep every requirement readable, so that a reader who opens a long "
                       "specification finds each scenario where the outline says it is (see section 4.2-b).");
    QFont bold = baseFont();
    bold.setBold(true);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(17);
    QFont italic = baseFont();
    italic.setItalic(true);
    QFont small = baseFont();
    small.setPixelSize(11);

    QList<Sample> list;
    list.append({prose, {}});
    list.append(
        {prose,
         {fontRun(4, 6, bold), fontRun(30, 11, mono), fontRun(60, 20, italic), fontRun(100, 8, small)}});
    list.append({QStringLiteral("First line") + QChar::LineSeparator +
                     QStringLiteral("second   line  with   runs of spaces") + QChar::LineSeparator +
                     QChar::LineSeparator + QStringLiteral("after an empty one"),
                 {fontRun(0, 5, mono)}});
    list.append(
        {QStringLiteral("see https://example.org/a/very/long/path/that/does/not/fit/anywhere/at/all?query=1 "
                        "and supercalifragilisticexpialidocious words"),
         {}});
    list.append({QStringLiteral("trailing spaces   "), {}});
    list.append({QStringLiteral("spaces before a break   ") + QChar::LineSeparator +
                     QStringLiteral("and the office's "
                                    "affine fluffy efficiency"),
                 {fontRun(7, 6, bold)}});
    list.append({QStringLiteral("x"), {}});
    return list;
}

struct Expected
{
    int start = 0;
    int length = 0;
    qreal y = 0;
    qreal height = 0;
    qreal naturalWidth = 0;
};

std::vector<Expected> qtLines(const Sample &sample, qreal width, qreal lineSpacing)
{
    QTextLayout layout(sample.text, baseFont());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFormats(sample.fontRuns);
    layout.beginLayout();
    std::vector<Expected> lines;
    qreal y = 0;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        if (!lines.empty())
            y += lineSpacing;
        line.setPosition(QPointF(0, y));
        lines.push_back(
            {line.textStart(), line.textLength(), line.y(), line.height(), line.naturalTextWidth()});
        y += line.height();
    }
    layout.endLayout();
    return lines;
}

} // namespace

class TestTextLineBreaker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void breaksAsQTextLayoutDoes();
    void refusesWhatItCannotBreakAlike_data();
    void refusesWhatItCannotBreakAlike();
    void textNodePaintsLikeWrappedLines();
    void textNodeMapsPointsAndPositions();
    void cacheReleasesTheLeastRecentlyUsed();
    void longWordsGetBreaksBetweenGraphemes();
    void longRestyledWordsGetBreaksAtStyleChanges();
};

void TestTextLineBreaker::breaksAsQTextLayoutDoes()
{
    int compared = 0;
    for (const Sample &sample : samples()) {
        QTextLayout strip(sample.text, baseFont());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        strip.setTextOption(option);
        strip.setFormats(sample.fontRuns);
        const std::unique_ptr<TextLineBreaker> breaker = TextLineBreaker::measure(strip, sample.fontRuns);
        QVERIFY2(breaker, qPrintable(sample.text));
        for (qreal width = 9; width < 900; width += width < 120 ? 3 : 17) {
            for (const qreal spacing : {0.0, 2.5}) {
                const std::vector<Expected> expected = qtLines(sample, width, spacing);
                const std::vector<TextLineBreaker::Line> lines =
                    breaker->breakLines(width, spacing, [&]() -> const QTextLayout & { return strip; });
                // Compared as text, so that a failure shows both sets of lines.
                QString ours;
                QString theirs;
                for (const TextLineBreaker::Line &line : lines) {
                    ours += QStringLiteral("[%1+%2 y%3 h%4 w%5] ")
                                .arg(line.start)
                                .arg(line.length)
                                .arg(line.y)
                                .arg(line.height)
                                .arg(std::round(line.naturalWidth * 16) / 16);
                }
                for (const Expected &line : expected) {
                    theirs += QStringLiteral("[%1+%2 y%3 h%4 w%5] ")
                                  .arg(line.start)
                                  .arg(line.length)
                                  .arg(line.y)
                                  .arg(line.height)
                                  .arg(std::round(line.naturalWidth * 16) / 16);
                }
                const QByteArray context =
                    QStringLiteral("\"%1\" at width %2").arg(sample.text).arg(width).toUtf8();
                QVERIFY2(ours == theirs,
                         context + "\n ours: " + ours.toUtf8() + "\n Qt:   " + theirs.toUtf8());
                compared += int(lines.size());
            }
        }
    }
    QVERIFY(compared > 1000);
}

void TestTextLineBreaker::refusesWhatItCannotBreakAlike_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("right to left") << QStringLiteral("English and \u05E2\u05D1\u05E8\u05D9\u05EA together");
    QTest::newRow("tab") << QStringLiteral("a\tb");
    QTest::newRow("soft hyphen") << QStringLiteral("hyphen\u00ADation");
    QTest::newRow("long segment") << QString(TextLineBreaker::longestSegment + 1, QLatin1Char('a'));
}

void TestTextLineBreaker::refusesWhatItCannotBreakAlike()
{
    QFETCH(QString, text);
    QTextLayout strip(text, baseFont());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    strip.setTextOption(option);
    QVERIFY(!TextLineBreaker::measure(strip, {}));
}

namespace {

StyledText styledProse()
{
    StyledText text;
    text.text =
        QStringLiteral("A reader who opens a long specification finds each scenario where the outline "
                       "says it is, and a link to the archive in the middle of it all.");
    TextAttributes plain;
    plain.fontProperties = FontProperties{};
    plain.fontProperties->size = 15;
    TextAttributes linked = plain;
    linked.link = QUrl(QStringLiteral("https://example.org/archive"));
    const int linkStart = int(text.text.indexOf(QStringLiteral("the archive")));
    text.runs.append({0, linkStart, plain});
    text.runs.append({linkStart, 11, linked});
    text.runs.append({linkStart + 11, int(text.text.size()) - linkStart - 11, plain});
    return text;
}

QImage paintNode(const LayoutTextNode &node, QSize size, const LayoutSelection *selection = nullptr)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    LayoutPaintContext context;
    context.painter = &painter;
    context.palette = QPalette(Qt::black, Qt::white);
    context.clip = QRectF(QPointF(0, 0), size);
    context.selection = selection;
    node.paint(context);
    return image;
}

} // namespace

void TestTextLineBreaker::textNodePaintsLikeWrappedLines()
{
    LayoutFontCache fonts;
    const StyledText text = styledProse();
    LayoutTextNode node(text, {}, fonts);
    FontProperties properties;
    properties.size = 15;
    const QFont font = fonts.font(properties);
    node.setDocumentIndex(0);
    const LayoutSelection selection{0, 20, 0, 90};
    const QPalette palette(Qt::black, Qt::white);
    for (const qreal width : {140.0, 233.0, 410.0}) {
        for (const bool selected : {false, true}) {
            const QSizeF size = node.layout(width);
            const QSize imageSize = size.toSize() + QSize(4, 4);
            const QImage broken = paintNode(node, imageSize, selected ? &selection : nullptr);

            QImage wrapped(imageSize, QImage::Format_ARGB32_Premultiplied);
            wrapped.fill(Qt::white);
            {
                QTextLayout layout(node.plainText(), font);
                QTextOption option;
                option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
                layout.setTextOption(option);
                layout.beginLayout();
                qreal y = 0;
                for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                    line.setLeadingIncluded(true);
                    line.setLineWidth(width);
                    line.setPosition(QPointF(0, y));
                    y += line.height();
                }
                layout.endLayout();
                QCOMPARE(std::ceil(y), size.height());
                QTextCharFormat highlight;
                highlight.setBackground(palette.color(QPalette::Highlight));
                highlight.setForeground(palette.color(QPalette::HighlightedText));
                QList<QTextLayout::FormatRange> ranges;
                if (selected)
                    ranges.append(
                        {selection.startOffset, selection.endOffset - selection.startOffset, highlight});
                QPainter painter(&wrapped);
                painter.setPen(Qt::black);
                layout.draw(&painter, QPointF(0, 0), ranges);
            }
            // The same glyphs and highlight in the same places, give or take anti-aliasing
            // and a pixel or two of highlight over trailing spaces.
            int differing = 0;
            int inked = 0;
            for (int y = 0; y < imageSize.height(); ++y) {
                for (int x = 0; x < imageSize.width(); ++x) {
                    inked += qGray(wrapped.pixel(x, y)) < 128;
                    differing += std::abs(qGray(broken.pixel(x, y)) - qGray(wrapped.pixel(x, y))) > 96;
                }
            }
            QVERIFY(inked > 200);
            QVERIFY2(differing <= inked / (selected ? 40 : 500),
                     qPrintable(QStringLiteral("%1 of %2 at width %3%4")
                                    .arg(differing)
                                    .arg(inked)
                                    .arg(width)
                                    .arg(selected ? QStringLiteral(", selected") : QString())));
        }
    }
}

void TestTextLineBreaker::textNodeMapsPointsAndPositions()
{
    LayoutFontCache fonts;
    LayoutTextNode node(styledProse(), {}, fonts);
    const QSizeF size = node.layout(200);
    QVERIFY(size.height() > 60); // several lines

    // Every position maps to a point that maps back to it.
    for (int position = 0; position < node.length(); position += 7) {
        const QRectF rect = node.cursorRect(position);
        QVERIFY(rect.isValid());
        QCOMPARE(node.cursorAt(rect.center() + QPointF(0.5, 0)), position);
    }
    QCOMPARE(node.cursorAt(QPointF(-5, -5)), 0);
    QCOMPARE(node.cursorAt(QPointF(5, size.height() + 10)), node.length());

    const int linkPosition = int(node.plainText().indexOf(QStringLiteral("archive")));
    const QRectF linkRect = node.cursorRect(linkPosition + 2);
    QCOMPARE(node.linkAt(linkRect.center()), QUrl(QStringLiteral("https://example.org/archive")));
    QCOMPARE(node.linkAt(node.cursorRect(3).center()), std::nullopt);
}

void TestTextLineBreaker::cacheReleasesTheLeastRecentlyUsed()
{
    LayoutFontCache fonts;
    const StyledText text = styledProse(); // 140 characters
    LayoutTextCache cache(text.text.size() * 2);
    LayoutTextNode::Options options;
    options.cache = &cache;
    std::vector<std::unique_ptr<LayoutTextNode>> nodes;
    std::vector<QSizeF> sizes;
    std::vector<QRectF> cursors;
    for (int index = 0; index < 3; ++index) {
        nodes.push_back(std::make_unique<LayoutTextNode>(text, options, fonts));
        sizes.push_back(nodes.back()->layout(220));
    }
    // Measuring keeps the lines, not the shaped text.
    QCOMPARE(cache.size(), std::size_t(0));

    // Hit-testing and painting shape the text again and keep it while it is recent.
    for (int index = 0; index < 3; ++index) {
        cursors.push_back(nodes[std::size_t(index)]->cursorRect(70));
        QCOMPARE(cache.size(), std::size_t(std::min(index + 1, 2)));
    }
    QCOMPARE(cache.characters(), std::size_t(text.text.size() * 2));

    // The oldest was released; it keeps its lines and maps positions as before.
    QCOMPARE(nodes[0]->layout(220), sizes[0]);
    QCOMPARE(nodes[0]->cursorRect(70), cursors[0]);
    QCOMPARE(paintNode(*nodes[0], sizes[0].toSize()).isNull(), false);
    QCOMPARE(cache.size(), std::size_t(2));
    QCOMPARE(nodes[2]->cursorRect(70), cursors[2]);

    // Nodes leave the list when they go, and the list empties when cleared.
    nodes.erase(nodes.begin());
    QCOMPARE(cache.size(), std::size_t(1));
    cache.clear();
    QCOMPARE(cache.size(), std::size_t(0));
    QCOMPARE(cache.characters(), std::size_t(0));
    QCOMPARE(nodes[1]->cursorRect(70), cursors[2]);

    // However short the texts (list markers), the list keeps a bounded number of them.
    LayoutTextCache markers;
    StyledText bullet = text;
    bullet.text = QStringLiteral("•");
    bullet.runs = {{0, 1, text.runs.first().attributes}};
    std::vector<std::unique_ptr<LayoutTextNode>> bullets;
    options.cache = &markers;
    for (std::size_t index = 0; index < LayoutTextCache::nodeCapacity + 10; ++index) {
        bullets.push_back(std::make_unique<LayoutTextNode>(bullet, options, fonts));
        bullets.back()->layout(100);
        paintNode(*bullets.back(), QSize(20, 20));
    }
    QCOMPARE(markers.size(), LayoutTextCache::nodeCapacity);
    markers.clear();
    bullets.clear(); // nodes forgotten at once leave nothing behind to unlink
}

// Breaks go between graphemes (an accented letter, a letter of two code units) as far apart as the
// bound allows; only a grapheme longer than the bound is cut, between code points. Text
// with break opportunities often enough gets none.
void TestTextLineBreaker::longWordsGetBreaksBetweenGraphemes()
{
    QCOMPARE(LongWordSplitter::breakPositions(samples().first().text.repeated(20), {}, 100).size(),
             std::size_t(0));

    const QString accented =
        QStringLiteral("a ") + QStringLiteral("e\u0301").repeated(1490) + QStringLiteral(" b");
    const QString letters = QStringLiteral("\U0001D400").repeated(1400);
    const QString marks = u'e' + QString(2500, QChar(0x0301));
    for (const QString &text : {accented, letters, marks}) {
        const std::vector<int> positions = LongWordSplitter::breakPositions(text, {}, 1000);
        int previous = text == accented ? 2 : 0;
        for (int position : positions) {
            QVERIFY(position > previous && position - previous < 1000); // with the break, 1000
            QVERIFY(!text.at(position).isLowSurrogate());
            if (text != marks)
                QVERIFY(position % 2 == 0); // whole graphemes
            previous = position;
        }
        QVERIFY(text.size() - previous < 1000 + (text == accented ? 2 : 0));
        QCOMPARE(LongWordSplitter::withBreaks(text, positions).remove(QChar(0x200b)), text);
        QCOMPARE(positions.size(), std::size_t(2)); // as far apart as allowed
    }
}

// A long word whose style changes at every letter gets a break after every few changes of
// style, between graphemes only; a short one, or one of few changes, keeps its letters together.
void TestTextLineBreaker::longRestyledWordsGetBreaksAtStyleChanges()
{
    const QString word = QStringLiteral("ab").repeated(200) + QStringLiteral("e\u0301");
    std::vector<int> changes;
    for (int position = 1; position < word.size(); ++position)
        changes.push_back(position);
    const std::vector<int> positions = LongWordSplitter::breakPositions(word, changes);
    QVERIFY(!positions.empty());
    int previous = 0;
    for (int position : positions) {
        QVERIFY(position - previous <= LongWordSplitter::mostStyleChanges + 1);
        QVERIFY(position < word.size() - 1); // never inside the accented letter
        previous = position;
    }
    QVERIFY(word.size() - previous <= LongWordSplitter::mostStyleChanges + 2);

    const std::vector<int> few = {10, 20, 30};
    QVERIFY(LongWordSplitter::breakPositions(word, few).empty());
    const QString shortWord = word.left(LongWordSplitter::shortestRestyledRun);
    QVERIFY(LongWordSplitter::breakPositions(shortWord, changes).empty());
    const QString words = QStringLiteral("ab ").repeated(400);
    QVERIFY(LongWordSplitter::breakPositions(words, changes).empty());
}

QTEST_MAIN(TestTextLineBreaker)
#include "tst_textlinebreaker.moc"
