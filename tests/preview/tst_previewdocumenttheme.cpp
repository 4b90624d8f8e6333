#include "highlight/codehighlighter.h"
#include "markdown/layout/view/markdownview.h"
#include "preview/previewcolors.h"
#include "preview/previewdocumenttheme.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>

#include <memory>

using namespace kestrune;

namespace {

struct PageBlock
{
    QString line;
    qreal y = 0;
    qreal height = 0;
};

// The blocks of the page, top to bottom, from the layout dump (top-level lines only).
QList<PageBlock> pageBlocks(const QString &dump)
{
    static const QRegularExpression geometry(QStringLiteral("^\\S+ [-\\d.]+,([-\\d.]+) [\\d.]+x([\\d.]+)"));
    QList<PageBlock> result;
    for (const QString &line : dump.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = geometry.match(line);
        if (match.hasMatch())
            result.append({line, match.captured(1).toDouble(), match.captured(2).toDouble()});
    }
    return result;
}

// The darkest pixel's lightness in the image: the core of the text drawn on a light page.
int darkest(const QImage &image)
{
    int result = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            result = std::min(result, QColor(image.pixel(x, y)).lightness());
    return result;
}

// WCAG's relative luminance of an opaque colour.
double relativeLuminance(const QColor &color)
{
    const auto linear = [](double component) {
        return component <= 0.04045 ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    // std::minmax of two temporaries would hand back references to them.
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// `top` painted over the opaque `bottom`.
QColor over(const QColor &top, const QColor &bottom)
{
    const auto mix = [&](double upper, double lower) {
        return upper * top.alphaF() + lower * (1 - top.alphaF());
    };
    return QColor::fromRgbF(float(mix(top.redF(), bottom.redF())), float(mix(top.greenF(), bottom.greenF())),
                            float(mix(top.blueF(), bottom.blueF())));
}

const QString typeScript = QStringLiteral("// The answer, typed.\n"
                                          "export function answer(limit: number): string {\n"
                                          "    const text = \"forty-two\";\n"
                                          "    return limit > 42 ? text : String(42);\n"
                                          "}");

bool hasTypeScriptGrammar()
{
    const std::optional<QString> language = CodeHighlighter::languageOf(u"ts");
    return language && CodeHighlighter::highlight(typeScript, *language).has_value();
}

// How many hues (in steps of 30 degrees) the text of an image is drawn in: pixels far from the
// two most common colours (the page and the code block's tint) and saturated enough to have a
// hue, at least a dozen per step so that blended edges do not count.
int inkHues(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QList<std::pair<int, QRgb>> common;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        common.append({it.value(), it.key()});
    std::sort(common.begin(), common.end(), std::greater<>());
    const auto distance = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    };
    std::array<int, 12> hues{};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            bool background = false;
            for (int index = 0; index < std::min<qsizetype>(2, common.size()); ++index)
                background = background || distance(pixel, common.at(index).second) < 90;
            const QColor color(pixel);
            if (background || color.hsvSaturationF() < 0.25f)
                continue;
            ++hues[size_t(color.hsvHue() / 30)];
        }
    }
    return int(std::count_if(hues.cbegin(), hues.cend(), [](int count) { return count >= 12; }));
}

// The lowest row of the image with ink: a pixel far from the colours of the page's top-left
// corner and of its middle row's right end (the page and the code block's tint).
int lowestInkRow(const QImage &image)
{
    const QRgb page = image.pixel(0, 0);
    const QRgb tint = image.pixel(image.width() - 20, image.height() / 2);
    const auto far = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) >
               90;
    };
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x)
            if (far(image.pixel(x, y), page) && far(image.pixel(x, y), tint))
                return y;
    return -1;
}

} // namespace

class TestPreviewDocumentTheme : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Localization::install(qApp, QLocale(QLocale::English)); }
    void init();

    void headings_data();
    void headings();
    void spaceBetweenBlocks_data();
    void spaceBetweenBlocks();
    void onlyTheHeaderRowOfATableIsSemibold();
    void longCodeLinesScrollInsideTheirBlock();
    void levelSixHeadingIsSecondaryAndAppearanceRecolours();
    void codeTokenColoursReadOnTheCodeBackground();
    void codeIsColouredByItsLanguage_data();
    void codeIsColouredByItsLanguage();
    void codeWithoutAKnownLanguageIsDrawnAsBefore();
    void appearanceSwitchRecoloursHighlightedCode();
    void highlightedCodeCopiesByteForByte();
    void findLandsInsideHighlightedCode();
    void mermaidSourceHasACaptionThatIsNotCopied();

