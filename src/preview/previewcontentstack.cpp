#include "preview/previewcontentstack.h"

#include "preview/errortextview.h"
#include "preview/largefilesourceview.h"
#include "preview/previewcolors.h"
#include "preview/previewzoom.h"
#include "preview/sourcetextview.h"
#include "ui/centeredtextview.h"
#include "ui/loadingindicator.h"
#include "ui/localization.h"

namespace kestrune {

namespace {

constexpr int documentPadding = 16;

// The size of the text in UTF-8, counted without making a copy of tens of megabytes.
qint64 utf8Size(QStringView text)
{
    qint64 size = 0;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        // A surrogate pair makes four bytes, two for each half.
        size += unit < 0x80 ? 1 : (unit < 0x800 || QChar::isSurrogate(unit)) ? 2 : 3;
    }
    return size;
}

template <typename View> void discard(QPointer<View> &view)
{
    if (view) {
        view->hide();
        view->deleteLater();
    }
    view.clear();
}

} // namespace

PreviewContentStack::PreviewContentStack(QWidget *parent)
    : QStackedWidget(parent),
      m_loading(new LoadingIndicator(Localization::text("markdown.loading"), PreviewColors::accent,
                                     PreviewColors::secondaryText, this)),
      m_error(new ErrorTextView(this)),
      m_empty(new CenteredTextView(Localization::text("markdown.empty"), PreviewColors::secondaryText, this))
{
    m_loading->setObjectName(QStringLiteral("loading"));
    m_error->setObjectName(QStringLiteral("readError"));
    m_empty->setObjectName(QStringLiteral("emptyNotice"));
    addWidget(m_loading);
    addWidget(m_error);
    addWidget(m_empty);
    connect(&PreviewZoom::shared(), &PreviewZoom::changed, this, &PreviewContentStack::applyZoom);
}

PreviewContentStack::~PreviewContentStack() = default;

void PreviewContentStack::showLoading()
{
    setCurrentWidget(m_loading);
}

void PreviewContentStack::showError(const QString &message)
{
    m_error->setText(message);
    setCurrentWidget(m_error);
}

void PreviewContentStack::showEmpty()
{
    setCurrentWidget(m_empty);
}

MarkdownView *PreviewContentStack::document() const
{
    return m_document;
}

SourceTextView *PreviewContentStack::source() const
{
    return m_source;
}

void PreviewContentStack::showSource(const QString &text)
{
    if (!m_source) {
        m_source = new SourceTextView(text, this);
        adoptSourceView(m_source);
        addWidget(m_source);
    }
    setCurrentWidget(m_source);
}

void PreviewContentStack::showLargeSource(const QString &text)
{
    if (!m_largeSource) {
        const qint64 megabytes = (utf8Size(text) + (1 << 20) - 1) >> 20;
        m_largeSource =
            new LargeFileSourceView(text, Localization::format("markdown.large.notice", megabytes), this);
        connect(m_largeSource, &LargeFileSourceView::renderRequested, this, [this] {
            m_largeTextRenderChosen = true;
            Q_EMIT largeTextRenderChosen();
        });
        addWidget(m_largeSource);
        adoptSourceView(m_largeSource->source());
    }
    setCurrentWidget(m_largeSource);
}

bool PreviewContentStack::showDocument(bool loadsRemoteImages)
{
    if (!m_document && m_unshownDocument) {
        if (isStale(*m_unshownDocument, loadsRemoteImages)) {
            delete m_unshownDocument.data();
        } else {
            m_unshownDocument->showPrepared(*m_unshownPage);
            m_unshownDocument->setZoom(PreviewZoom::shared().factor()); // if it changed meanwhile
            adoptDocument(m_unshownDocument);
        }
        m_unshownDocument.clear();
        m_unshownPage.reset();
    }
    if (!m_document)
        return false;
    setCurrentWidget(m_document);
    return true;
}

bool PreviewContentStack::isStale(const MarkdownView &view, bool loadsRemoteImages)
{
    return view.environment().loadsRemoteImages != loadsRemoteImages;
}

MarkdownView *PreviewContentStack::makeDocumentView(const QString &name,
                                                    const MarkdownEnvironment &environment)
{
    auto *view = new MarkdownView(this);
    view->hide(); // until the stack shows it
    view->setObjectName(QStringLiteral("renderedDocument"));
    view->setAccessibleName(name);
    view->setEnvironment(environment);
    view->setDocumentMargins(QMarginsF(documentPadding, documentPadding, documentPadding, documentPadding));
    view->setTextSelectionEnabled(true);
    // The pane opens links itself: a relative one must resolve against the file's folder.
    view->setOpenLinks(false);
    view->setZoom(PreviewZoom::shared().factor());
    view->resize(size()); // as the stack will show it
    return view;
}

void PreviewContentStack::adoptDocument(MarkdownView *view)
{
    connect(view, &MarkdownView::linkActivated, this, &PreviewContentStack::linkActivated);
    connect(view, &MarkdownView::zoomStepRequested, &PreviewZoom::shared(), &PreviewZoom::step);
    connect(view, &MarkdownView::linkHovered, this, &PreviewContentStack::linkHovered);
    addWidget(view);
    m_document = view;
}

void PreviewContentStack::keepUnshown(MarkdownView *view, std::shared_ptr<PreparedMarkdownPage> page)
{
    discard(m_unshownDocument);
    m_unshownDocument = view;
    m_unshownPage = std::move(page);
}

void PreviewContentStack::dropDocument()
{
    discard(m_document);
}

void PreviewContentStack::dropTextViews()
{
    discard(m_document);
    discard(m_unshownDocument);
    m_unshownPage.reset();
    discard(m_source);
    discard(m_largeSource);
    m_largeTextRenderChosen = false;
}

PreviewReadingPosition PreviewContentStack::readingPosition(MarkdownViewMode mode) const
{
    PreviewReadingPosition position;
    position.mode = mode;
    if (m_document)
        position.document = m_document->readingPosition();
    if (m_source)
        position.sourceTopLine = m_source->topLine();
    return position;
}

void PreviewContentStack::setReadingPosition(const PreviewReadingPosition &position)
{
    if (m_document && position.document)
        m_document->setReadingPosition(*position.document);
    if (m_source)
        m_source->scrollToLine(position.sourceTopLine);
}

void PreviewContentStack::adoptSourceView(SourceTextView *view)
{
    view->setZoom(PreviewZoom::shared().factor());
    connect(view, &SourceTextView::zoomStepRequested, &PreviewZoom::shared(), &PreviewZoom::step);
}

void PreviewContentStack::applyZoom()
{
    const qreal zoom = PreviewZoom::shared().factor();
    if (m_document)
        m_document->setZoom(zoom);
    if (m_source)
        m_source->setZoom(zoom);
    if (m_largeSource)
        m_largeSource->source()->setZoom(zoom);
}

} // namespace kestrune
