#pragma once

#include "markdown/document/blocknode.h"

#include <QList>
#include <QString>

namespace kestrune {

// Turns the document model back into a parser tree and renders it with one of
// cmark-gfm's renderers. The tree is built bottom-up without recursion, so a
// model of any depth can be rendered.
class CmarkDocumentBuilder
{
public:
    enum class Format
    {
        commonMark,
        plainText,
        html
    };

    static QString render(const QList<BlockNode> &blocks, Format format);
};

} // namespace kestrune
