#include "markdown/layout/view/markdowntextcontrol_p.h"

#include "markdown/layout/document/copiedtextmimedata.h"
#include "markdown/layout/nodes/layoutscrollnode_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"
#include "markdown/layout/view/codeblockcopybutton.h"
#include "markdown/layout/view/markdownview.h"
#include "markdown/layout/view/markdownviewannouncer_p.h"

#include "ui/localization.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace kestrune {

MarkdownTextControl::MarkdownTextControl(MarkdownView &view)
    : m_view(view), m_codeCopyButton(new CodeBlockCopyButton(view.viewport()))
{
    QObject::connect(m_codeCopyButton, &QToolButton::clicked, &m_view, [this] { copyHoveredCodeBlock(); });
}

MarkdownTextControl::~MarkdownTextControl() = default;

const LayoutDocument &MarkdownTextControl::document() const
{
    return m_view.layoutDocument();
}

LayoutSelection MarkdownTextControl::ordered(LayoutDocument::TextPosition a, LayoutDocument::TextPosition b)
{
    if (b.node < a.node || (b.node == a.node && b.offset < a.offset))
        std::swap(a, b);
    return {a.node, a.offset, b.node, b.offset};
}

void MarkdownTextControl::setSelectionEnabled(bool enabled)
{
    m_selectionEnabled = enabled;
    if (!enabled)
        clearSelection();
}

void MarkdownTextControl::setSelection(const LayoutSelection &selection)
{
    if (!m_selectionEnabled)
        return;
    m_selection = selection;
    m_anchor.reset();
    selectionChanged();
}

QString MarkdownTextControl::selectedText() const
{
    return document().text(m_selection);
}

void MarkdownTextControl::selectAll()
{
    if (!m_selectionEnabled)
        return;
    m_selection = document().allText();
    selectionChanged();
}

void MarkdownTextControl::clearSelection()
{
    if (m_selection.isEmpty())
        return;
    m_selection = {};
    selectionChanged();
}

void MarkdownTextControl::copy() const
{
    const CopiedText text = document().copiedText(m_selection);
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setMimeData(copiedTextMimeData(text));
}

void MarkdownTextControl::copyAsMarkdown() const
{
    // The Markdown as the text itself, for editors that take plain text only.
    const QString markdown = document().copiedText(m_selection).markdown;
    if (!markdown.isEmpty())
        QGuiApplication::clipboard()->setText(markdown);
}

void MarkdownTextControl::selectionChanged()
{
    if (!m_selection.isEmpty())
        m_caret = {m_selection.endNode, m_selection.endOffset};
    m_view.viewport()->update();
    Q_EMIT m_view.selectionChanged();
}

void MarkdownTextControl::forgetText()
{
    forgetLayout();
    m_anchor.reset();
}

void MarkdownTextControl::forgetLayout()
{
    m_selection = {};
    m_caret = {};
    m_draggedScroll = nullptr;
}

bool MarkdownTextControl::mousePress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const QPointF point = m_view.documentPoint(event->position());
    const LayoutHit hit = document().hitTest(point);
    m_pressPosition = event->position();
    m_dragging = false;
    m_selectingWords = false;
    m_pressedLink = hit.link;
    m_draggedScroll = nullptr;
    if (dragScrollIndicator(hit, point) || !m_selectionEnabled)
        return true;
    m_anchor = document().positionAt(point);
    if (m_anchor && !(event->modifiers() & Qt::ShiftModifier)) {
        m_caret = *m_anchor;
        m_view.m_announcer->announceCaret();
    }
    if (event->modifiers() & Qt::ShiftModifier && !m_selection.isEmpty() && m_anchor)
        extendSelection(*m_anchor);
    else
        clearSelection();
    return true;
}

bool MarkdownTextControl::dragScrollIndicator(const LayoutHit &hit, QPointF documentPoint)
{
    if (!hit.scroll || !hit.onScrollIndicator)
        return false;
    m_draggedScroll = hit.scroll;
    const QPointF local = documentPoint - hit.scroll->mapToDocument(QPointF(0, 0));
    if (!hit.scroll->indicatorThumb().contains(local))
        hit.scroll->scrollTo(hit.scroll->offsetForThumbCenter(local.x()));
    m_view.viewport()->update();
    return true;
}

void MarkdownTextControl::extendSelection(LayoutDocument::TextPosition to)
{
    const LayoutDocument::TextPosition from{m_selection.startNode, m_selection.startOffset};
    m_selection = ordered(from, to);
    m_anchor = from;
    m_dragging = true;
    selectionChanged();
}

