#include "markdown/layout/nodes/layoutbuildcontext_p.h"

#include "markdown/layout/nodes/layoutimagestore_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"

#include <algorithm>

namespace kestrune {

void LayoutBuildContext::addText(LayoutTextNode *node, int container)
{
    node->setDocumentIndex(nextTextIndex());
    if (replayedText >= 0) {
        textNodes[size_t(replayedText++)] = node;
        return;
    }
    textNodes.push_back(node);
    textStructure.addText(container);
}

void LayoutBuildContext::setIdentifier(LayoutTextNode *node, const QString &identifier)
{
    if (identifier.isEmpty()) {
        node->setIdentifier(identifier);
        return;
    }
    if (replayedText >= 0) {
        // A heading's place comes before the anchors within its text.
        const auto given =
            std::lower_bound(identifiedTexts.begin(), identifiedTexts.end(), node->documentIndex(),
                             [](const IdentifiedText &place, int text) { return place.text < text; });
        if (given != identifiedTexts.end() && given->text == node->documentIndex())
            node->setIdentifier(given->identifier);
        return;
    }
    const QString unique = headingIdentifiers.next(identifier);
    node->setIdentifier(unique);
    if (node->documentIndex() >= 0)
        identifiedTexts.push_back({node->documentIndex(), unique, 0});
}

void LayoutBuildContext::addAnchor(int text, const QString &identifier, int position)
{
    if (!identifier.isEmpty() && text >= 0 && replayedText < 0)
        identifiedTexts.push_back({text, identifier, position});
}

std::vector<LayoutTextNode *> LayoutBuildContext::renderSettledInlineImage(const QUrl &url,
                                                                           ImageProvider *provider)
{
    std::vector<LayoutTextNode *> changed;
    for (InlineImageText &text : inlineImageTexts) {
        bool affected = false;
        for (const auto &[source, imageUrl] : text.images) {
            if (imageUrl != url)
                continue;
            if (const QImage *image = images->image(imageUrl, provider)) {
                text.options.images.insert(source, *image);
                affected = true;
            } else if (images->hasFailed(imageUrl, provider)) {
                text.options.failedImages.insert(source);
                affected = true;
            }
        }
        if (!affected)
            continue;
        if (!text.options.failedImages.isEmpty() && text.options.failedImageSymbol.isNull())
            text.options.failedImageSymbol = InlineTextRenderer::failedImageSymbol(
                text.attributes.fontPropertiesOrDefault(), devicePixelRatio);
        text.node->setText(InlineTextRenderer::render(text.inlines, text.options, text.attributes), fonts);
        changed.push_back(text.node);
    }
    return changed;
}

} // namespace kestrune
