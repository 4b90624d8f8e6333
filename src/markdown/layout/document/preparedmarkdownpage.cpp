#include "markdown/layout/document/preparedmarkdownpage.h"

#include "markdown/layout/document/layoutdocument_p.h"
#include "markdown/layout/text/codeblockhighlighter_p.h"

namespace kestrune {

namespace {

// What highlighting the code blocks ahead may add to preparing a page, and may take on a pool.
constexpr std::chrono::milliseconds highlightAheadTime{50};
constexpr std::chrono::milliseconds highlightAheadTimeOnPool{3000};

} // namespace

PreparedMarkdownPage::PreparedMarkdownPage() = default;
PreparedMarkdownPage::~PreparedMarkdownPage() = default;
PreparedMarkdownPage::PreparedMarkdownPage(PreparedMarkdownPage &&) noexcept = default;
PreparedMarkdownPage &PreparedMarkdownPage::operator=(PreparedMarkdownPage &&) noexcept = default;

PreparedMarkdownPage PreparedMarkdownPage::prepare(const Settings &settings, const QList<BlockNode> &blocks)
{
    auto document = std::make_unique<LayoutDocument>();
    document->holdImageRequests();
    document->setEnvironment(settings.environment);
    document->setAppearance(settings.appearance);
    document->setDevicePixelRatio(settings.devicePixelRatio);
    // Most pages are taller than the view, which then shows its scroll bar beside them.
    document->setWidth(settings.pageWidthBesideScrollBar);
    document->setBlocks(blocks);
    document->layoutUntil(settings.measuredHeight);
    if (document->estimatedHeight() + settings.verticalMargins <= settings.viewportHeight) {
        document->setWidth(settings.pageWidth);
        document->layoutUntil(settings.measuredHeight);
    }
    // The first screen's blocks were highlighted as they were built; the rest are off the
    // window's thread too, where their time costs the window nothing.
    if (!settings.environment.codeSyntaxHighlighter && settings.environment.theme.codeTokens) {
        if (settings.highlightPool)
            CodeBlockHighlighter::highlightAheadOn(*settings.highlightPool, blocks, highlightAheadTimeOnPool);
        else
            CodeBlockHighlighter::highlightAhead(blocks, highlightAheadTime);
    }
    if (settings.viewThread)
        document->handOverTo(settings.viewThread);
    PreparedMarkdownPage page;
    page.m_document = std::move(document);
    return page;
}

PreparedMarkdownPage PreparedMarkdownPage::relayout(const Settings &settings,
                                                    const std::vector<QList<BlockNode>> &blockLists,
                                                    const Remeasure &remeasure)
{
    auto document = std::make_unique<LayoutDocument>();
    document->holdImageRequests();
    document->setEnvironment(settings.environment);
    document->setAppearance(settings.appearance);
    document->setDevicePixelRatio(settings.devicePixelRatio);
    document->setWidth(settings.pageWidth);
    for (const QList<BlockNode> &blocks : blockLists)
        document->appendBlocks(blocks);
    document->setResidentRange(remeasure.residentTop, remeasure.residentBottom);
    document->layoutThrough(remeasure.throughBlock);
    document->layoutUntil(document->blockTop(remeasure.throughBlock) + remeasure.below);
    if (settings.viewThread)
        document->handOverTo(settings.viewThread);
    PreparedMarkdownPage page;
    page.m_document = std::move(document);
    return page;
}

} // namespace kestrune
