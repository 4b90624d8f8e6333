// The view as a user drives it: selecting and copying, links, appearance switches, code that
// scrolls sideways, long texts that show before they are parsed to the end, and finding text.
#include "testimageprovider.h"

#include "markdown/document/markdownparser.h"
#include "markdown/layout/style/notestyles.h"
#include "markdown/layout/view/markdownview.h"

#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <thread>

using namespace kestrune;

namespace {

constexpr DynamicColor primary = dynamicColor(1.0f, 1.0f, 1.0f, 0.92f, 0.12f, 0.16f, 0.22f, 0.95f);

struct ViewFixture
{
    MarkdownView view;
    std::shared_ptr<TestImageProvider> images = std::make_shared<TestImageProvider>();

    explicit ViewFixture(const QString &markdown, Appearance appearance = Appearance::light,
                         const QHash<QUrl, QSize> &imageSizes = {})
    {
        images->sizes = imageSizes;
        view.setPalette(ThemeController::paletteFor(appearance));
        Theme theme;
        theme.text = TextStyle::fontSize(17) + TextStyle::foregroundColor(primary);
        theme.paragraph = [](const BlockConfiguration &c) { return c.label.margin(0, 14); };
        theme.codeBlock = [](const CodeBlockConfiguration &c) {
            return BlockView::horizontalScroll(c.label.padding(8)).margin(0, 14);
        };
        view.setTheme(theme);
        view.setImageProvider(images);
        view.setInlineImageProvider(images);
        view.setOpenLinks(false);
        view.resize(500, 400);
        view.setMarkdown(markdown);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

    void mouse(QEvent::Type type, QPointF position, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, position, view.viewport()->mapToGlobal(position), button, buttons, modifiers);
        QApplication::sendEvent(view.viewport(), &event);
    }

    void drag(QPointF from, QPointF to)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
};

// Opens the view's context menu at a point of its viewport, as the mouse or the keyboard does,
// notes the texts of its actions and triggers the one called `trigger`, if there is one.
QStringList contextMenuActions(MarkdownView &view, QContextMenuEvent::Reason reason, QPoint position,
                               const QString &trigger)
{
    QStringList offered;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        QAction *chosen = nullptr;
        for (QAction *action : menu->actions()) {
            offered.append(action->text());
            if (action->text() == trigger)
                chosen = action;
        }
        if (chosen)
            chosen->trigger();
        menu->close();
    });
    poll.start(5);
    QContextMenuEvent event(reason, position, view.viewport()->mapToGlobal(position));
    QApplication::sendEvent(view.viewport(), &event);
    return offered;
}

// Starts a find and waits until the whole document is counted.
void findAll(MarkdownView &view, const QString &text, Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive)
{
    view.find(SearchPattern(text, {.caseSensitive = sensitivity == Qt::CaseSensitive}));
    QTRY_VERIFY(view.findStatus().complete);
}

void findAll(MarkdownView &view, const SearchPattern &pattern)
{
    view.find(pattern);
    QTRY_VERIFY(view.findStatus().complete);
}

// How wide the run of pixels of a colour is, from the leftmost to the rightmost (0 for none).
int widthOf(const QImage &image, QColor color, int tolerance = 12)
{
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) + std::abs(pixel.green() - color.green()) +
                    std::abs(pixel.blue() - color.blue()) <
                tolerance) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return right < 0 ? 0 : right - left + 1;
}

// A tint as it shows over a background.
QColor blended(const DynamicColor &tint, Appearance appearance, QColor background)
{
    const QColor color = tint.resolve(appearance);
    const qreal alpha = color.alphaF();
    return QColor::fromRgbF(color.redF() * alpha + background.redF() * (1 - alpha),
                            color.greenF() * alpha + background.greenF() * (1 - alpha),
                            color.blueF() * alpha + background.blueF() * (1 - alpha));
}

bool hasPixelNear(const QImage &image, QColor color, int tolerance = 40)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) + std::abs(pixel.green() - color.green()) +
                    std::abs(pixel.blue() - color.blue()) <
                tolerance)
                return true;
        }
    }
    return false;
}