private:
    std::unique_ptr<MarkdownView> render(const QString &markdown, int width = 600);
};

void TestPreviewDocumentTheme::init()
{
    QApplication::setPalette(ThemeController::paletteFor(Appearance::light));
}

std::unique_ptr<MarkdownView> TestPreviewDocumentTheme::render(const QString &markdown, int width)
{
    auto view = std::make_unique<MarkdownView>();
    MarkdownEnvironment environment = view->environment();
    environment.theme = PreviewDocumentTheme::make();
    view->setEnvironment(environment);
    view->resize(width, 600);
    view->show();
    view->setMarkdown(markdown);
    if (!QTest::qWaitFor([&] { return view->isLayoutComplete(); }))
        qWarning("layout did not complete");
    return view;
}

void TestPreviewDocumentTheme::headings_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<QString>("font"); // 17-point text times the level's em, rounded
    QTest::addColumn<bool>("rule");

    QTest::addRow("level 1: bold 1.85 em with a rule") << "# Title"
                                                       << "font 31px weight 700" << true;
    QTest::addRow("level 2: semibold 1.45 em with a rule") << "## Title"
                                                           << "font 25px weight 600" << true;
    QTest::addRow("level 3: semibold 1.2 em") << "### Title"
                                              << "font 20px weight 600" << false;
    QTest::addRow("level 4: semibold 1.05 em") << "#### Title"
                                               << "font 18px weight 600" << false;
    QTest::addRow("level 5: semibold 0.95 em") << "##### Title"
                                               << "font 16px weight 600" << false;
    QTest::addRow("level 6: semibold 0.88 em") << "###### Title"
                                               << "font 15px weight 600" << false;
}

void TestPreviewDocumentTheme::headings()
{
    QFETCH(QString, markdown);
    QFETCH(QString, font);
    QFETCH(bool, rule);
    const QString dump = render(markdown)->layoutDump();
    QVERIFY2(dump.contains(font), qPrintable(dump));
    QCOMPARE(dump.contains(QLatin1String("divider")), rule);
}

void TestPreviewDocumentTheme::spaceBetweenBlocks_data()
{
    QTest::addColumn<QString>("markdown");
    QTest::addColumn<qreal>("space"); // between the first two blocks

    QTest::addRow("paragraphs are 14 apart") << "One.\n\nTwo." << 14.0;
    QTest::addRow("a level-1 heading keeps 24 above") << "One.\n\n# Two" << 24.0;
    QTest::addRow("a level-3 heading keeps 18 above") << "One.\n\n### Two" << 18.0;
    QTest::addRow("a level-2 heading keeps 10 below") << "## One\n\nText." << 10.0;
    QTest::addRow("a level-6 heading keeps 4 below") << "###### One\n\nText." << 4.0;
    QTest::addRow("a quote is followed by 14") << "> One.\n\nTwo." << 14.0;
    QTest::addRow("a code block is followed by 14") << "```\ncode\n```\n\nTwo." << 14.0;
    QTest::addRow("a table is followed by 14") << "| a | b |\n|---|---|\n| c | d |\n\nTwo." << 14.0;
    QTest::addRow("a thematic break keeps 1.5 em (26) above") << "One.\n\n---" << 26.0;
}

void TestPreviewDocumentTheme::spaceBetweenBlocks()
{
    QFETCH(QString, markdown);
    QFETCH(qreal, space);
    const QList<PageBlock> page = pageBlocks(render(markdown)->layoutDump());
    QVERIFY(page.size() >= 2);
    QCOMPARE(page.at(0).y, 0.0);
    QCOMPARE(page.at(1).y - (page.at(0).y + page.at(0).height), space);
}

void TestPreviewDocumentTheme::onlyTheHeaderRowOfATableIsSemibold()
{
    const QString dump = render(QStringLiteral("| a | b |\n|---|--:|\n| c | d |\n| e | f |"))->layoutDump();
    for (const QString &line : dump.split(QLatin1Char('\n'))) {
        static const QRegularExpression cell(QStringLiteral("\"([a-f])\""));
        const QRegularExpressionMatch match = cell.match(line);
        if (!match.hasMatch())
            continue;
        const bool header =
            match.captured(1) == QLatin1String("a") || match.captured(1) == QLatin1String("b");
        QVERIFY2(line.contains(QLatin1String("weight 600")) == header, qPrintable(line));
    }
}

