// Inline text: fonts from font properties, relative sizes, and the renderer's rules for
// breaks, raw HTML and nested styles.
#include "markdown/document/markdownparser.h"
#include "markdown/layout/style/relativesize.h"
#include "markdown/layout/style/textstyle.h"
#include "markdown/layout/style/theme.h"
#include "markdown/layout/text/inlinetextrenderer.h"

#include <QtTest>

using namespace kestrune;

Q_DECLARE_METATYPE(TextStyle)
Q_DECLARE_METATYPE(SoftBreakMode)

namespace {

const DynamicColor linkColor = dynamicColor(0.28f, 0.6f, 1.0f, 1.0f, 0.23f, 0.5f, 0.95f, 1.0f);

QList<InlineNode> inlinesOf(const QString &markdown)
{
    const QList<BlockNode> blocks = MarkdownParser::parse(markdown);
    if (blocks.isEmpty() || !blocks.first().inlines())
        return {};
    return *blocks.first().inlines();
}

InlineTextRenderer::Options options(SoftBreakMode mode = SoftBreakMode::space)
{
    const Theme theme;
    InlineTextRenderer::Options result;
    result.styles = {theme.code,
                     theme.emphasis,
                     theme.strong,
                     theme.strikethrough,
                     TextStyle::foregroundColor(linkColor),
                     theme.inserted,
                     theme.deleted};
    result.softBreakMode = mode;
    return result;
}

StyledText render(const QList<InlineNode> &inlines, SoftBreakMode mode = SoftBreakMode::space)
{
    return InlineTextRenderer::render(inlines, options(mode), TextAttributes::documentDefault());
}

} // namespace

