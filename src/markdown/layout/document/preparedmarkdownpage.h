#pragma once

#include "markdown/document/blocknode.h"
#include "markdown/layout/style/markdownenvironment.h"

#include "ui/appearance.h"

#include <QList>

#include <memory>
#include <vector>

class QThread;
class QThreadPool;

namespace kestrune {

class LayoutDocument;

// A page built and measured as far as its first screen away from the window's thread, for a
// MarkdownView to show at once. Some documents take the layout seconds (hostile ones far
// longer); made on a worker thread, they keep the window responsive meanwhile.
//
//     const PreparedMarkdownPage::Settings settings = view->pageSettings(size); // window's thread
//     PreparedMarkdownPage page = PreparedMarkdownPage::prepare(settings, blocks); // any thread
//     view->showPrepared(page); // window's thread
//
// Images the page shows are noted while it is prepared and asked for once it is shown.
class PreparedMarkdownPage
{
public:
    // What the view that will show the page lays out with, read from it beforehand.
    struct Settings
    {
        MarkdownEnvironment environment;
        Appearance appearance = Appearance::light;
        qreal devicePixelRatio = 1;
        qreal pageWidth = 0;                // without a scroll bar
        qreal pageWidthBesideScrollBar = 0; // once the page is taller than the view
        qreal viewportHeight = 0;
        qreal verticalMargins = 0; // above and below the page
        qreal measuredHeight = 0;  // measured at once, from the top
        QThread *viewThread = nullptr;
        // Where the code blocks past the first screen are coloured once the page is made, so
        // that the view finds them done; without a pool, before the page is handed over.
        QThreadPool *highlightPool = nullptr;
    };

    PreparedMarkdownPage();
    ~PreparedMarkdownPage();
    PreparedMarkdownPage(PreparedMarkdownPage &&) noexcept;
    PreparedMarkdownPage &operator=(PreparedMarkdownPage &&) noexcept;

    // Builds the page and measures its first screen at the width the view will have, then
    // hands it over to the view's thread. Throws std::bad_alloc when memory runs out.
    static PreparedMarkdownPage prepare(const Settings &settings, const QList<BlockNode> &blocks);
    // Where a page shown already is to be measured again: through block `throughBlock` and
    // `below` past that block's top, keeping the nodes of the blocks within `resident` (see
    // LayoutDocument::setResidentRange).
    struct Remeasure
    {
        int throughBlock = 0;
        qreal below = 0;
        qreal residentTop = 0;
        qreal residentBottom = 0;
    };
    // Builds a page shown already again at settings.pageWidth, measured as `remeasure` says, and
    // hands it over to the view's thread. Throws std::bad_alloc when memory runs out.
    static PreparedMarkdownPage relayout(const Settings &settings,
                                         const std::vector<QList<BlockNode>> &blockLists,
                                         const Remeasure &remeasure);

    bool isNull() const { return !m_document; }

private:
    friend class MarkdownView;
    std::unique_ptr<LayoutDocument> m_document;
};

} // namespace kestrune
