#pragma once

#include "markdown/layout/style/blockmargin.h"
#include "markdown/layout/style/length.h"
#include "markdown/layout/style/textstyle.h"

#include "ui/dynamiccolor.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kestrune {

struct BlockViewNode;

// What a block style returns: an immutable description of a piece of the page, built from the
// label the engine hands to the style and a few primitives, and turned into layout nodes when
// the document is laid out. Descriptions are cheap to copy; relative lengths resolve against the
// text style in force where they end up, so a style reads as it is meant:
//
//     theme.paragraph = [](const BlockConfiguration &configuration) {
//         return configuration.label.lineSpacing(RelativeSize::em(0.36)).margin(0, 14);
//     };
//
// Modifiers wrap the view they are called on: in `label.padding(...).textStyle(style)` the
// padding resolves against `style`, as the text inside does.
class BlockView
{
public:
    enum class HorizontalAlignment
    {
        leading,
        center,
        trailing
    };
    enum class VerticalAlignment
    {
        top,
        center,
        bottom
    };
    enum Edge
    {
        top = 0x1,
        leading = 0x2,
        bottom = 0x4,
        trailing = 0x8,
        horizontal = 0xa,
        vertical = 0x5,
        all = 0xf
    };

    BlockView(); // draws nothing and takes no room

    // A vertical stack, children aligned by `alignment`, `spacing` points apart.
    static BlockView vstack(QList<BlockView> children,
                            HorizontalAlignment alignment = HorizontalAlignment::leading, qreal spacing = 0);
    // A horizontal stack. Shapes and dividers in it are as tall as the stack's other content.
    static BlockView hstack(QList<BlockView> children, VerticalAlignment alignment = VerticalAlignment::top,
                            qreal spacing = 0);
    // A hairline across the offered width (or down the height of a horizontal stack), in the
    // colour given or the platform's separator colour.
    static BlockView divider(std::optional<DynamicColor> color = std::nullopt);
    // A filled (rounded) rectangle that takes the room it is offered.
    static BlockView rectangle(const DynamicColor &fill, qreal cornerRadius = 0);
    // A named symbol drawn in the text colour in force, as large as the text size in force times
    // `fraction` (rounded).
    static BlockView symbol(const QString &name, qreal fraction = 1, QFont::Weight weight = QFont::Normal);
    // A text in the text style in force that never wraps.
    static BlockView text(const QString &text);
    // Its content laid out at its ideal width inside the offered width; wider content scrolls
    // sideways on its own, with a scroll indicator when `showsIndicators`.
    static BlockView horizontalScroll(const BlockView &content, bool showsIndicators = true);

    // Composes the style with the one in force (the enclosing first, so `style` wins).
    BlockView textStyle(const TextStyle &style) const;
    BlockView foregroundColor(const DynamicColor &color) const;
    // Texts inside cannot be selected, copied or found: captions and labels a style adds.
    BlockView unselectable() const;
    // Extra space between the lines of the text inside.
    BlockView lineSpacing(Length spacing) const;
    BlockView padding(int edges, Length length) const;
    BlockView padding(Length length) const { return padding(all, length); }
    // The block's margins; absent values declare nothing.
    BlockView margin(std::optional<Length> top, std::optional<Length> bottom) const;
    // Paints behind the view, inside its bounds.
    BlockView background(const DynamicColor &fill, qreal cornerRadius = 0) const;
    // Clips the view and what it paints to a rounded rectangle.
    BlockView clip(qreal cornerRadius) const;
    // A frame around the view: a fixed width or height, or at least `minWidth`; the view is
    // placed in it by the alignment.
    BlockView frame(std::optional<Length> width, std::optional<Length> height = std::nullopt,
                    HorizontalAlignment alignment = HorizontalAlignment::leading) const;
    BlockView frame(Length minWidth, HorizontalAlignment alignment) const;
    // Views keep their ideal height in this engine and are never compressed vertically, so
    // this only documents the intent.
    BlockView fixedSize() const { return *this; }

    const BlockViewNode &node() const { return *m_node; }
    explicit BlockView(std::shared_ptr<const BlockViewNode> node);

private:
    BlockView wrapped(BlockViewNode modifier) const;

    std::shared_ptr<const BlockViewNode> m_node;
};

} // namespace kestrune