void MarkdownTextControl::mouseMove(QMouseEvent *event)
{
    const QPointF point = m_view.documentPoint(event->position());
    if (!(event->buttons() & Qt::LeftButton)) {
        updateCursor(event->position());
        updateCodeCopyButton(event->position());
        return;
    }
    if (m_draggedScroll) {
        const QPointF local = point - m_draggedScroll->mapToDocument(QPointF(0, 0));
        if (m_draggedScroll->scrollTo(m_draggedScroll->offsetForThumbCenter(local.x())))
            m_view.viewport()->update();
        return;
    }
    if (!m_selectionEnabled || !m_anchor)
        return;
    if (!m_dragging &&
        (event->position() - m_pressPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    // Dragging past the edges scrolls.
    QScrollBar *bar = m_view.verticalScrollBar();
    const int height = m_view.viewport()->height();
    if (event->position().y() < 0)
        bar->setValue(bar->value() + int(event->position().y()));
    else if (event->position().y() > height)
        bar->setValue(bar->value() + int(event->position().y()) - height);
    const std::optional<LayoutDocument::TextPosition> focus =
        document().positionAt(m_view.documentPoint(event->position()));
    if (!focus)
        return;
    LayoutSelection selection = ordered(*m_anchor, *focus);
    if (m_selectingWords) {
        const LayoutSelection first = document().wordSelection({selection.startNode, selection.startOffset});
        const LayoutSelection last = document().wordSelection({selection.endNode, selection.endOffset});
        selection = {first.startNode, first.startOffset, last.endNode, last.endOffset};
    }
    m_selection = selection;
    selectionChanged();
}

bool MarkdownTextControl::mouseRelease(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    m_draggedScroll = nullptr;
    if (!m_dragging && m_pressedLink) {
        const LayoutHit hit = document().hitTest(m_view.documentPoint(event->position()));
        if (hit.link == m_pressedLink)
            m_view.activateLink(*m_pressedLink);
    }
    if (m_dragging && !m_selection.isEmpty() && QGuiApplication::clipboard()->supportsSelection())
        QGuiApplication::clipboard()->setText(selectedText(), QClipboard::Selection);
    m_dragging = false;
    m_pressedLink.reset();
    return true;
}

bool MarkdownTextControl::mouseDoubleClick(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_selectionEnabled)
        return false;
    const std::optional<LayoutDocument::TextPosition> position =
        document().positionAt(m_view.documentPoint(event->position()));
    if (!position)
        return true;
    m_selection = document().wordSelection(*position);
    m_anchor = *position;
    m_selectingWords = true;
    m_pressedLink.reset();
    selectionChanged();
    return true;
}

bool MarkdownTextControl::wheel(QWheelEvent *event)
{
    const QPoint pixels = event->pixelDelta();
    const QPoint degrees = event->angleDelta();
    qreal dx = !pixels.isNull() ? pixels.x() : degrees.x() / 120.0 * 40;
    qreal dy = !pixels.isNull() ? pixels.y() : degrees.y() / 120.0 * 40;
    if (event->modifiers() & Qt::ShiftModifier && dx == 0) {
        dx = dy;
        dy = 0;
    }
    if (dx != 0) {
        const LayoutHit hit = document().hitTest(m_view.documentPoint(event->position()));
        if (hit.scroll && hit.scroll->scrollBy(-dx)) {
            m_view.viewport()->update();
            event->accept();
            return true;
        }
        if (dy == 0) {
            event->ignore();
            return true;
        }
    }
    return false;
}

bool MarkdownTextControl::keyPress(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy))
        copy();
    else if (event->matches(QKeySequence::SelectAll))
        selectAll();
    else
        return false;
    event->accept();
    return true;
}

bool MarkdownTextControl::takesShortcut(const QKeyEvent &event) const
{
    return event.matches(QKeySequence::Copy) || event.matches(QKeySequence::SelectAll);
}

