#pragma once

#include "markdown/images/imageprovider.h"
#include "markdown/layout/style/codehighlightrange.h"
#include "markdown/layout/style/softbreakmode.h"
#include "markdown/layout/style/tablebackgroundstyle.h"
#include "markdown/layout/style/tableborderstyle.h"
#include "markdown/layout/style/theme.h"

#include <QUrl>

#include <memory>
#include <optional>

namespace kestrune {

// The values a document is drawn with, beside its content: the theme, how soft breaks show,
// what links and images resolve against, who loads images, how code is highlighted and how
// tables are framed.
struct MarkdownEnvironment
{
    Theme theme;
    SoftBreakMode softBreakMode = SoftBreakMode::space;
    std::optional<QUrl> baseUrl;      // links resolve against it
    std::optional<QUrl> imageBaseUrl; // image sources resolve against it
    // Loaders of block and of inline images; without one, images are not shown.
    std::shared_ptr<ImageProvider> imageProvider;
    std::shared_ptr<ImageProvider> inlineImageProvider;
    // Off: web images (http, https) are not asked for; their place names the server instead.
    bool loadsRemoteImages = true;
    // Empty: the theme's code token colours by language, or plain text without them.
    CodeSyntaxHighlighter codeSyntaxHighlighter;
    // Off (paper): what scrolls sideways on screen, such as code blocks, wraps at the page's
    // width instead, since a page cannot scroll.
    bool scrollsSideways = true;
    TableBorderStyle tableBorderStyle;
    TableBackgroundStyle tableBackgroundStyle; // empty: no fills
};

} // namespace kestrune
