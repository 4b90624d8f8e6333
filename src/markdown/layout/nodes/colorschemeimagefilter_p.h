#pragma once

#include "markdown/document/blocknode.h"

#include "ui/appearance.h"

#include <optional>

namespace kestrune {

// Which colour scheme an image is made for, told by the fragment of its source:
// "#gh-dark-mode-only" or "#gh-light-mode-only", in any case.
enum class ImageScheme
{
    any,
    darkOnly,
    lightOnly
};

// Drops the images made for the other colour scheme from a block, so a page shows the one
// variant of a picture that suits the appearance it is drawn in.
class ColorSchemeImageFilter
{
public:
    static ImageScheme schemeOf(const QString &source);

    // The block without the images made for the other colour scheme than `appearance`. `found`
    // is set when the block has an image made for either scheme, so the caller knows the page
    // must be built again when the appearance changes.
    static BlockNode withoutOtherSchemeImages(const BlockNode &block, Appearance appearance,
                                              bool *found = nullptr);

private:
    explicit ColorSchemeImageFilter(Appearance appearance);

    // Each returns the filtered copy, or nothing when nothing goes: most blocks have no scheme
    // images, and their lists then stay shared instead of being copied.
    std::optional<QList<InlineNode>> filteredInlines(const QList<InlineNode> &inlines);
    std::optional<BlockNode> filteredBlock(const BlockNode &block);
    std::optional<QList<BlockNode>> filteredBlocks(const QList<BlockNode> &blocks);
    std::optional<BlockNode> filteredList(const BlockNode &block); // bulleted or numbered
    std::optional<BlockNode> filteredTaskList(const Block::TaskList &list);
    std::optional<BlockNode> filteredTable(const Block::Table &table);

    ImageScheme m_dropped;
    bool m_found = false;
};

} // namespace kestrune
