#include "markdown/layout/view/markdownviewaccessible_p.h"

#include "markdown/layout/document/accessibletextmap_p.h"
#include "markdown/layout/nodes/layouttextnode_p.h"
#include "markdown/layout/view/markdowntextcontrol_p.h"
#include "markdown/layout/view/markdownview.h"
#include "markdown/layout/view/markdownviewaccessiblechildren_p.h"
#include "markdown/layout/view/markdownviewannouncer_p.h"

#include <QTextBoundaryFinder>

namespace kestrune {

namespace {

QAccessibleInterface *interfaceFor(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<MarkdownView *>(object))
        return new MarkdownViewAccessible(view);
    return nullptr;
}

// The paragraph around an offset: from the line feed before it through the one after it.
std::pair<int, int> paragraphAround(const QString &text, int offset)
{
    const int start = offset > 0 ? int(text.lastIndexOf(QLatin1Char('\n'), offset - 1)) + 1 : 0;
    const int feed = int(text.indexOf(QLatin1Char('\n'), offset));
    return {start, feed < 0 ? int(text.size()) : feed + 1};
}

// The word or sentence around an offset, looked for inside its paragraph only.
std::pair<int, int> itemAround(const QString &text, int offset, QTextBoundaryFinder::BoundaryType type)
{
    const auto [start, end] = paragraphAround(text, offset);
    QTextBoundaryFinder finder(type, text.constData() + start, end - start);
    finder.setPosition(offset - start);
    int from = finder.isAtBoundary() ? finder.position() : finder.toPreviousBoundary();
    finder.setPosition(offset - start);
    int to = finder.toNextBoundary();
    return {start + std::max(0, from), to < 0 ? end : start + to};
}

} // namespace

MarkdownViewAccessible::MarkdownViewAccessible(MarkdownView *view)
    : QAccessibleWidget(view, QAccessible::Document)
{}

void MarkdownViewAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed);
}

MarkdownView *MarkdownViewAccessible::view() const
{
    return static_cast<MarkdownView *>(widget());
}

QAccessible::State MarkdownViewAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.focusable = true;
    state.selectableText = view()->isTextSelectionEnabled();
    state.multiLine = true;
    return state;
}

int MarkdownViewAccessible::childCount() const
{
    return view()->announcer().children().count();
}

QAccessibleInterface *MarkdownViewAccessible::child(int index) const
{
    return view()->announcer().children().child(index);
}

int MarkdownViewAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    return view()->announcer().children().indexOf(child);
}

QAccessibleInterface *MarkdownViewAccessible::childAt(int x, int y) const
{
    const int count = childCount();
    for (int index = count - 1; index >= 0; --index) {
        QAccessibleInterface *element = child(index);
        if (element && element->rect().contains(x, y))
            return element;
    }
    return nullptr;
}

void *MarkdownViewAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void MarkdownViewAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
    const LayoutSelection &selection = view()->textControl().selection();
    if (selectionIndex != 0 || selection.isEmpty())
        return;
    const AccessibleTextMap &map = view()->announcer().textMap();
    const LayoutDocument &document = view()->layoutDocument();
    *startOffset = map.offsetOf(document, {selection.startNode, selection.startOffset});
    *endOffset = map.offsetOf(document, {selection.endNode, selection.endOffset});
}

int MarkdownViewAccessible::selectionCount() const
{
    return view()->hasSelection() ? 1 : 0;
}

void MarkdownViewAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset); // the page has one selection
}

void MarkdownViewAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        view()->clearSelection();
}

void MarkdownViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    if (startOffset > endOffset)
        std::swap(startOffset, endOffset);
    if (startOffset == endOffset) {
        view()->clearSelection();
        return;
    }
    const AccessibleTextMap &map = view()->announcer().textMap();
    const LayoutDocument &document = view()->layoutDocument();
    const LayoutDocument::TextPosition start = map.positionOf(document, startOffset);
    const LayoutDocument::TextPosition end = map.positionOf(document, endOffset);
    view()->textControl().setSelection({start.node, start.offset, end.node, end.offset});
}

int MarkdownViewAccessible::cursorPosition() const
{
    return view()->announcer().caretOffset();
}

void MarkdownViewAccessible::setCursorPosition(int position)
{
    view()->announcer().setCaretOffset(position);
}

QString MarkdownViewAccessible::text(QAccessible::Text t) const
{
    return QAccessibleWidget::text(t);
}

QString MarkdownViewAccessible::text(int startOffset, int endOffset) const
{
    const QString &text = view()->announcer().textMap().text();
    if (endOffset < 0 || endOffset > text.size())
        endOffset = int(text.size());
    startOffset = std::clamp(startOffset, 0, endOffset);
    return text.mid(startOffset, endOffset - startOffset);
}