void MarkdownTextControl::contextMenu(QContextMenuEvent *event)
{
    QMenu menu(&m_view);
    QAction *copyAction = menu.addAction(QCoreApplication::translate("QWidgetTextControl", "&Copy"), &m_view,
                                         &MarkdownView::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    QAction *copyMarkdownAction = menu.addAction(Localization::text("markdown.copy_as_markdown"), &m_view,
                                                 [this] { copyAsMarkdown(); });
    copyMarkdownAction->setEnabled(hasSelection());
    QAction *selectAllAction = menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Select All"),
                                              &m_view, &MarkdownView::selectAll);
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    selectAllAction->setEnabled(m_selectionEnabled);
    // Taken now: what the menu offers is the code it was opened over.
    if (const std::optional<int> block = codeBlockForMenu(*event)) {
        const CopiedText code = document().codeBlockText(*block);
        if (!code.isEmpty()) {
            menu.addSeparator();
            menu.addAction(Localization::text("markdown.copy_code.accessible_name"), &m_view,
                           [code] { QGuiApplication::clipboard()->setMimeData(copiedTextMimeData(code)); });
        }
    }
    if (const LayoutHit hit = document().hitTest(m_view.documentPoint(event->pos())); hit.link) {
        const QUrl url = *hit.link;
        menu.addSeparator();
        menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Copy &Link Location"), &m_view,
                       [url] { QGuiApplication::clipboard()->setText(url.toString()); });
    }
    menu.exec(event->globalPos());
}

std::optional<int> MarkdownTextControl::codeBlockForMenu(const QContextMenuEvent &event) const
{
    const auto blockAt = [this](QPointF viewportPoint) -> std::optional<int> {
        if (const auto area = document().codeBlockAt(m_view.documentPoint(viewportPoint)))
            return area->block;
        return std::nullopt;
    };
    if (event.reason() == QContextMenuEvent::Mouse)
        return blockAt(event.pos());
    // Opened from the keyboard: the block under the pointer, else the one the selection is in.
    const QPoint pointer = m_view.viewport()->mapFromGlobal(QCursor::pos());
    if (m_view.viewport()->rect().contains(pointer))
        if (const std::optional<int> block = blockAt(pointer))
            return block;
    if (m_selection.isEmpty())
        return std::nullopt;
    if (const std::optional<int> block = document().codeBlockOfText(m_selection.startNode))
        return block;
    return document().codeBlockOfText(m_selection.endNode);
}

void MarkdownTextControl::updateCursor(QPointF viewportPoint)
{
    const LayoutHit hit = document().hitTest(m_view.documentPoint(viewportPoint));
    const QUrl hovered = hit.link && !hit.onScrollIndicator ? *hit.link : QUrl();
    if (hovered != m_hoveredLink) {
        m_hoveredLink = hovered;
        Q_EMIT m_view.linkHovered(hovered);
    }
    QWidget *viewport = m_view.viewport();
    if (hit.link && !hit.onScrollIndicator)
        viewport->setCursor(Qt::PointingHandCursor);
    else if (hit.text && hit.text->documentIndex() >= 0 && m_selectionEnabled && !hit.onScrollIndicator)
        viewport->setCursor(Qt::IBeamCursor);
    else
        viewport->unsetCursor();
}

void MarkdownTextControl::pointerLeft()
{
    // Moving onto the copy button leaves the viewport for its child; the button stays.
    if (!m_codeCopyButton->underMouse())
        updateCodeCopyButton(std::nullopt);
}

void MarkdownTextControl::followPage()
{
    updateCodeCopyButton(m_hoverPoint);
}

void MarkdownTextControl::updateCodeCopyButton(std::optional<QPointF> viewportPoint)
{
    m_hoverPoint = viewportPoint;
    const std::optional<LayoutDocument::CodeBlockArea> area =
        viewportPoint ? document().codeBlockAt(m_view.documentPoint(*viewportPoint)) : std::nullopt;
    if (!area) {
        m_codeCopyButton->hide();
        return;
    }
    const QRectF inView(m_view.viewportPoint(area->frame.topLeft()), area->frame.size() * m_view.zoom());
    // Kept in sight while the block's top is scrolled away.
    m_codeCopyButton->showFor(inView.intersected(QRectF(m_view.viewport()->rect())), area->block);
}

void MarkdownTextControl::copyHoveredCodeBlock()
{
    // The block under the button now: the page may have been built anew since it was shown.
    const std::optional<LayoutDocument::CodeBlockArea> area =
        document().codeBlockAt(m_view.documentPoint(QRectF(m_codeCopyButton->geometry()).center()));
    const CopiedText text = area ? document().codeBlockText(area->block) : CopiedText();
    if (text.isEmpty())
        return;
    QGuiApplication::clipboard()->setMimeData(copiedTextMimeData(text));
    m_codeCopyButton->showCopied();
}

} // namespace kestrune
