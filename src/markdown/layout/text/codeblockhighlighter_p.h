#pragma once

#include "markdown/document/blocknode.h"
#include "markdown/layout/style/codehighlightrange.h"
#include "markdown/layout/style/codetokenpalette.h"

#include "highlight/codetoken.h"

#include <QList>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class QThreadPool;

namespace kestrune {

// Colours a code block by the language its fence names, with a theme's token palette: the
// highlighter's tokens become styled ranges of the palette's colours. Tokens are kept in the
// shared CodeHighlightCache. Where a page is prepared (the preview's read pool) the code blocks
// it was given are highlighted ahead, so the window thread finds them there; on the window
// thread a block missing from the cache gets a few milliseconds and otherwise stays plain.
class CodeBlockHighlighter
{
public:
    CodeBlockHighlighter() = delete;

    // What a block missing from the cache may take on the window thread.
    static constexpr std::chrono::milliseconds windowThreadBudget{8};

    // The code a block shows: its content less one final line feed.
    static QString displayedCode(const Block::CodeBlock &block);

    // The coloured ranges of the code; none for an unknown language, code over
    // CodeHighlighter::maxCodeLength or code that took too long.
    static QList<CodeHighlightRange> ranges(const QString &code, const std::optional<QString> &fenceInfo,
                                            const CodeTokenPalette &palette);

    // Highlights the code blocks among `blocks` (nested ones too) into the cache, in order,
    // until `total` has passed or `keepGoing` (asked before each block) says no.
    static void highlightAhead(const QList<BlockNode> &blocks, std::chrono::milliseconds total,
                               const std::function<bool()> &keepGoing = {});
    // The same on the pool, at a low priority and within `total`; a later call stops the work
    // of an earlier one that is still running, so one document's blocks at most hold a thread.
    static void highlightAheadOn(QThreadPool &pool, const QList<BlockNode> &blocks,
                                 std::chrono::milliseconds total);

private:
    static std::optional<QList<CodeToken>> tokens(const QString &code, const QString &language,
                                                  std::chrono::milliseconds budget);
};

} // namespace kestrune
