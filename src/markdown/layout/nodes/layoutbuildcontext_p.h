#pragma once

#include "markdown/document/inlinenode.h"
#include "markdown/layout/nodes/textstructure_p.h"
#include "markdown/layout/style/textattributes.h"
#include "markdown/layout/text/inlinetextrenderer.h"
#include "markdown/layout/text/layoutfontcache_p.h"
#include "markdown/layout/text/layouttextcache_p.h"

#include "text/headingidentifiersequence.h"
#include "ui/appearance.h"

#include <QList>
#include <QMultiHash>
#include <QUrl>

#include <vector>

namespace kestrune {

class ImageProvider;
class LayoutImageStore;
class LayoutNode;
class LayoutTextNode;

// What the nodes of one document share while they are built: fonts, images, the selectable
// texts in document order and where they sit, and the texts that wait for inline images.
struct LayoutBuildContext
{
    struct InlineImageText
    {
        LayoutTextNode *node = nullptr;
        QList<InlineNode> inlines;
        InlineTextRenderer::Options options;
        TextAttributes attributes;
        QList<std::pair<QString, QUrl>> images; // source string and resolved URL
    };
    // A picture of the page as assistive technology names it: a block image (its node, and
    // the selectable text that follows it) or the `image`-th picture of a selectable text.
    struct Picture
    {
        const LayoutNode *node = nullptr;
        int textNode = -1; // document index of the text holding it, or of the next text
        int image = -1;    // index among the text's pictures; -1 for a block image
        QString alternative;
    };

    Appearance appearance = Appearance::light;
    qreal devicePixelRatio = 1;
    LayoutFontCache fonts;
    LayoutTextCache textLayouts;
    LayoutImageStore *images = nullptr;
    std::vector<LayoutTextNode *> textNodes;
    // Where each of textNodes sits among the blocks, items and cells.
    TextStructure textStructure;
    std::vector<InlineImageText> inlineImageTexts;
    QMultiHash<QUrl, LayoutNode *> imageNodes;
    std::vector<Picture> pictures; // in document order
    // A place links to "#identifier" scroll to: a heading (at the start of its text), a footnote
    // or a footnote reference.
    struct IdentifiedText
    {
        int text = -1; // document index
        QString identifier;
        int position = 0; // in the text
    };
    // The places with an identifier, by document index, in order.
    std::vector<IdentifiedText> identifiedTexts;
    // The headings' identifiers given so far, each unique in the document.
    HeadingIdentifierSequence headingIdentifiers;
    bool hasColorSchemeImages = false;
    // While a parked block is built again, its texts take back their document indices from
    // this one on; -1 otherwise.
    int replayedText = -1;

    // The document index the next selectable text gets.
    int nextTextIndex() const { return replayedText >= 0 ? replayedText : int(textNodes.size()); }
    // Gives a selectable text its document index and records it in `container`.
    void addText(LayoutTextNode *node, int container);
    // Gives a heading's text its identifier, `identifier` made unique in the document
    // (HeadingIdentifierSequence), and notes it once: while replaying, the text takes back the
    // identifier it was given.
    void setIdentifier(LayoutTextNode *node, const QString &identifier);
    // Notes a place inside the selectable text `text` (a document index) that links to
    // "#identifier" lead to (once: not again while replaying). Unlike a heading's, it does not
    // name the text.
    void addAnchor(int text, const QString &identifier, int position);
    // Renders again the texts waiting for the inline picture `url` from `provider` once it
    // arrived or failed; returns those that changed.
    std::vector<LayoutTextNode *> renderSettledInlineImage(const QUrl &url, ImageProvider *provider);

    // Forgets the nodes (before the document's nodes are dropped); fonts stay.
    void clearNodes()
    {
        textLayouts.clear();
        textNodes.clear();
        textStructure.clear();
        inlineImageTexts.clear();
        imageNodes.clear();
        pictures.clear();
        identifiedTexts.clear();
        headingIdentifiers = {};
        hasColorSchemeImages = false;
        replayedText = -1;
    }
};

} // namespace kestrune