void TestPreviewDocumentTheme::longCodeLinesScrollInsideTheirBlock()
{
    auto view = render(
        QStringLiteral("```\n") + QString(300, QLatin1Char('x')) + QStringLiteral("\n```\n\nText."), 400);
    const QString dump = view->layoutDump();
    static const QRegularExpression scroll(
        QStringLiteral("scroll [-\\d.]+,[-\\d.]+ ([\\d.]+)x[\\d.]+ content ([\\d.]+)"));
    const QRegularExpressionMatch match = scroll.match(dump);
    QVERIFY2(match.hasMatch(), qPrintable(dump));
    QVERIFY(match.captured(2).toDouble() > match.captured(1).toDouble());
    QVERIFY(dump.contains(QLatin1String("mono")));
    QVERIFY(dump.contains(QLatin1String("font 15px mono"))); // 0.9 em of 17
    // The page itself never scrolls sideways, and nothing on it is wider than the view.
    for (const PageBlock &block : pageBlocks(dump))
        QVERIFY2(!block.line.contains(QLatin1String("x")) || !block.line.startsWith(QLatin1String("clip")) ||
                     block.line.contains(QStringLiteral(" %1x").arg(400)),
                 qPrintable(block.line));
}

void TestPreviewDocumentTheme::levelSixHeadingIsSecondaryAndAppearanceRecolours()
{
    auto five = render(QStringLiteral("##### Heading"));
    auto six = render(QStringLiteral("###### Heading"));
    const int primaryCore = darkest(five->grab().toImage());
    const int secondaryCore = darkest(six->grab().toImage());
    QVERIFY2(secondaryCore > primaryCore + 30,
             qPrintable(QStringLiteral("%1 vs %2").arg(secondaryCore).arg(primaryCore)));

    const QString dump = five->layoutDump();
    QApplication::setPalette(ThemeController::paletteFor(Appearance::dark));
    QTRY_VERIFY(darkest(five->grab().toImage()) != primaryCore);
    QCOMPARE(five->layoutDump(), dump); // recoloured, not laid out anew
}

void TestPreviewDocumentTheme::codeTokenColoursReadOnTheCodeBackground()
{
    const Theme theme = PreviewDocumentTheme::make();
    QVERIFY(theme.codeTokens);
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        // The pane is translucent: the worst of what the window may show behind it counts.
        for (const QColor &window : {QColor(Qt::black), QColor(Qt::white)}) {
            const QColor pane = over(PreviewColors::paneBackground.resolve(appearance), window);
            const QColor background = over(PreviewColors::codeBackground.resolve(appearance), pane);
            for (int kind = 0; kind < codeTokenKindCount; ++kind) {
                const QColor token =
                    over(theme.codeTokens->color(CodeTokenKind(kind)).resolve(appearance), background);
                const double ratio = contrast(token, background);
                QVERIFY2(ratio >= 4.5,
                         qPrintable(QStringLiteral("%1 in %2: %3:1")
                                        .arg(codeTokenKindName(CodeTokenKind(kind)),
                                             appearance == Appearance::dark ? u"dark" : u"light")
                                        .arg(ratio, 0, 'f', 2)));
            }
        }
    }
}

void TestPreviewDocumentTheme::codeIsColouredByItsLanguage_data()
{
    QTest::addColumn<Appearance>("appearance");
    QTest::addRow("light") << Appearance::light;
    QTest::addRow("dark") << Appearance::dark;
}

void TestPreviewDocumentTheme::codeIsColouredByItsLanguage()
{
    QFETCH(Appearance, appearance);
    if (!hasTypeScriptGrammar())
        QSKIP("this build has no TypeScript grammar yet");
    QApplication::setPalette(ThemeController::paletteFor(appearance));
    const int highlighted =
        inkHues(render(QStringLiteral("```ts\n") + typeScript + QStringLiteral("\n```"))->grab().toImage());
    const int plain =
        inkHues(render(QStringLiteral("```\n") + typeScript + QStringLiteral("\n```"))->grab().toImage());
    QVERIFY2(highlighted >= 4, qPrintable(QString::number(highlighted)));
    QVERIFY2(plain <= 1, qPrintable(QString::number(plain)));
}

