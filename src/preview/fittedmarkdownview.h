#pragma once

#include "markdown/layout/view/markdownview.h"

namespace kestrune {

// A rendered piece of Markdown as tall as its text, for pages that stack several of them in one
// scroll area: it never scrolls itself (the wheel goes on to the page), and takes the height of
// its laid-out text at every width. The document look, a step smaller, with selectable text, at
// the previews' zoom (Ctrl and the wheel change it here too).
class FittedMarkdownView : public MarkdownView
{
    Q_OBJECT

public:
    explicit FittedMarkdownView(const QString &markdown, QWidget *parent = nullptr);

    // Whether the pieces made from now on load pictures from the web (on unless turned off, the
    // reader's choice for every document the program shows).
    static void setLoadsRemoteImages(bool load);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitHeight();
};

} // namespace kestrune
