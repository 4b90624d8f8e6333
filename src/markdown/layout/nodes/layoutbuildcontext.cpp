#include "markdown/layout/nodes/layoutbuildcontext_p.h"

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
        identifiedTexts.emplace_back(node->documentIndex(), identifier);
}

} // namespace kestrune
