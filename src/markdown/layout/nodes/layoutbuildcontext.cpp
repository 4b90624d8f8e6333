#include "markdown/layout/nodes/layoutbuildcontext_p.h"

#include "markdown/layout/nodes/layoutimagestore_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"

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
    node->setIdentifier(identifier);
    if (!identifier.isEmpty() && node->documentIndex() >= 0 && replayedText < 0)
        identifiedTexts.push_back({node->documentIndex(), identifier, 0});
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
