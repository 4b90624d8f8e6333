#include "markdown/layout/document/preparedmarkdownpage.h"

#include "markdown/layout/document/layoutdocument_p.h"

namespace kestrune {

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
    if (settings.viewThread)
        document->handOverTo(settings.viewThread);
    PreparedMarkdownPage page;
    page.m_document = std::move(document);
    return page;
}

} // namespace kestrune