QString MarkdownViewAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int *startOffset, int *endOffset) const
{
    const AccessibleTextMap &map = view()->announcer().textMap();
    const QString &text = map.text();
    *startOffset = -1;
    *endOffset = -1;
    if (text.isEmpty() || offset < 0 || offset > text.size())
        return {};
    if (offset == text.size()) {
        if (boundaryType == QAccessible::CharBoundary)
            return {};
        offset = int(text.size()) - 1; // the end belongs to the last piece
    }
    std::pair<int, int> range;
    switch (boundaryType) {
    case QAccessible::CharBoundary:
        range = {offset, offset + (text.at(offset).isHighSurrogate() && offset + 1 < text.size() ? 2 : 1)};
        break;
    case QAccessible::WordBoundary:
        range = itemAround(text, offset, QTextBoundaryFinder::Word);
        break;
    case QAccessible::SentenceBoundary:
        range = itemAround(text, offset, QTextBoundaryFinder::Sentence);
        break;
    case QAccessible::LineBoundary: {
        range = paragraphAround(text, offset); // a text not laid out yet reads as one line
        const LayoutDocument &document = view()->layoutDocument();
        const LayoutDocument::TextPosition position = map.positionOf(document, offset);
        const LayoutTextNode &node = *document.textNode(position.node);
        const QList<std::pair<int, int>> lines = node.lineRanges();
        for (qsizetype index = 0; index < lines.size(); ++index) {
            const auto [start, length] = lines.at(index);
            if (position.offset < start + length || index + 1 == lines.size()) {
                const int from = map.offsetOf(document, {position.node, start});
                const int to = map.offsetOf(document, {position.node, start + length});
                range = {from, index + 1 == lines.size() ? range.second : to};
                break;
            }
        }
        break;
    }
    case QAccessible::ParagraphBoundary:
        range = paragraphAround(text, offset);
        break;
    case QAccessible::NoBoundary:
        range = {0, int(text.size())};
        break;
    }
    *startOffset = range.first;
    *endOffset = range.second;
    return text.mid(range.first, range.second - range.first);
}

QString MarkdownViewAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                                 int *startOffset, int *endOffset) const
{
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundaryType, &start, &end);
    *startOffset = -1;
    *endOffset = -1;
    if (start <= 0)
        return {};
    return textAtOffset(start - 1, boundaryType, startOffset, endOffset);
}

QString MarkdownViewAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                                int *startOffset, int *endOffset) const
{
    int start = 0;
    int end = 0;
    textAtOffset(offset, boundaryType, &start, &end);
    *startOffset = -1;
    *endOffset = -1;
    if (end < 0 || end >= characterCount())
        return {};
    return textAtOffset(end, boundaryType, startOffset, endOffset);
}

int MarkdownViewAccessible::characterCount() const
{
    return view()->announcer().textMap().length();
}

QRect MarkdownViewAccessible::characterRect(int offset) const
{
    const AccessibleTextMap &map = view()->announcer().textMap();
    if (offset < 0 || offset >= map.length())
        return {};
    const LayoutDocument &document = view()->layoutDocument();
    const LayoutDocument::TextPosition position = map.positionOf(document, offset);
    const LayoutDocument::TextPosition next = map.positionOf(document, offset + 1);
    const QRectF here = document.textRect(position.node, position.offset, position.offset);
    if (here.isNull())
        return {};
    QRectF character = here;
    if (next.node == position.node) {
        const QRectF after = document.textRect(next.node, next.offset, next.offset);
        if (qFuzzyCompare(after.top(), here.top()) && after.left() > here.left())
            character.setRight(after.left());
    }
    const QRect local =
        QRectF(view()->viewportPoint(character.topLeft()), view()->viewportPoint(character.bottomRight()))
            .toAlignedRect();
    return {view()->viewport()->mapToGlobal(local.topLeft()), local.size()};
}

int MarkdownViewAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = view()->viewport()->mapFromGlobal(point);
    if (!view()->viewport()->rect().contains(local))
        return -1;
    const LayoutDocument &document = view()->layoutDocument();
    const std::optional<LayoutDocument::TextPosition> position =
        document.positionAt(view()->documentPoint(QPointF(local)));
    return position ? view()->announcer().textMap().offsetOf(document, *position) : -1;
}

void MarkdownViewAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    const AccessibleTextMap &map = view()->announcer().textMap();
    const LayoutDocument &document = view()->layoutDocument();
    const LayoutDocument::TextPosition start = map.positionOf(document, startIndex);
    const LayoutDocument::TextPosition end = map.positionOf(document, std::max(startIndex, endIndex));
    QRectF area = document.textRect(start.node, start.offset, start.offset);
    if (end.node == start.node)
        area = area.united(document.textRect(end.node, end.offset, end.offset));
    if (!area.isNull())
        view()->scrollToDocumentRect(area);
}

QString MarkdownViewAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    const AccessibleTextMap &map = view()->announcer().textMap();
    if (offset == -2)
        offset = cursorPosition(); // as some bridges ask for the caret's
    if (offset == -1)
        offset = map.length();
    if (offset < 0 || offset > map.length() || map.length() == 0) {
        *startOffset = -1;
        *endOffset = -1;
        return {};
    }
    const AccessibleTextAttributes::Run run =
        map.attributesAt(view()->layoutDocument(), offset, view()->palette().color(QPalette::Text));
    *startOffset = run.start;
    *endOffset = run.end;
    return run.attributes;
}

} // namespace kestrune
