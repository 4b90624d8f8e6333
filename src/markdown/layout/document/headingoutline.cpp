#include "markdown/layout/document/headingoutline.h"

#include "markdown/layout/nodes/inlinequeries_p.h"
#include "text/headingidentifiersequence.h"

namespace kestrune {

QList<HeadingOutline::Heading> HeadingOutline::of(const QList<BlockNode> &blocks)
{
    QList<Heading> headings;
    for (qsizetype index = 0; index < blocks.size(); ++index)
        collect({blocks.at(index)}, int(index), headings);
    HeadingIdentifierSequence identifiers;
    for (Heading &heading : headings)
        heading.identifier = identifiers.next(heading.identifier);
    return headings;
}

QString HeadingOutline::identifier(const QList<InlineNode> &content)
{
    return InlineQueries::headingIdentifier(content);
}

void HeadingOutline::collect(const QList<BlockNode> &blocks, int blockIndex, QList<Heading> &headings)
{
    // Documents nest at most MarkdownParser::maxBlockDepth containers: the recursion is bounded.
    for (const BlockNode &block : blocks) {
        if (const auto *heading = block.as<Block::Heading>()) {
            headings.append({heading->level, InlineQueries::plainText(heading->content).simplified(),
                             identifier(heading->content), blockIndex});
        } else if (const auto *quote = block.as<Block::Blockquote>()) {
            collect(quote->children, blockIndex, headings);
        } else if (const auto *note = block.as<Block::FootnoteDefinition>()) {
            collect(note->children, blockIndex, headings);
        } else if (const auto *list = block.as<Block::BulletedList>()) {
            for (const RawListItem &item : list->items)
                collect(item.children, blockIndex, headings);
        } else if (const auto *numbered = block.as<Block::NumberedList>()) {
            for (const RawListItem &item : numbered->items)
                collect(item.children, blockIndex, headings);
        } else if (const auto *tasks = block.as<Block::TaskList>()) {
            for (const RawTaskListItem &item : tasks->items)
                collect(item.children, blockIndex, headings);
        }
    }
}

} // namespace kestrune