class TestInlineTextRenderer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontSizes_data()
    {
        QTest::addColumn<TextStyle>("style");
        QTest::addColumn<int>("fontSize");
        QTest::addColumn<qreal>("oneAndAHalfEm");
        QTest::addColumn<qreal>("twoRem");

        const TextStyle base = TextStyle::fontSize(17);
        QTest::addRow("17 at scale 0.92 rounds 15.64 to 16, and 1.5 em on it is 24")
            << base + TextStyle::fontSize(RelativeSize::em(0.92)) << 16 << 24.0 << 34.0;
        QTest::addRow("em sizes multiply the scale") << base + TextStyle::fontSize(RelativeSize::em(1.85)) +
                                                            TextStyle::fontSize(RelativeSize::em(0.92))
                                                     << 29 << 44.0 << 34.0;
        QTest::addRow("rem ignores the enclosing em") << base + TextStyle::fontSize(RelativeSize::em(1.85)) +
                                                             TextStyle::fontSize(RelativeSize::rem(0.5))
                                                      << 9 << 14.0 << 34.0;
        QTest::addRow("an absolute size resets the scale")
            << TextStyle::fontSize(RelativeSize::em(3)) + TextStyle::fontSize(10) << 10 << 15.0 << 20.0;
        QTest::addRow("halves round away from zero")
            << TextStyle::fontSize(13) + TextStyle::fontSize(RelativeSize::em(0.5)) << 7 << 11.0 << 26.0;
    }

    void fontSizes()
    {
        QFETCH(TextStyle, style);
        QFETCH(int, fontSize);
        QFETCH(qreal, oneAndAHalfEm);
        QFETCH(qreal, twoRem);
        const TextAttributes attributes = style.applied(TextAttributes::documentDefault());
        QCOMPARE(attributes.fontProperties->resolveFont().pixelSize(), fontSize);
        QCOMPARE(RelativeSize::em(1.5).points(attributes.fontProperties), oneAndAHalfEm);
        QCOMPARE(RelativeSize::rem(2).points(attributes.fontProperties), twoRem);
    }

    void relativeSizeWithoutFontPropertiesUsesThirteen()
    {
        QCOMPARE(RelativeSize::em(1.5).points(std::nullopt), 20.0); // 19.5 rounds up
        // Font setters leave attributes without font properties alone.
        const TextAttributes bare = TextStyle::fontSize(30).applied(TextAttributes());
        QVERIFY(!bare.fontProperties);
    }

    void fontResolution()
    {
        FontProperties properties;
        properties.familyVariant = FontProperties::FamilyVariant::monospaced;
        properties.weight = QFont::DemiBold;
        properties.style = FontProperties::Style::italic;
        const QFont font = properties.resolveFont();
        QVERIFY(font.fixedPitch());
        QCOMPARE(font.weight(), QFont::DemiBold);
        QVERIFY(font.italic());
        QCOMPARE(font.pixelSize(), 13);
    }

    void whitespaceRules_data()
    {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<SoftBreakMode>("mode");
        QTest::addColumn<QString>("text");

        QTest::addRow("br drops the spaces after it") << "a<br>  b" << SoftBreakMode::space << "a\nb";
        QTest::addRow("closing BR in capitals is a break too")
            << "a</BR> b" << SoftBreakMode::space << "a\nb";
        QTest::addRow("soft break after a top-level br still adds its space")
            << "a<br>\nb" << SoftBreakMode::space << "a\n b";
        QTest::addRow("soft break after a br inside emphasis adds nothing")
            << "*a<br>\nb*" << SoftBreakMode::space << "a\nb";
        QTest::addRow("text after a br inside strong loses its leading space")
            << "**a<br> b**" << SoftBreakMode::space << "a\nb";
        QTest::addRow("soft break in line-break mode") << "a\nb" << SoftBreakMode::lineBreak << "a\nb";
        QTest::addRow("line-break mode swallows the indentation after a soft break")
            << "a\n  b" << SoftBreakMode::lineBreak << "a\nb";
        QTest::addRow("other raw HTML stays as text")
            << "a <span>b</span>" << SoftBreakMode::space << "a <span>b</span>";
        QTest::addRow("hard break") << "a  \nb" << SoftBreakMode::space << "a\nb";
        QTest::addRow("images are left out until loaded")
            << "a ![alt](x.png) b" << SoftBreakMode::space << "a  b";
    }

    void whitespaceRules()
    {
        QFETCH(QString, markdown);
        QFETCH(SoftBreakMode, mode);
        QFETCH(QString, text);
        QCOMPARE(render(inlinesOf(markdown), mode).text, text);
    }

    void nestedStylesAccumulate()
    {
        const StyledText text =
            render(inlinesOf(QStringLiteral("x [**_deep_ strong**](https://example.com/a) y")));
        const auto run = std::find_if(text.runs.cbegin(), text.runs.cend(), [&](const StyledText::Run &r) {
            return text.text.mid(r.start, r.length) == QLatin1String("deep");
        });
        QVERIFY(run != text.runs.cend());
        const TextAttributes &attributes = run->attributes;
        QVERIFY(sameColor(attributes.foregroundColor, linkColor));
        QCOMPARE(attributes.fontProperties->weight, QFont::DemiBold);
        QCOMPARE(attributes.fontProperties->style, FontProperties::Style::italic);
        QCOMPARE(attributes.link, QUrl(QStringLiteral("https://example.com/a")));

        // The outer attributes come back after the link.
        const StyledText::Run &last = text.runs.last();
        QCOMPARE(text.text.mid(last.start, last.length), QStringLiteral(" y"));
        QVERIFY(!last.attributes.link);
        QCOMPARE(last.attributes.fontProperties->weight, QFont::Normal);
    }

    void insertedAndDeletedTagsMarkTheirText()
    {
        const StyledText text =
            render(inlinesOf(QStringLiteral("keep <ins>new **bold**</ins> <del>old</del> <DEL>x <ins>y</ins> "
                                            "z</DEL> </ins>end <span>s</span>")));
        QCOMPARE(text.text, QStringLiteral("keep new bold old x y z end <span>s</span>"));
        const auto attributesOf = [&](const QString &part) {
            const qsizetype at = text.text.indexOf(part);
            for (const StyledText::Run &run : text.runs) {
                if (at >= run.start && at < run.start + run.length)
                    return run.attributes;
            }
            return TextAttributes();
        };
        // Underlined or struck through, each on a tint: the marks read without colour too.
        QVERIFY(attributesOf(QStringLiteral("new")).underlineStyle);
        QVERIFY(attributesOf(QStringLiteral("new")).backgroundColor);
        QVERIFY(!attributesOf(QStringLiteral("new")).strikethroughStyle);
        QVERIFY(attributesOf(QStringLiteral("bold")).underlineStyle);
        QCOMPARE(attributesOf(QStringLiteral("bold")).fontProperties->weight, QFont::DemiBold);
        QVERIFY(attributesOf(QStringLiteral("old x")).strikethroughStyle);
        QVERIFY(!attributesOf(QStringLiteral("old x")).underlineStyle);
        // Nested marks add up and end with their tags; a stray closing tag is dropped.
        QVERIFY(attributesOf(QStringLiteral("y")).strikethroughStyle &&
                attributesOf(QStringLiteral("y")).underlineStyle);
        QVERIFY(attributesOf(QStringLiteral("z")).strikethroughStyle &&
                !attributesOf(QStringLiteral("z")).underlineStyle);
        QVERIFY(!attributesOf(QStringLiteral("end")).strikethroughStyle &&
                !attributesOf(QStringLiteral("end")).underlineStyle);
        QVERIFY(!attributesOf(QStringLiteral("keep")).backgroundColor);
    }

    void links()
    {
        InlineTextRenderer::Options relative = options();
        relative.baseUrl = QUrl(QStringLiteral("https://example.com/docs/"));
        StyledText text = InlineTextRenderer::render(inlinesOf(QStringLiteral("[a](guide.md)")), relative,
                                                     TextAttributes::documentDefault());
        QCOMPARE(text.runs.first().attributes.link,
                 QUrl(QStringLiteral("https://example.com/docs/guide.md")));

        text = render(inlinesOf(QStringLiteral("[a](<http://exa mple.com:port/>)")));
        QVERIFY(!text.runs.first().attributes.link);
    }

    void codeSpanInHeadingTakesTheHeadingScale()
    {
        const TextAttributes heading = (TextStyle::fontSize(17) + TextStyle::fontSize(RelativeSize::em(1.85)))
                                           .applied(TextAttributes::documentDefault());
        InlineTextRenderer::Options opts = options();
        opts.styles.code = TextStyle::fontFamilyVariant(FontProperties::FamilyVariant::monospaced) +
                           TextStyle::fontSize(RelativeSize::em(0.92));
        const StyledText text =
            InlineTextRenderer::render(inlinesOf(QStringLiteral("# A `b`")), opts, heading);
        const FontProperties code = *text.runs.last().attributes.fontProperties;
        QCOMPARE(code.familyVariant, FontProperties::FamilyVariant::monospaced);
        QCOMPARE(code.scaledSize(), 29); // 17 × 1.85 × 0.92 = 28.93
    }

    void loadedInlineImageTakesOnePlaceholder()
    {
        InlineTextRenderer::Options opts = options();
        opts.images.insert(QStringLiteral("x.png"), QImage(10, 10, QImage::Format_ARGB32));
        const StyledText text = InlineTextRenderer::render(inlinesOf(QStringLiteral("a ![alt](x.png) b")),
                                                           opts, TextAttributes::documentDefault());
        QCOMPARE(text.images.size(), 1);
        QCOMPARE(text.text.at(text.images.first().position), QChar(StyledText::imagePlaceholder));
        // The placeholder's run holds nothing else, so it alone can be widened to the picture.
        const auto run = std::find_if(text.runs.cbegin(), text.runs.cend(), [&](const StyledText::Run &r) {
            return r.start == text.images.first().position;
        });
        QVERIFY(run != text.runs.cend());
        QCOMPARE(run->length, 1);
    }
};

QTEST_MAIN(TestInlineTextRenderer)
#include "tst_inlinetextrenderer.moc"
