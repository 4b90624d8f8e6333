#include "markdown/layout/text/codeblockhighlighter_p.h"

#include "markdown/layout/text/codehighlightcache_p.h"

#include "highlight/codehighlighter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QThreadPool>

#include <atomic>

#include <array>

namespace kestrune {

namespace {

bool onWindowThread()
{
    const QCoreApplication *application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

// Visits the code blocks in document order, those in quotes and lists too, while `visit`
// returns true.
template <typename Visit> bool visitCodeBlocks(const QList<BlockNode> &blocks, const Visit &visit)
{
    for (const BlockNode &block : blocks) {
        if (const auto *code = block.as<Block::CodeBlock>()) {
            if (!visit(*code))
                return false;
        } else if (const auto *quote = block.as<Block::Blockquote>()) {
            if (!visitCodeBlocks(quote->children, visit))
                return false;
        } else if (const auto *bulleted = block.as<Block::BulletedList>()) {
            for (const RawListItem &item : bulleted->items)
                if (!visitCodeBlocks(item.children, visit))
                    return false;
        } else if (const auto *numbered = block.as<Block::NumberedList>()) {
            for (const RawListItem &item : numbered->items)
                if (!visitCodeBlocks(item.children, visit))
                    return false;
        } else if (const auto *tasks = block.as<Block::TaskList>()) {
            for (const RawTaskListItem &item : tasks->items)
                if (!visitCodeBlocks(item.children, visit))
                    return false;
        }
    }
    return true;
}

} // namespace

QString CodeBlockHighlighter::displayedCode(const Block::CodeBlock &block)
{
    const QString &content = block.content;
    return content.endsWith(QLatin1Char('\n')) ? content.left(content.size() - 1) : content;
}

std::optional<QList<CodeToken>> CodeBlockHighlighter::tokens(const QString &code, const QString &language,
                                                             std::chrono::milliseconds budget)
{
    CodeHighlightCache &cache = CodeHighlightCache::shared();
    if (auto known = cache.find(language, code))
        return *known;
    std::optional<QList<CodeToken>> result = CodeHighlighter::highlight(code, language, budget);
    cache.insert(language, code, result);
    return result;
}

QList<CodeHighlightRange> CodeBlockHighlighter::ranges(const QString &code,
                                                       const std::optional<QString> &fenceInfo,
                                                       const CodeTokenPalette &palette)
{
    if (!fenceInfo || code.size() > CodeHighlighter::maxCodeLength)
        return {};
    const std::optional<QString> language = CodeHighlighter::languageOf(*fenceInfo);
    if (!language)
        return {};
    const std::optional<QList<CodeToken>> found =
        tokens(code, *language, onWindowThread() ? windowThreadBudget : CodeHighlighter::defaultBudget);
    if (!found || found->isEmpty())
        return {};

    std::array<TextStyle, codeTokenKindCount> styles;
    for (int kind = 0; kind < codeTokenKindCount; ++kind)
        styles[size_t(kind)] = TextStyle::foregroundColor(palette.color(CodeTokenKind(kind)));
    QList<CodeHighlightRange> result;
    result.reserve(found->size());
    for (const CodeToken &token : *found)
        result.append({token.start, token.length, styles[size_t(token.kind)]});
    return result;
}

void CodeBlockHighlighter::highlightAhead(const QList<BlockNode> &blocks, std::chrono::milliseconds total,
                                          const std::function<bool()> &keepGoing)
{
    QElapsedTimer timer;
    timer.start();
    visitCodeBlocks(blocks, [&](const Block::CodeBlock &block) {
        const auto left = total - std::chrono::milliseconds(timer.elapsed());
        if (left <= std::chrono::milliseconds(0) || (keepGoing && !keepGoing()))
            return false;
        if (!block.fenceInfo || block.content.size() > CodeHighlighter::maxCodeLength + 1)
            return true;
        const std::optional<QString> language = CodeHighlighter::languageOf(*block.fenceInfo);
        if (!language)
            return true;
        const QString code = displayedCode(block);
        CodeHighlightCache &cache = CodeHighlightCache::shared();
        if (cache.find(*language, code))
            return true;
        // A block cut short by what is left of the total is not kept as plain: the window
        // thread may still manage it.
        const std::chrono::milliseconds budget = std::min(left, CodeHighlighter::defaultBudget);
        std::optional<QList<CodeToken>> result = CodeHighlighter::highlight(code, *language, budget);
        if (result || budget == CodeHighlighter::defaultBudget)
            cache.insert(*language, code, result);
        return true;
    });
}

void CodeBlockHighlighter::highlightAheadOn(QThreadPool &pool, const QList<BlockNode> &blocks,
                                            std::chrono::milliseconds total)
{
    // Behind the reads and parses of the pool, which wait for nothing else.
    constexpr int lowPriority = 0;
    static std::atomic<quint64> latest = 0;
    const quint64 mine = ++latest;
    pool.start([blocks, total, mine] { highlightAhead(blocks, total, [mine] { return latest == mine; }); },
               lowPriority);
}

} // namespace kestrune
