#pragma once

#include "markdown/layout/view/markdownview.h"
#include "preview/previewreadingposition.h"

#include <QPointer>
#include <QStackedWidget>

#include <memory>

namespace kestrune {

class CenteredTextView;
class ErrorTextView;
class LargeFileSourceView;
class LoadingIndicator;
class SourceTextView;

// The content area of the preview pane. It shows one of: the loading indicator, the read error,
// the empty-file notice, or a view of the text on show, that is the rendered document, the source
// text, or the source of a text too long to render at once under a notice that offers to render
// it. The views of a text are made when their mode is first chosen, at the program's zoom and
// following it, and dropped with that text. A page laid out off the window's thread while the
// source was on show is kept aside, unshown, until the rendered document is chosen: a view
// showing it would lay out the rest of the text in slices of the window's thread meanwhile.
class PreviewContentStack : public QStackedWidget
{
    Q_OBJECT

public:
    explicit PreviewContentStack(QWidget *parent = nullptr);
    ~PreviewContentStack() override;

    void showLoading();
    void showError(const QString &message);
    void showEmpty();

    // The views made so far for the text on show (nullptr before).
    MarkdownView *document() const;
    SourceTextView *source() const;

    // Shows the source text, made from `text` (the text on show) when it has no view yet.
    void showSource(const QString &text);
    // Shows a text too long to render as source under its notice, until the reader asks for it
    // rendered: then isLargeTextRenderChosen() holds for that text, and largeTextRenderChosen()
    // is emitted.
    void showLargeSource(const QString &text);
    bool isLargeTextRenderChosen() const { return m_largeTextRenderChosen; }
    // Shows the rendered document: the view made for it, else the page kept aside, unless that
    // is stale. False when there is neither: a view is to be made (adoptDocument).
    bool showDocument(bool loadsRemoteImages);
    // Whether a view was made with another choice of remote images than the one in force: what
    // it laid out no longer holds, and the text is laid out afresh instead.
    static bool isStale(const MarkdownView &view, bool loadsRemoteImages);

    // A view for the rendered document, hidden until it is shown, as large as the area and at
    // the program's zoom; `name` is what a screen reader calls the document.
    MarkdownView *makeDocumentView(const QString &name, const MarkdownEnvironment &environment);
    // Takes in a view made for the text on show as its rendered document (not shown yet).
    void adoptDocument(MarkdownView *view);
    // Keeps a view and the page laid out for it aside, until the rendered document is chosen.
    void keepUnshown(MarkdownView *view, std::shared_ptr<PreparedMarkdownPage> page);
    // Drops the rendered document, which is made again when next shown.
    void dropDocument();
    // Drops every view of the text on show: another text takes its place.
    void dropTextViews();

    // Where the reader stands in the views made so far (`mode`: the one on show).
    PreviewReadingPosition readingPosition(MarkdownViewMode mode) const;
    // Takes the views made so far to a reading position.
    void setReadingPosition(const PreviewReadingPosition &position);

Q_SIGNALS:
    // From the rendered document.
    void linkActivated(const QUrl &url);
    void linkHovered(const QUrl &url);
    void largeTextRenderChosen();

private:
    // A source view made for the text on show: at the program's zoom, and following it.
    void adoptSourceView(SourceTextView *view);
    void applyZoom();

    LoadingIndicator *m_loading;
    ErrorTextView *m_error;
    CenteredTextView *m_empty;
    QPointer<MarkdownView> m_document;
    QPointer<SourceTextView> m_source;
    QPointer<LargeFileSourceView> m_largeSource;
    bool m_largeTextRenderChosen = false; // the reader asked to render the large text on show
    QPointer<MarkdownView> m_unshownDocument;
    std::shared_ptr<PreparedMarkdownPage> m_unshownPage;
};

} // namespace kestrune
