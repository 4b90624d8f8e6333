// Parses arbitrary bytes as Markdown and renders the model back in all three
// forms, checking the promises the model makes to its users.

#include "markdown/document/htmltag.h"
#include "markdown/document/markdowncontent.h"
#include "markdown/document/markdownparser.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace kestrune;

namespace {

int inlineDepth(const QList<InlineNode> &inlines)
{
    int deepest = 0;
    for (const InlineNode &node : inlines) {
        if (const auto *html = node.as<Inline::Html>())
            (void)HTMLTag::name(html->html);
        if (const QList<InlineNode> *children = node.children())
            deepest = std::max(deepest, 1 + inlineDepth(*children));
    }
    return deepest;
}

int blockDepth(const QList<BlockNode> &blocks)
{
    int deepest = 0;
    for (const BlockNode &block : blocks) {
        if (const QList<InlineNode> *inlines = block.inlines()) {
            if (inlineDepth(*inlines) > MarkdownParser::maxInlineDepth)
                std::abort();
        }
        int depth = 0;
        if (const auto *quote = block.as<Block::Blockquote>())
            depth = 1 + blockDepth(quote->children);
        auto items = [&depth](const auto &list) {
            for (const auto &item : list.items)
                depth = std::max(depth, 1 + blockDepth(item.children));
        };
        if (const auto *list = block.as<Block::BulletedList>())
            items(*list);
        if (const auto *list = block.as<Block::NumberedList>())
            items(*list);
        if (const auto *list = block.as<Block::TaskList>())
            items(*list);
        if (const auto *table = block.as<Block::Table>()) {
            for (const RawTableRow &row : table->rows)
                for (const RawTableCell &cell : row.cells)
                    if (inlineDepth(cell.content) > MarkdownParser::maxInlineDepth)
                        std::abort();
        }
        deepest = std::max(deepest, depth);
    }
    return deepest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const MarkdownContent content(MarkdownParser::parseUtf8(bytes));

    if (blockDepth(content.blocks) > MarkdownParser::maxBlockDepth)
        std::abort();
    if (!(content == MarkdownContent(content.blocks)))
        std::abort();

    const QString commonMark = content.renderCommonMark();
    (void)content.renderPlainText();
    (void)content.renderHtml();

    // What we render back must parse again.
    (void)MarkdownParser::parse(commonMark);
    return 0;
}
