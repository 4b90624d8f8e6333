#include "preview/fittedmarkdownview.h"

#include "preview/previewdocumenttheme.h"
#include "preview/previewzoom.h"

#include <QResizeEvent>
#include <QTimer>

#include <cmath>

namespace kestrune {

namespace {

bool &loadsRemoteImages()
{
    static bool load = true;
    return load;
}

} // namespace

void FittedMarkdownView::setLoadsRemoteImages(bool load)
{
    loadsRemoteImages() = load;
}

FittedMarkdownView::FittedMarkdownView(const QString &markdown, QWidget *parent) : MarkdownView(parent)
{
    MarkdownEnvironment environment = this->environment();
    environment.theme = PreviewDocumentTheme::make();
    environment.theme.text = environment.theme.text + TextStyle::fontSize(RelativeSize::em(0.88));
    environment.loadsRemoteImages = loadsRemoteImages();
    setEnvironment(environment);
    setDocumentMargins(QMarginsF(0, 0, 0, 0));
    setTextSelectionEnabled(true);
    setOpenLinks(false);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    setZoom(PreviewZoom::shared().factor());
    setMarkdown(markdown);
    connect(this, &MarkdownView::layoutCompleted, this, &FittedMarkdownView::fitHeight);
    connect(&PreviewZoom::shared(), &PreviewZoom::changed, this, [this] {
        setZoom(PreviewZoom::shared().factor());
        fitHeight();
    });
    connect(this, &MarkdownView::zoomStepRequested, &PreviewZoom::shared(), &PreviewZoom::step);
    fitHeight();
}

void FittedMarkdownView::resizeEvent(QResizeEvent *event)
{
    MarkdownView::resizeEvent(event);
    if (event->oldSize().width() != event->size().width())
        QTimer::singleShot(0, this, &FittedMarkdownView::fitHeight); // once laid out at the new width
}

void FittedMarkdownView::fitHeight()
{
    setFixedHeight(int(std::ceil(documentHeight() * zoom())) + 2);
}

} // namespace kestrune
