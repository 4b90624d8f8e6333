// kestrune-md-view: shows a Markdown file with the rendering engine, for development and
// screenshots.
//
//     kestrune-md-view [--theme default|preview] [--appearance light|dark] [--width N]
//                      [--screenshot PNG] [--pdf PDF] FILE
//
// Ctrl+F finds text (F3 / Shift+F3 the next / previous match, Escape closes the bar); Ctrl+Plus,
// Ctrl+Minus, Ctrl+0 and Ctrl+wheel zoom.
//
// With --screenshot the window is rendered once the layout is complete, written to PNG, and
// the program exits. With --pdf the file is written as the program prints it (A4, the light
// appearance, a footer on every page), and the program exits without showing a window.

#include "markdown/document/markdownparser.h"
#include "markdown/images/documentimageprovider.h"
#include "markdown/images/networkimageprovider.h"
#include "markdown/layout/document/documentpagination.h"
#include "markdown/layout/document/pageddocumentpainter.h"
#include "markdown/layout/view/markdownview.h"
#include "preview/findbar.h"
#include "preview/previewdocumenttheme.h"
#include "preview/previewzoom.h"

#include "ui/dynamiccolor.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QShortcut>
#include <QStringDecoder>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

using namespace kestrune;

namespace {

// Whether the arguments ask for a PDF only: no window is shown then, so no display is needed.
bool writesPdfOnly(int argc, char **argv)
{
    for (int index = 1; index < argc; ++index) {
        const QByteArray argument(argv[index]);
        if (argument == "--pdf" || argument.startsWith("--pdf="))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (writesPdfOnly(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrune-md-view"));
    Localization::install(&application);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows a Markdown file with the rendering engine."));
    parser.addHelpOption();
    QCommandLineOption themeOption(QStringLiteral("theme"), QStringLiteral("default or preview"),
                                   QStringLiteral("name"), QStringLiteral("default"));
    QCommandLineOption appearanceOption(QStringLiteral("appearance"), QStringLiteral("light or dark"),
                                        QStringLiteral("appearance"), QStringLiteral("light"));
    QCommandLineOption widthOption(QStringLiteral("width"), QStringLiteral("window width"),
                                   QStringLiteral("points"), QStringLiteral("900"));
    QCommandLineOption heightOption(QStringLiteral("height"), QStringLiteral("window height"),
                                    QStringLiteral("points"), QStringLiteral("1000"));
    QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                        QStringLiteral("write the window to a PNG and exit"),
                                        QStringLiteral("file"));
    QCommandLineOption pdfOption(QStringLiteral("pdf"), QStringLiteral("write the file as PDF and exit"),
                                 QStringLiteral("file"));
    parser.addOptions(
        {themeOption, appearanceOption, widthOption, heightOption, screenshotOption, pdfOption});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The Markdown file."));
    parser.process(application);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(1);

    const QString path = parser.positionalArguments().first();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kestrune-md-view: cannot read %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return 1;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(file.readAll());
    if (decoder.hasError()) {
        std::fprintf(stderr, "kestrune-md-view: %s is not UTF-8\n", qPrintable(path));
        return 1;
    }

    const Appearance appearance =
        parser.value(appearanceOption) == QLatin1String("dark") ? Appearance::dark : Appearance::light;
    QApplication::setPalette(ThemeController::paletteFor(appearance));

    // The preview pane's background, so the preview look reads as it will in the application.
    constexpr DynamicColor paneBackground =
        dynamicColor(0.07f, 0.1f, 0.16f, 0.9f, 0.95f, 0.96f, 0.98f, 0.95f);
    QWidget window;
    window.setWindowTitle(QFileInfo(path).fileName());
    auto *findBar = new FindBar(&window);
    findBar->hide();
    MarkdownView &view = *new MarkdownView(&window);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(findBar);
    layout->addWidget(&view, 1);
    QObject::connect(findBar, &FindBar::queryChanged, &view, &MarkdownView::find);
    QObject::connect(findBar, &FindBar::nextRequested, &view, &MarkdownView::findNext);
    QObject::connect(findBar, &FindBar::previousRequested, &view, &MarkdownView::findPrevious);
    QObject::connect(findBar, &FindBar::closed, &view, &MarkdownView::clearFind);
    QObject::connect(&view, &MarkdownView::findStatusChanged, findBar,
                     [findBar, &view] { findBar->setStatus(view.findStatus()); });
    const auto shortcut = [&window](QKeySequence::StandardKey key, auto slot) {
        QObject::connect(new QShortcut(key, &window), &QShortcut::activated, &window, slot);
    };
    shortcut(QKeySequence::Find, [findBar] { findBar->open(); });
    shortcut(QKeySequence::FindNext, [&view] { view.findNext(); });
    shortcut(QKeySequence::FindPrevious, [&view] { view.findPrevious(); });
    PreviewZoom &zoom = PreviewZoom::shared();
    shortcut(QKeySequence::ZoomIn, [&zoom] { zoom.zoomIn(); });
    shortcut(QKeySequence::ZoomOut, [&zoom] { zoom.zoomOut(); });
    QObject::connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), &window), &QShortcut::activated, &zoom,
                     &PreviewZoom::reset);
    QObject::connect(&view, &MarkdownView::zoomStepRequested, &zoom, &PreviewZoom::step);
    QObject::connect(&zoom, &PreviewZoom::changed, &view, [&view, &zoom] { view.setZoom(zoom.factor()); });
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, paneBackground.resolve(appearance));
    view.setPalette(palette);
    view.setAutoFillBackground(true);
    if (parser.value(themeOption) == QLatin1String("preview"))
        view.setTheme(PreviewDocumentTheme::make());
    // Pictures beside the file are shown, from its folder and below only, as in the application.
    const QFileInfo info(path);
    const auto images =
        std::make_shared<DocumentImageProvider>(info.absolutePath(), NetworkImageProvider::shared());
    view.setImageProvider(images);
    view.setInlineImageProvider(images);
    view.setImageBaseUrl(QUrl::fromLocalFile(info.absolutePath() + QLatin1Char('/')));
    view.setDocumentMargins(QMarginsF(16, 16, 16, 16));
    if (parser.isSet(pdfOption)) {
        const QString target = parser.value(pdfOption);
        QPdfWriter writer(target);
        writer.setPageLayout(PagedDocumentPainter::defaultPageLayout());
        writer.setTitle(info.fileName());
        DocumentPagination pagination(MarkdownParser::parse(text), view.environment(),
                                      PagedDocumentPainter::contentSize(writer.pageLayout()));
        pagination.layoutAll();
        if (!PagedDocumentPainter(pagination, info.fileName()).print(writer)) {
            std::fprintf(stderr, "kestrune-md-view: cannot write %s\n", qPrintable(target));
            return 1;
        }
        return 0;
    }
    window.resize(parser.value(widthOption).toInt(), parser.value(heightOption).toInt());
    view.setMarkdown(text);
    window.show();

    if (parser.isSet(screenshotOption)) {
        const QString target = parser.value(screenshotOption);
        QTimer::singleShot(1500, &view, [&view, target] {
            view.layoutDump();
            view.grab().save(target);
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