// The contrast ratio of two opaque colours, from 1 to 21.
qreal contrast(QColor first, QColor second)
{
    const auto luminance = [](QColor color) {
        const auto channel = [](qreal value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
               0.0722 * channel(color.blueF());
    };
    const qreal a = luminance(first);
    const qreal b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace

class TestMarkdownView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A page built and measured on another thread shows at once; the images it asked for while
    // it was prepared are loaded only once it is shown, on the view's thread.
    void preparedPageShowsAndLoadsItsImagesOnceShown()
    {
        const QUrl picture(QStringLiteral("https://example.org/picture.png"));
        ViewFixture fixture(QStringLiteral("Before"), Appearance::light, {{picture, QSize(40, 30)}});
        QString text = QStringLiteral("![picture](%1)\n\n").arg(picture.toString());
        for (int index = 0; index < 60; ++index)
            text += QStringLiteral("Paragraph %1.\n\n").arg(index);
        const QList<BlockNode> blocks = MarkdownParser::parse(text);
        const PreparedMarkdownPage::Settings settings = fixture.view.pageSettings(fixture.view.size());
        PreparedMarkdownPage page;
        std::thread preparing([&] { page = PreparedMarkdownPage::prepare(settings, blocks); });
        preparing.join();
        QVERIFY(!page.isNull());
        QVERIFY(fixture.images->requests.isEmpty());

        fixture.view.showPrepared(page);
        QVERIFY(page.isNull());
        QCOMPARE(fixture.images->requests, QList<QUrl>{picture});
        QTRY_VERIFY(fixture.view.verticalScrollBar()->isVisible()); // beside the page it was measured for
        fixture.view.selectAll();
        QVERIFY(fixture.view.selectedText().startsWith(QLatin1String("Paragraph 0.")));
    }

    void dragSelectsAcrossBlocksAndCopies()
    {
        ViewFixture fixture(QStringLiteral("First paragraph.\n\nSecond paragraph."));
        QSignalSpy selection(&fixture.view, &MarkdownView::selectionChanged);
        fixture.drag(QPointF(0, 8), QPointF(499, 399));
        QVERIFY(!selection.isEmpty());
        QCOMPARE(fixture.view.selectedText(), QStringLiteral("First paragraph.\nSecond paragraph."));

        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&fixture.view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("First paragraph.\nSecond paragraph."));
    }

    void copyPutsPlainTextAndMarkdownOnTheClipboard()
    {
        ViewFixture fixture(QStringLiteral("- [x] done\n- [ ] *open*\n"));
        fixture.view.selectAll();
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&fixture.view, Qt::Key_C, Qt::ControlModifier);
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr);
        QCOMPARE(data->text(), QStringLiteral("[x] done\n[ ] open"));
        QCOMPARE(QString::fromUtf8(data->data(QStringLiteral("text/markdown"))),
                 QStringLiteral("- [x] done\n- [ ] *open*"));
    }

    // A code block under the pointer shows a button at its top right that copies the block.
    void codeBlockCopyButtonCopiesTheBlockUnderThePointer()
    {
        ViewFixture fixture(QStringLiteral("Intro\n\n```js\nlet a = 1;\nlet b = 2;\n```\n\nOutro"));
        auto *button = fixture.view.viewport()->findChild<QToolButton *>();
        QVERIFY(button != nullptr);
        QVERIFY(!button->isVisible());

        // The code block lies below the intro paragraph (17 px text, 14 px margins).
        const QPointF overCode(200, 60);
        fixture.mouse(QEvent::MouseMove, overCode, Qt::NoButton);
        QVERIFY(button->isVisible());
        QVERIFY(button->geometry().right() < fixture.view.viewport()->width());
        QVERIFY(button->geometry().top() < overCode.y());
        QVERIFY(button->geometry().left() > overCode.x());

        QGuiApplication::clipboard()->clear();
        const QString before = button->text();
        QTest::mouseClick(button, Qt::LeftButton);
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QStringLiteral("let a = 1;\nlet b = 2;"));
        QCOMPARE(QString::fromUtf8(data->data(QStringLiteral("text/markdown"))),
                 QStringLiteral("```js\nlet a = 1;\nlet b = 2;\n```"));
        QVERIFY(button->text() != before); // says it copied
        QTRY_COMPARE(button->text(), before);

        fixture.mouse(QEvent::MouseMove, QPointF(200, 8), Qt::NoButton);
        QVERIFY(!button->isVisible());
    }

    // The context menu copies the code block it is opened over, or from the keyboard the one
    // under the pointer or holding the selection; elsewhere it offers no such entry.
    void contextMenuCopiesTheCodeBlock()
    {
        ViewFixture fixture(QStringLiteral("Intro\n\n```js\nlet a = 1;\nlet b = 2;\n```\n\nOutro"));
        const QString copyCode = Localization::text("markdown.copy_code.accessible_name");
        const QPoint overCode(200, 60);
        QGuiApplication::clipboard()->clear();
        QVERIFY(contextMenuActions(fixture.view, QContextMenuEvent::Mouse, overCode, copyCode)
                    .contains(copyCode));
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), QStringLiteral("let a = 1;\nlet b = 2;"));
        QCOMPARE(QString::fromUtf8(data->data(QStringLiteral("text/markdown"))),
                 QStringLiteral("```js\nlet a = 1;\nlet b = 2;\n```"));

        QVERIFY(!contextMenuActions(fixture.view, QContextMenuEvent::Mouse, QPoint(200, 8), {})
                     .contains(copyCode));

        // The Menu key, the pointer away from the page: the selection decides.
        QCursor::setPos(fixture.view.mapToGlobal(QPoint(-300, -300)));
        QVERIFY(!contextMenuActions(fixture.view, QContextMenuEvent::Keyboard, {}, {}).contains(copyCode));
        fixture.drag(QPointF(20, 60), QPointF(60, 60));
        QVERIFY(fixture.view.hasSelection());
        QGuiApplication::clipboard()->clear();
        QVERIFY(
            contextMenuActions(fixture.view, QContextMenuEvent::Keyboard, {}, copyCode).contains(copyCode));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("let a = 1;\nlet b = 2;"));
    }

    void dragWithinOneText()
    {
        ViewFixture fixture(QStringLiteral("Alpha beta gamma"));
        fixture.drag(QPointF(0, 8), QPointF(60, 8));
        const QString selected = fixture.view.selectedText();
        QVERIFY2(!selected.isEmpty() && QStringLiteral("Alpha beta gamma").startsWith(selected),
                 qPrintable(selected));
        QVERIFY(selected.size() < 16);
    }

    void doubleClickSelectsAWordAndSelectAllEverything()
    {
        ViewFixture fixture(QStringLiteral("Alpha beta gamma\n\n- item"));
        fixture.mouse(QEvent::MouseButtonPress, QPointF(3, 8), Qt::LeftButton);
        fixture.mouse(QEvent::MouseButtonRelease, QPointF(3, 8), Qt::NoButton);
        fixture.mouse(QEvent::MouseButtonDblClick, QPointF(3, 8), Qt::LeftButton);
        QCOMPARE(fixture.view.selectedText(), QStringLiteral("Alpha"));

        QTest::keyClick(&fixture.view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(fixture.view.selectedText(), QStringLiteral("Alpha beta gamma\n• item"));
    }

    // After a double-click the drag goes by whole words; Shift and a click extend the selection
    // from its start; a plain click ends it; with selection off nothing selects.
    void clicksAndDragsShapeTheSelection()
    {
        ViewFixture fixture(QStringLiteral("Alpha beta gamma delta"));
        fixture.mouse(QEvent::MouseButtonPress, QPointF(3, 8), Qt::LeftButton);
        fixture.mouse(QEvent::MouseButtonRelease, QPointF(3, 8), Qt::NoButton);
        fixture.mouse(QEvent::MouseButtonDblClick, QPointF(3, 8), Qt::LeftButton);
        fixture.mouse(QEvent::MouseMove, QPointF(75, 8), Qt::LeftButton);
        QCOMPARE(fixture.view.selectedText(), QStringLiteral("Alpha beta"));
        fixture.mouse(QEvent::MouseButtonRelease, QPointF(75, 8), Qt::NoButton);

        fixture.mouse(QEvent::MouseButtonPress, QPointF(499, 8), Qt::LeftButton, Qt::ShiftModifier);
        fixture.mouse(QEvent::MouseButtonRelease, QPointF(499, 8), Qt::NoButton, Qt::ShiftModifier);
        QCOMPARE(fixture.view.selectedText(), QStringLiteral("Alpha beta gamma delta"));

        QSignalSpy changed(&fixture.view, &MarkdownView::selectionChanged);
        fixture.mouse(QEvent::MouseButtonPress, QPointF(30, 8), Qt::LeftButton);
        fixture.mouse(QEvent::MouseButtonRelease, QPointF(30, 8), Qt::NoButton);
        QVERIFY(!fixture.view.hasSelection());
        QCOMPARE(changed.size(), 1);

        fixture.view.selectAll();
        fixture.view.setTextSelectionEnabled(false);
        QVERIFY(!fixture.view.hasSelection());
        fixture.drag(QPointF(0, 8), QPointF(499, 8));
        fixture.view.selectAll();
        QVERIFY(!fixture.view.hasSelection());
        QVERIFY(!fixture.view.isTextSelectionEnabled());
    }

    void linksActivateOnClickAndShowAPointingHand()
    {
        ViewFixture fixture(QStringLiteral("[Open the guide](https://example.com/guide) and text"));
        QSignalSpy activated(&fixture.view, &MarkdownView::linkActivated);
        fixture.mouse(QEvent::MouseMove, QPointF(10, 8), Qt::NoButton);
        QCOMPARE(fixture.view.viewport()->cursor().shape(), Qt::PointingHandCursor);
        fixture.mouse(QEvent::MouseMove, QPointF(480, 8), Qt::NoButton);
        QVERIFY(fixture.view.viewport()->cursor().shape() != Qt::PointingHandCursor);

        fixture.mouse(QEvent::MouseButtonPress, QPointF(10, 8), Qt::LeftButton);
        fixture.mouse(QEvent::MouseButtonRelease, QPointF(10, 8), Qt::NoButton);
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated.first().first().toUrl(), QUrl(QStringLiteral("https://example.com/guide")));

        // A drag that starts on a link selects instead.
        fixture.drag(QPointF(10, 8), QPointF(120, 8));
        QCOMPARE(activated.size(), 1);
        QVERIFY(fixture.view.hasSelection());
    }

    void fragmentLinksScrollToTheirHeading()
    {
        QString text = QStringLiteral("[Down](#far-away)\n\n");
        for (int i = 0; i < 100; ++i)
            text += QStringLiteral("Filler paragraph %1.\n\n").arg(i);
        text += QStringLiteral("# Far away\n");
        ViewFixture fixture(text);
        fixture.mouse(QEvent::MouseButtonPress, QPointF(5, 8), Qt::LeftButton);
        fixture.mouse(QEvent::MouseButtonRelease, QPointF(5, 8), Qt::NoButton);
        QVERIFY(fixture.view.verticalScrollBar()->value() > 2000);
    }

    // A reference is a superscript link to its note at the end; the note links back to it.
    void footnoteLinksGoToTheNoteAndBack()
    {
        QString text = QStringLiteral("Claim[^src] made here.\n\n");
        for (int i = 0; i < 100; ++i)
            text += QStringLiteral("Filler paragraph %1.\n\n").arg(i);
        text += QStringLiteral("[^src]: The source of the claim.\n");
        ViewFixture fixture(text);
        QScrollBar *scrollBar = fixture.view.verticalScrollBar();
        QSignalSpy activated(&fixture.view, &MarkdownView::linkActivated);

        const auto linkUnderPointer = [&](QRect area) -> std::optional<QPointF> {
            for (int y = area.top(); y <= area.bottom(); y += 3) {
                for (int x = area.left(); x <= area.right(); x += 2) {
                    fixture.mouse(QEvent::MouseMove, QPointF(x, y), Qt::NoButton);
                    if (fixture.view.viewport()->cursor().shape() == Qt::PointingHandCursor)
                        return QPointF(x, y);
                }
            }
            return std::nullopt;
        };
        const auto click = [&](QPointF at) {
            fixture.mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
            fixture.mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
        };

        const std::optional<QPointF> reference = linkUnderPointer(QRect(0, 0, 200, 24));
        QVERIFY(reference);
        click(*reference);
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated.last().first().toUrl(), QUrl(QStringLiteral("#fn-src")));
        QTRY_VERIFY(scrollBar->value() > 2000);
        QVERIFY(fixture.view.layoutDump().contains(QLatin1String("The source of the claim.")));

        const std::optional<QPointF> backLink = linkUnderPointer(fixture.view.viewport()->rect());
        QVERIFY(backLink);
        click(*backLink);
        QCOMPARE(activated.size(), 2);
        QCOMPARE(activated.last().first().toUrl(), QUrl(QStringLiteral("#fnref-src")));
        QTRY_COMPARE(scrollBar->value(), 0);
    }

    void alertsShowTheirTitleInTheirAccentColour_data()
    {
        QTest::addColumn<QString>("marker");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("appearance");
        const QList<std::tuple<const char *, AlertKind, const char *>> kinds{
            {"NOTE", AlertKind::note, "Note"},
            {"TIP", AlertKind::tip, "Tip"},
            {"IMPORTANT", AlertKind::important, "Important"},
            {"WARNING", AlertKind::warning, "Warning"},
            {"CAUTION", AlertKind::caution, "Caution"}};
        for (const auto &[marker, kind, title] : kinds) {
            for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
                QTest::addRow("%s, %s", title, appearance == Appearance::light ? "light" : "dark")
                    << QString::fromLatin1(marker) << int(kind) << QString::fromLatin1(title)
                    << int(appearance);
            }
        }
    }

    void alertsShowTheirTitleInTheirAccentColour()
    {
        QFETCH(QString, marker);
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(int, appearance);
        const auto look = Appearance(appearance);
        ViewFixture fixture(QStringLiteral("> [!%1]\n> The body of it.\n").arg(marker), look);
        const QImage page = fixture.view.viewport()->grab().toImage();
        const QColor background = page.pixelColor(page.width() - 2, page.height() - 2);
        const QColor accent = NoteStyles::alertAccent(AlertKind(kind)).resolve(look);

        // The bar and the title row are drawn in the accent, which reads as text on the page.
        QVERIFY2(contrast(accent, background) >= 4.5,
                 qPrintable(QString::number(contrast(accent, background))));
        QVERIFY(widthOf(page, accent, 24) > 60);
        QVERIFY(fixture.view.layoutDump().contains(title));
        QVERIFY(fixture.view.layoutDump().contains(QLatin1String("The body of it.")));
        QVERIFY(!fixture.view.layoutDump().contains(marker));
        // The body keeps the text colour.
        QVERIFY(hasPixelNear(page, blended(primary, look, background)));
    }

    void plainQuotesAndUnknownMarkersShowNoAccent()
    {
        for (const QString &text :
             {QStringLiteral("> A plain quote.\n"), QStringLiteral("> [!FOO]\n> Text.\n"),
              QStringLiteral("> [!NOTE] with text on its line\n")}) {
            ViewFixture fixture(text);
            const QImage page = fixture.view.viewport()->grab().toImage();
            for (const AlertKind kind : {AlertKind::note, AlertKind::tip, AlertKind::important,
                                         AlertKind::warning, AlertKind::caution})
                QVERIFY2(!hasPixelNear(page, NoteStyles::alertAccent(kind).resolve(Appearance::light), 24),
                         qPrintable(text));
        }
    }

    void appearanceSwitchRecoloursAndSwapsSchemeImages()
    {
        ViewFixture fixture(
            QStringLiteral("Text in colour.\n\n![dark](https://x/dark.png#gh-dark-mode-only)"),
            Appearance::light,
            {{QUrl(QStringLiteral("https://x/dark.png#gh-dark-mode-only")), QSize(40, 20)}});
        QImage light = fixture.view.viewport()->grab().toImage();
        QVERIFY(hasPixelNear(light, primary.resolve(Appearance::light)));
        QVERIFY(!fixture.view.layoutDump().contains(QLatin1String("image")));

        fixture.view.setPalette(ThemeController::paletteFor(Appearance::dark));
        QTRY_VERIFY(fixture.view.layoutDump().contains(QLatin1String("40x20")));
        const QImage dark = fixture.view.viewport()->grab().toImage();
        QVERIFY(hasPixelNear(dark, QColor(235, 235, 235)));

        fixture.view.setPalette(ThemeController::paletteFor(Appearance::light));
        QVERIFY(!fixture.view.layoutDump().contains(QLatin1String("image")));
    }

    void inlineImageAppearsOnceLoaded()
    {
        ViewFixture fixture(QString(), Appearance::light,
                            {{QUrl(QStringLiteral("https://x/i.png")), QSize(30, 40)}});
        fixture.images->deferred = true;
        fixture.view.setMarkdown(QStringLiteral("before ![i](https://x/i.png) after"));
        const QString before = fixture.view.layoutDump();
        QVERIFY(before.contains(QLatin1String("\"before  after\"")));
        fixture.images->release();
        QTRY_VERIFY(fixture.view.layoutDump() != before);
        QVERIFY(fixture.view.layoutDump().contains(
            QLatin1String("\"before  after\""))); // copied text skips the image
    }

    // A page closed while its pictures still load: the loads finish later with no page to tell.
    void imageArrivingAfterThePageIsGoneIsDropped()
    {
        const QUrl picture(QStringLiteral("https://x/late.png"));
        auto images = std::make_shared<TestImageProvider>();
        images->sizes = {{picture, QSize(30, 40)}};
        images->deferred = true;
        {
            MarkdownView view;
            view.setImageProvider(images);
            view.setInlineImageProvider(images);
            view.resize(400, 300);
            view.setMarkdown(QStringLiteral("![late](%1)\n\ntext ![late](%1)").arg(picture.toString()));
            view.layoutDump();
            QVERIFY(!images->requests.isEmpty());
        }
        images->release();
        QCoreApplication::processEvents();
    }

    // With remote pictures off, block and inline web images are never asked for and their place
    // names the server; pictures from elsewhere still load.
    void remoteImagesOffAreNotAskedForAndNameTheirServer()
    {
        const QUrl local = QUrl::fromLocalFile(QStringLiteral("/project/flow.png"));
        ViewFixture fixture(QString(), Appearance::light,
                            {{QUrl(QStringLiteral("https://example.com/d.png")), QSize(30, 40)},
                             {QUrl(QStringLiteral("http://pictures.test/i.png")), QSize(10, 10)},
                             {local, QSize(20, 20)}});
        MarkdownEnvironment environment = fixture.view.environment();
        environment.loadsRemoteImages = false;
        fixture.view.setEnvironment(environment);
        fixture.view.setMarkdown(QStringLiteral("![Diagram](https://example.com/d.png)\n\n"
                                                "text ![](http://pictures.test/i.png) more\n\n"
                                                "![](file:///project/flow.png)\n"));
        QTRY_COMPARE(fixture.images->requests, QList<QUrl>{local});
        QTRY_VERIFY(fixture.view.layoutDump().contains(QLatin1String("example.com")));
        const QString dump = fixture.view.layoutDump();
        QVERIFY2(dump.contains(QLatin1String("Diagram")), qPrintable(dump));
        QVERIFY2(dump.contains(QLatin1String("pictures.test")), qPrintable(dump));

        environment.loadsRemoteImages = true;
        fixture.view.setEnvironment(environment);
        QTRY_VERIFY(fixture.images->requests.contains(QUrl(QStringLiteral("https://example.com/d.png"))) &&
                    fixture.images->requests.contains(QUrl(QStringLiteral("http://pictures.test/i.png"))));
    }

    void codeScrollsSidewaysWithShiftWheel()
    {
        ViewFixture fixture(QStringLiteral("```\n%1\n```").arg(QStringLiteral("long ").repeated(100)));
        QWheelEvent wheel(QPointF(50, 10), fixture.view.viewport()->mapToGlobal(QPointF(50, 10)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(fixture.view.viewport(), &wheel);
        QVERIFY2(fixture.view.layoutDump().contains(QLatin1String("offset")),
                 qPrintable(fixture.view.layoutDump()));
        QCOMPARE(fixture.view.verticalScrollBar()->value(), 0);
    }

    void longTextShowsBeforeItIsParsed()
    {
        QString text;
        for (int i = 0; i < 3000; ++i)
            text +=
                QStringLiteral("## Section %1\n\nA paragraph of a long document with some words in it.\n\n")
                    .arg(i);
        ViewFixture fixture(text);
        QVERIFY(!fixture.view.isLayoutComplete());
        QVERIFY(fixture.view.documentHeight() > 100000);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view.isLayoutComplete(), 60000);
        QVERIFY(fixture.view.layoutDump().contains(QLatin1String("Section 2999")));
    }

    // A long page keeps nodes only near the view; the blocks it parked come back as they were
    // when scrolled to, and a copy of everything still has every block.
    void farBlocksGiveUpTheirNodesAndComeBackAlike()
    {
        QString text;
        for (int i = 0; i < 400; ++i)
            text += QStringLiteral("Paragraph %1 with *some* words.\n\n- item %1\n- another\n\n").arg(i);
        ViewFixture fixture(text);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view.isLayoutComplete(), 60000);
        MarkdownView &page = fixture.view;
        QVERIFY(page.parkedBlockCount() > page.blockCount() / 2);
        const QImage top = fixture.view.viewport()->grab().toImage();
        QScrollBar *bar = fixture.view.verticalScrollBar();
        bar->setValue(bar->maximum());
        const QImage bottom = fixture.view.viewport()->grab().toImage();
        QVERIFY(bottom != top);
        QVERIFY(page.parkedBlockCount() > page.blockCount() / 2);
        bar->setValue(0);
        QCOMPARE(fixture.view.viewport()->grab().toImage(), top);

        fixture.view.selectAll();
        const QString all = fixture.view.selectedText();
        QVERIFY(all.startsWith(QLatin1String("Paragraph 0 with some words.")));
        QVERIFY(all.endsWith(QStringLiteral("• another")));
        QCOMPARE(all.count(QStringLiteral("• item")), 400);
    }

    // Links resolve against the base URL, and still lead into the page when they name it.
    void pageLinksScrollUnderABaseUrl()
    {
        QString text = QStringLiteral("Claim[^n] and [up](#top).\n\n");
        for (int i = 0; i < 100; ++i)
            text += QStringLiteral("Filler paragraph %1.\n\n").arg(i);
        text += QStringLiteral("# Top\n\n[^n]: Note.\n");
        ViewFixture fixture(text);
        fixture.view.setBaseUrl(QUrl(QStringLiteral("file:///notes/plan.md")));
        QSignalSpy activated(&fixture.view, &MarkdownView::linkActivated);
        QScrollBar *scrollBar = fixture.view.verticalScrollBar();
        for (int x = 0; x < 200 && activated.isEmpty(); x += 2) {
            fixture.mouse(QEvent::MouseMove, QPointF(x, 8), Qt::NoButton);
            if (fixture.view.viewport()->cursor().shape() != Qt::PointingHandCursor)
                continue;
            fixture.mouse(QEvent::MouseButtonPress, QPointF(x, 8), Qt::LeftButton);
            fixture.mouse(QEvent::MouseButtonRelease, QPointF(x, 8), Qt::NoButton);
        }
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated.first().first().toUrl(), QUrl(QStringLiteral("file:///notes/plan.md#fn-n")));
        QTRY_VERIFY(scrollBar->value() > 2000);
    }

    // Footnote places are kept while their blocks are parked and rebuilt.
    void footnotePlacesSurviveParking()
    {
        QString text = QStringLiteral("Early reference[^far].\n\n");
        for (int i = 0; i < 400; ++i)
            text += QStringLiteral("Paragraph %1 with *some* words.\n\n").arg(i);
        text += QStringLiteral("[^far]: The note at the end.\n");
        ViewFixture fixture(text);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view.isLayoutComplete(), 60000);
        MarkdownView &page = fixture.view;
        QScrollBar *bar = page.verticalScrollBar();
        QVERIFY(page.scrollToHeading(QStringLiteral("fn-far")));
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(page.parkedBlockCount() > page.blockCount() / 2);
        QVERIFY(page.scrollToHeading(QStringLiteral("fnref-far")));
        QCOMPARE(bar->value(), 0);
        QVERIFY(page.scrollToHeading(QStringLiteral("fn-far")));
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(!page.scrollToHeading(QStringLiteral("fn-missing")));
    }

    void resizeKeepsTheReadingPosition()
    {
        QString text;
        for (int i = 0; i < 300; ++i)
            text += QStringLiteral("P%1 ").arg(i).repeated(12) + QStringLiteral("\n\n");
        ViewFixture fixture(text);
        fixture.view.verticalScrollBar()->setValue(5000);
        fixture.mouse(QEvent::MouseButtonDblClick, QPointF(3, 8), Qt::LeftButton);
        const QString word = fixture.view.selectedText();
        fixture.view.resize(250, 400);
        QTRY_COMPARE(fixture.view.size(), QSize(250, 400)); // the window system delivers the resize
        fixture.mouse(QEvent::MouseButtonDblClick, QPointF(3, 8), Qt::LeftButton);
        QCOMPARE(fixture.view.selectedText(), word);
    }

    // Matching ignores styling and finds text inside links, table cells, code blocks and
    // quotes; it follows the case only when asked.
    void findMatchesAcrossStylesAndInEveryKindOfBlock()
    {
        ViewFixture fixture(
            QStringLiteral("A **Sea**rch in *styled* text and [a search](https://example.org).\n\n"
                           "| one | two |\n|---|---|\n| search | x |\n\n"
                           "```\nsearch()\n```\n\n> quoted SEARCH\n\n- item search\n"));
        findAll(fixture.view, QStringLiteral("search"));
        QCOMPARE(fixture.view.findStatus().total, 6);
        QCOMPARE(fixture.view.findStatus().current, 1);
        findAll(fixture.view, QStringLiteral("search"), Qt::CaseSensitive);
        QCOMPARE(fixture.view.findStatus().total, 4);
        findAll(fixture.view, QStringLiteral("ch in sty"));
        QCOMPARE(fixture.view.findStatus().total, 1);
        findAll(fixture.view, QStringLiteral("absent"));
        QCOMPARE(fixture.view.findStatus(), (FindStatus{0, 0, true}));
    }

    // Next and previous walk the matches in document order and go round the ends; the first
    // match shown is the first at or after the reading position.
    void findNextAndPreviousWalkInOrderFromTheReadingPosition()
    {
        QString text;
        for (int i = 0; i < 200; ++i)
            text += QStringLiteral("Paragraph %1 with a needle and another needle.\n\n").arg(i);
        ViewFixture fixture(text);
        QTRY_VERIFY(fixture.view.isLayoutComplete());
        findAll(fixture.view, QStringLiteral("needle"));
        QCOMPARE(fixture.view.findStatus().total, 400);
        QCOMPARE(fixture.view.findStatus().current, 1);
        fixture.view.findNext();
        QCOMPARE(fixture.view.findStatus().current, 2);
        fixture.view.findPrevious();
        fixture.view.findPrevious();
        QCOMPARE(fixture.view.findStatus().current, 400);
        QVERIFY(fixture.view.verticalScrollBar()->value() > 0); // the last match was scrolled to
        fixture.view.findNext();
        QCOMPARE(fixture.view.findStatus().current, 1);

        fixture.view.verticalScrollBar()->setValue(fixture.view.verticalScrollBar()->maximum() / 2);
        const int middle = fixture.view.verticalScrollBar()->value();
        findAll(fixture.view, QStringLiteral("needle"));
        QVERIFY(fixture.view.findStatus().current > 150);
        QVERIFY(std::abs(fixture.view.verticalScrollBar()->value() - middle) < 400);
        fixture.view.clearFind();
        QCOMPARE(fixture.view.findStatus(), (FindStatus{0, 0, true}));
    }

    // A match far down a long text is gone to once the page is laid out that far, and the count
    // takes the page's word where the model counted text the page does not show (an image's
    // alternative text).
    void findGoesToMatchesNotYetLaidOutAndCountsWhatThePageShows()
    {
        const QUrl picture(QStringLiteral("https://example.org/picture.png"));
        QString text = QStringLiteral("Text ![rare](%1) before.\n\n").arg(picture.toString());
        for (int i = 0; i < 3000; ++i)
            text += QStringLiteral("A paragraph of a long document with some words in it.\n\n");
        text += QStringLiteral("The rare word at the end.\n");
        ViewFixture fixture(text, Appearance::light, {{picture, QSize(20, 20)}});
        fixture.view.find(SearchPattern(QStringLiteral("rare")));
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view.findStatus().current == 1, 60000);
        QCOMPARE(fixture.view.findStatus().total, 1);
        QVERIFY(fixture.view.verticalScrollBar()->value() > fixture.view.verticalScrollBar()->maximum() / 2);
    }

    // Going back onto a block whose match the page does not show (an image's alternative text)
    // passes on to the match before it, as going on passes to the one after.
    void findPassesOverMatchesThePageDoesNotShowInBothDirections()
    {
        const QUrl picture(QStringLiteral("https://example.org/picture.png"));
        const QString text =
            QStringLiteral("First needle.\n\n![needle](%1)\n\nLast needle.\n").arg(picture.toString());
        ViewFixture fixture(text, Appearance::light, {{picture, QSize(20, 20)}});
        QTRY_VERIFY(fixture.view.isLayoutComplete());
        findAll(fixture.view, QStringLiteral("needle"));
        QCOMPARE(fixture.view.findStatus().current, 1);
        fixture.view.findPrevious(); // round the start, to the last match
        QCOMPARE(fixture.view.findStatus().current, fixture.view.findStatus().total);
        fixture.view.findPrevious(); // the picture's match is passed over
        QCOMPARE(fixture.view.findStatus(), (FindStatus{1, 2, true}));
        fixture.view.findNext();
        QCOMPARE(fixture.view.findStatus(), (FindStatus{2, 2, true}));
        fixture.view.findNext();
        QCOMPARE(fixture.view.findStatus(), (FindStatus{1, 2, true}));
    }

    // Every match shows the match colour, the current one the stronger colour, in both
    // appearances; ending the find removes both.
    void findHighlightsMatchesAndTheCurrentOne()
    {
        for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
            ViewFixture fixture(QStringLiteral("mark\n\nmark\n"), appearance);
            const Theme theme;
            const QColor background = fixture.view.grab().toImage().pixelColor(2, 2);
            const auto blended = [&](const DynamicColor &tint) {
                const QColor color = tint.resolve(appearance);
                const qreal alpha = color.alphaF();
                return QColor::fromRgbF(color.redF() * alpha + background.redF() * (1 - alpha),
                                        color.greenF() * alpha + background.greenF() * (1 - alpha),
                                        color.blueF() * alpha + background.blueF() * (1 - alpha));
            };
            findAll(fixture.view, QStringLiteral("mark"));
            const QImage found = fixture.view.grab().toImage();
            QVERIFY(hasPixelNear(found, blended(theme.findMatch), 12));
            QVERIFY(hasPixelNear(found, blended(theme.currentFindMatch), 12));
            fixture.view.clearFind();
            const QImage cleared = fixture.view.grab().toImage();
            QVERIFY(!hasPixelNear(cleared, blended(theme.findMatch), 12));
            QVERIFY(!hasPixelNear(cleared, blended(theme.currentFindMatch), 12));
        }
    }

    // Whole words leave out matches inside longer words (the underscore joins words); an
    // expression's matches have their own lengths, and the page marks each over its length.
    void findTakesWholeWordsAndExpressionsOfAnyLength()
    {
        ViewFixture fixture(QStringLiteral("A cat, a concat, a cat_x and a Cat.\n\n"
                                           "ab\n\nabbbbbbbbbbbbbbbbbbbbbbbbb\n"));
        findAll(fixture.view, SearchPattern(QStringLiteral("cat")));
        QCOMPARE(fixture.view.findStatus().total, 4);
        findAll(fixture.view, SearchPattern(QStringLiteral("cat"), {.wholeWord = true}));
        QCOMPARE(fixture.view.findStatus().total, 2);
        findAll(fixture.view,
                SearchPattern(QStringLiteral("cat"), {.caseSensitive = true, .wholeWord = true}));
        QCOMPARE(fixture.view.findStatus().total, 1);
        findAll(fixture.view, SearchPattern(QStringLiteral("[("), {.regularExpression = true}));
        QCOMPARE(fixture.view.findStatus(), (FindStatus{0, 0, true})); // an invalid expression finds nothing

        const Theme theme;
        const QColor background = fixture.view.grab().toImage().pixelColor(2, 2);
        const QColor match = blended(theme.findMatch, Appearance::light, background);
        const QColor current = blended(theme.currentFindMatch, Appearance::light, background);
        findAll(fixture.view, SearchPattern(QStringLiteral("ab+"), {.regularExpression = true}));
        QCOMPARE(fixture.view.findStatus(), (FindStatus{1, 2, true}));
        QImage image = fixture.view.grab().toImage();
        const int shortWidth = widthOf(image, current);
        const int longWidth = widthOf(image, match);
        QVERIFY(shortWidth > 5);
        QVERIFY2(longWidth > 8 * shortWidth,
                 qPrintable(QStringLiteral("%1 %2").arg(shortWidth).arg(longWidth)));
        fixture.view.findNext();
        image = fixture.view.grab().toImage();
        QVERIFY(std::abs(widthOf(image, current) - longWidth) <= 1);
        QVERIFY(std::abs(widthOf(image, match) - shortWidth) <= 1);
    }

    // A place in the source goes to the match the page shows there: in a link's text, in a
    // link's hidden target (the next match shown), between blocks (the next block's first).
    void findFromASourcePlaceGoesToTheMatchShownThere()
    {
        const QString link = QStringLiteral("A needle, [a needle](https://example.org/needle) and");
        const QString text = QStringLiteral("# Needle heading\n\n") + link +
                             QStringLiteral("\r\na needle.\n\n- item\n- needle\n");
        ViewFixture fixture(text);
        const SearchPattern needle(QStringLiteral("needle"));
        struct Place
        {
            int line;
            int column;
            int current;
        };
        const QList<Place> places = {
            {0, 2, 1},                                              // the heading
            {1, 0, 2},                                              // after the heading's last match
            {2, 2, 2},                                              // before the link
            {2, int(link.indexOf(QLatin1String("needle"), 3)), 3},  // the link's text
            {2, int(link.indexOf(QLatin1String("needle"), 14)), 4}, // its target, not shown
            {3, 2, 4},                                              // after the soft break
            {6, 2, 5},                                              // the second item of the list
            {40, 0, 1},                                             // past the end: round to the first
        };
        for (const Place &place : places) {
            fixture.view.findFrom(needle, text, place.line, place.column);
            QTRY_VERIFY(fixture.view.findStatus().complete);
            QVERIFY2(fixture.view.findStatus().current == place.current,
                     qPrintable(QStringLiteral("line %1, column %2: %3")
                                    .arg(place.line)
                                    .arg(place.column)
                                    .arg(fixture.view.findStatus().current)));
        }
        fixture.view.findNext();
        QCOMPARE(fixture.view.findStatus().current, 2);
    }

    // A picture whose alternative text holds the query shows no match: the n-th match of its
    // block is the n-th the page shows, counted, gone to from a source place and marked there as
    // stepping to it marks it.
    void findFromAPlaceAfterAPictureMarksTheMatchThere()
    {
        const QUrl picture(QStringLiteral("https://example.org/cat.png"));
        const QString line =
            QStringLiteral("Ask the ![cat](%1) about a cat, then a cat again.").arg(picture.toString());
        const QString text = line + QStringLiteral("\n\nAnother cat.\n");
        ViewFixture fixture(text, Appearance::light, {{picture, QSize(20, 20)}});
        QTRY_VERIFY(fixture.view.isLayoutComplete());
        const SearchPattern cat(QStringLiteral("cat"));
        findAll(fixture.view, cat);
        QCOMPARE(fixture.view.findStatus(), (FindStatus{1, 3, true}));
        fixture.view.findNext();
        QCOMPARE(fixture.view.findStatus().current, 2);
        const QImage stepped = fixture.view.grab().toImage();

        fixture.view.findFrom(cat, text, 0, int(line.indexOf(QLatin1String("cat again"))));
        QTRY_VERIFY(fixture.view.findStatus().complete);
        QCOMPARE(fixture.view.findStatus(), (FindStatus{2, 3, true}));
        QCOMPARE(fixture.view.grab().toImage(), stepped);
    }

    // Far down a long text, parsed in pieces after the first screen, the place is found by the
    // lines of the whole text and scrolled to; the next match is the one after it.
    void findFromAPlaceFarDownALongText()
    {
        QString text;
        for (int i = 0; i < 3000; ++i) {
            if (i % 100 == 0)
                text += QStringLiteral("## Section %1\n\n").arg(i / 100);
            text +=
                QStringLiteral("Paragraph %1 holds a needle among enough other words to make a long text, "
                               "longer than the pieces it is parsed in.\n\n")
                    .arg(i);
        }
        ViewFixture fixture(text);
        QVERIFY(!fixture.view.isLayoutComplete());
        const QString target = QStringLiteral("Paragraph 2900 holds");
        const qsizetype at = text.indexOf(target);
        const int line = int(QStringView(text).first(at).count(QLatin1Char('\n')));
        fixture.view.findFrom(SearchPattern(QStringLiteral("needle")), text, line, int(target.size()) + 3);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.view.findStatus().current == 2901, 60000);
        QScrollBar *bar = fixture.view.verticalScrollBar();
        QVERIFY(bar->value() > bar->maximum() * 9 / 10);
        fixture.view.findNext();
        QTRY_COMPARE(fixture.view.findStatus().current, 2902);
    }

    // Zoom draws the page larger or smaller, laid out for the width the view has at that scale,
    // and keeps the text at the top of the view where it was.
    void zoomScalesThePageAndKeepsTheReadingPosition()
    {
        QString text;
        for (int i = 0; i < 300; ++i)
            text += QStringLiteral("P%1 ").arg(i).repeated(12) + QStringLiteral("\n\n");
        ViewFixture fixture(text);
        QTRY_VERIFY(fixture.view.isLayoutComplete());
        const int height = fixture.view.verticalScrollBar()->maximum() + fixture.view.viewport()->height();
        fixture.view.verticalScrollBar()->setValue(5000);
        fixture.mouse(QEvent::MouseButtonDblClick, QPointF(3, 8), Qt::LeftButton);
        const QString word = fixture.view.selectedText();
        const MarkdownView::ReadingPosition before = fixture.view.readingPosition();

        fixture.view.setZoom(2);
        QTRY_VERIFY(fixture.view.isLayoutComplete());
        QCOMPARE(fixture.view.readingPosition().blockIndex, before.blockIndex);
        QVERIFY(std::abs(fixture.view.readingPosition().offset - before.offset) < 2);
        // Twice as large and half as wide a page: more than twice as tall.
        QVERIFY(fixture.view.verticalScrollBar()->maximum() + fixture.view.viewport()->height() > 2 * height);
        fixture.mouse(QEvent::MouseButtonDblClick, QPointF(6, 16), Qt::LeftButton);
        QCOMPARE(fixture.view.selectedText(), word);

        fixture.view.setZoom(1);
        QCOMPARE(fixture.view.readingPosition().blockIndex, before.blockIndex);
        QTRY_COMPARE(fixture.view.verticalScrollBar()->maximum() + fixture.view.viewport()->height(), height);
    }
};

QTEST_MAIN(TestMarkdownView)
#include "tst_markdownview.moc"