void TestPreviewDocumentTheme::codeWithoutAKnownLanguageIsDrawnAsBefore()
{
    const QString code = typeScript + QStringLiteral("\n```");
    const QImage plain = render(QStringLiteral("```\n") + code)->grab().toImage();
    QCOMPARE(render(QStringLiteral("```no-such-language\n") + code)->grab().toImage(), plain);
    // Over the highlighter's limit a block is drawn plain, and at once.
    QString longCode;
    while (longCode.size() <= CodeHighlighter::maxCodeLength)
        longCode += typeScript + QLatin1Char('\n');
    QElapsedTimer timer;
    timer.start();
    auto view = render(QStringLiteral("```ts\n") + longCode + QStringLiteral("```"));
    QVERIFY(view->isLayoutComplete());
    QVERIFY2(inkHues(view->grab().toImage()) <= 1, "a block over the limit is coloured");
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

void TestPreviewDocumentTheme::appearanceSwitchRecoloursHighlightedCode()
{
    if (!hasTypeScriptGrammar())
        QSKIP("this build has no TypeScript grammar yet");
    auto view = render(QStringLiteral("```ts\n") + typeScript + QStringLiteral("\n```"));
    const QImage light = view->grab().toImage();
    const QString dump = view->layoutDump();
    QApplication::setPalette(ThemeController::paletteFor(Appearance::dark));
    QTRY_VERIFY(view->grab().toImage() != light);
    QVERIFY(inkHues(view->grab().toImage()) >= 4);
    QCOMPARE(view->layoutDump(), dump); // recoloured, not laid out anew
}

void TestPreviewDocumentTheme::highlightedCodeCopiesByteForByte()
{
    const QString markdown = QStringLiteral("```ts\n") + typeScript + QStringLiteral("\n```\n");
    auto view = render(markdown);
    view->selectAll();
    view->copy();
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    QVERIFY(copied);
    QCOMPARE(copied->text(), typeScript);
    QVERIFY(!copied->hasHtml()); // no colours travel with the text
    QCOMPARE(QString::fromUtf8(copied->data(QStringLiteral("text/markdown"))).trimmed(), markdown.trimmed());
}

void TestPreviewDocumentTheme::findLandsInsideHighlightedCode()
{
    auto view =
        render(QStringLiteral("A paragraph first.\n\n```ts\n") + typeScript + QStringLiteral("\n```"));
    const QImage before = view->grab().toImage();
    view->find(SearchPattern(QStringLiteral("forty")));
    QTRY_VERIFY(view->findStatus().complete);
    QCOMPARE(view->findStatus(), (FindStatus{1, 1, true}));
    QTRY_VERIFY(view->grab().toImage() != before);
    const QImage after = view->grab().toImage();
    // The pixels the match tint changed lie on the code's line, inside the code block.
    QRect changed;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    QRect block;
    QVERIFY(!changed.isEmpty());
    const QRgb codeTint = before.pixel(before.width() - 20, changed.center().y());
    for (int y = 0; y < before.height(); ++y)
        if (before.pixel(before.width() - 20, y) == codeTint)
            block |= QRect(0, y, before.width(), 1);
    QVERIFY(codeTint != before.pixel(before.width() - 20, 2)); // the page, above the code
    QVERIFY2(block.contains(changed), qPrintable(QStringLiteral("%1,%2 %3x%4 outside %5..%6")
                                                     .arg(changed.x())
                                                     .arg(changed.y())
                                                     .arg(changed.width())
                                                     .arg(changed.height())
                                                     .arg(block.top())
                                                     .arg(block.bottom())));
    QVERIFY(changed.top() > block.top() + 20); // the third line of the code, not the first
}

void TestPreviewDocumentTheme::mermaidSourceHasACaptionThatIsNotCopied()
{
    const QString code = QStringLiteral("graph TD\n    A --> B");
    auto mermaid = render(QStringLiteral("```mermaid\n") + code + QStringLiteral("\n```"), 400);
    auto plain = render(QStringLiteral("```\n") + code + QStringLiteral("\n```"), 400);
    mermaid->resize(400, 200);
    plain->resize(400, 200);
    QTRY_VERIFY(mermaid->isLayoutComplete() && plain->isLayoutComplete());
    QVERIFY(mermaid->documentHeight() > plain->documentHeight());
    // Ink under the code: the caption, in the secondary colour (lighter than the code's).
    const QImage image = mermaid->grab().toImage();
    const int captionRow = lowestInkRow(image);
    const int codeRow = lowestInkRow(plain->grab().toImage());
    QVERIFY2(captionRow > codeRow + 4, qPrintable(QStringLiteral("%1 vs %2").arg(captionRow).arg(codeRow)));
    QVERIFY(mermaid->layoutDump().contains(QLatin1String("Mermaid diagram source")));

    mermaid->selectAll();
    QCOMPARE(mermaid->selectedText(), code);
    mermaid->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), code);
}

QTEST_MAIN(TestPreviewDocumentTheme)
#include "tst_previewdocumenttheme.moc"
