#include "preview/sourcetextview.h"

#include "preview/previewcolors.h"
#include "preview/previewfonts.h"
#include "preview/sourcetextfind.h"
#include "ui/themecolors.h"

#include <QApplication>
#include <QEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace kestrune {

SourceTextView::SourceTextView(const QString &text, QWidget *parent)
    : QPlainTextEdit(parent), m_lines(SourceDocumentLines::wantsGrouping(text))
{
    setObjectName(QStringLiteral("sourceText"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUndoRedoEnabled(false);
    setFont(PreviewFonts::bodyMonospaced());
    document()->setDocumentMargin(padding);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    applyColors();
    m_text = text;
    m_pending = text;
    setPlainText(m_lines.take(takeSlice()));
    if (!m_pending.isEmpty())
        QTimer::singleShot(0, this, &SourceTextView::appendSlice);
}

QString SourceTextView::takeSlice()
{
    qsizetype end = std::min(m_pending.size(), m_position + sliceSize);
    // Neither half of a surrogate pair nor of a CR LF line end goes without the other.
    if (end < m_pending.size() &&
        (m_pending.at(end).isLowSurrogate() ||
         (m_pending.at(end) == QLatin1Char('\n') && m_pending.at(end - 1) == QLatin1Char('\r'))))
        ++end;
    QString slice = m_pending.mid(m_position, end - m_position);
    m_position = end;
    if (m_position >= m_pending.size()) {
        m_pending.clear();
        m_position = 0;
    }
    return slice;
}

void SourceTextView::appendSlice()
{
    // Inserted at the end without moving the view or the selection.
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(m_lines.take(takeSlice()));
    applyTopLine();
    if (m_pending.isEmpty())
        Q_EMIT completed();
    else
        QTimer::singleShot(0, this, &SourceTextView::appendSlice);
}

int SourceTextView::topLine() const
{
    // Halfway down the top row: at its very top the row above may be hit.
    return m_lines.lineAt(cursorForPosition(QPoint(0, fontMetrics().lineSpacing() / 2)).position());
}

void SourceTextView::scrollToLine(int line)
{
    m_wantedTopLine = line;
    applyTopLine();
}

void SourceTextView::applyTopLine()
{
    // Taken in with a screen of lines below it, or the whole text: short of that the line
    // cannot come to the top yet.
    const int linesOnScreen = viewport()->height() / std::max(1, fontMetrics().lineSpacing()) + 1;
    if (m_wantedTopLine < 0 || (!isComplete() && m_wantedTopLine + linesOnScreen >= m_lines.lineCount()))
        return;
    QTextCursor cursor(document());
    cursor.setPosition(int(m_lines.positionOfLine(m_wantedTopLine)));
    m_wantedTopLine = -1;
    setTextCursor(cursor); // which may scroll, to show the caret
    // The scroll bar counts the lines of the blocks laid out and one for each other block: the
    // value of the line's own row brings it to the top, whatever the size of the view so far.
    const QTextBlock block = cursor.block();
    static_cast<void>(blockBoundingRect(block)); // laid out, to know its rows
    const QTextLine row = block.layout()->lineForTextPosition(cursor.positionInBlock());
    verticalScrollBar()->setValue(block.firstLineNumber() + (row.isValid() ? row.lineNumber() : 0));
}

void SourceTextView::setChangeMarks(const ChangeMarks &marks)
{
    m_changeMarks = marks;
    m_currentChange = -1;
    m_changeScrollValue = -1;
    viewport()->update();
}

QRectF SourceTextView::lineGeometry(int line, const QTextBlock &block) const
{
    const QTextLayout *layout = block.layout();
    const QRectF blockGeometry = blockBoundingGeometry(block).translated(contentOffset());
    const int start = int(m_lines.positionOfLine(line) - block.position());
    const int end = line + 1 < m_lines.lineCount()
                        ? int(m_lines.positionOfLine(line + 1) - block.position()) - 1
                        : block.length() - 1;
    const QTextLine first = layout->lineForTextPosition(std::clamp(start, 0, block.length() - 1));
    const QTextLine last = layout->lineForTextPosition(std::clamp(end, 0, block.length() - 1));
    if (!first.isValid() || !last.isValid())
        return blockGeometry;
    return QRectF(blockGeometry.left(), blockGeometry.top() + first.y(), blockGeometry.width(),
                  last.y() + last.height() - first.y());
}

void SourceTextView::paintEvent(QPaintEvent *event)
{
    QPlainTextEdit::paintEvent(event);
    if (m_changeMarks.isEmpty())
        return;
    QPainter painter(viewport());
    const Appearance appearance = appearanceOf(palette());
    const QColor added = ThemeColors::completedAccent.resolve(appearance);
    const QColor modified = ThemeColors::accent.resolve(appearance);
    const QColor removed = ThemeColors::errorText.resolve(appearance);
    const qreal zoom = document()->documentMargin() / padding;
    const qreal left = 5 * zoom;
    const QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        if (blockBoundingGeometry(block).translated(offset).top() > viewport()->height())
            break;
        const int firstLine = m_lines.lineAt(block.position());
        const int lastLine = m_lines.lineAt(block.position() + block.length() - 1);
        auto mark = std::partition_point(m_changeMarks.cbegin(), m_changeMarks.cend(),
                                         [firstLine](const ChangeMark &each) {
                                             return each.firstLine + std::max(1, each.lineCount) <= firstLine;
                                         });
        for (; mark != m_changeMarks.cend() && mark->firstLine <= lastLine; ++mark) {
            const int from = std::max(firstLine, mark->firstLine);
            const QRectF top = lineGeometry(from, block);
            if (mark->kind == ChangeMark::Kind::removed) {
                painter.fillRect(QRectF(left, top.top() - 1.5 * zoom, 9 * zoom, 3 * zoom), removed);
                continue;
            }
            const int to = std::min(lastLine, mark->firstLine + std::max(1, mark->lineCount) - 1);
            const qreal bottom = to == from ? top.bottom() : lineGeometry(to, block).bottom();
            painter.fillRect(QRectF(left, top.top(), 3 * zoom, bottom - top.top()),
                             mark->kind == ChangeMark::Kind::added ? added : modified);
        }
    }
}

void SourceTextView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    m_sinceDoubleClick.start();
    m_doubleClickAt = event->position().toPoint();
}

void SourceTextView::mousePressEvent(QMouseEvent *event)
{
    QPlainTextEdit::mousePressEvent(event);
    // A triple click selects the block under it: in a long text that is many lines, the reader
    // asked for one.
    const bool tripleClick =
        event->button() == Qt::LeftButton && m_sinceDoubleClick.isValid() &&
        m_sinceDoubleClick.elapsed() < QApplication::doubleClickInterval() &&
        (event->position().toPoint() - m_doubleClickAt).manhattanLength() < QApplication::startDragDistance();
    m_sinceDoubleClick.invalidate();
    if (!tripleClick || !m_lines.isGrouped())
        return;
    const int line = m_lines.lineAt(cursorForPosition(event->position().toPoint()).position());
    QTextCursor selection(document());
    selection.setPosition(int(m_lines.positionOfLine(line)));
    selection.setPosition(line + 1 < m_lines.lineCount() ? int(m_lines.positionOfLine(line + 1))
                                                         : document()->characterCount() - 1,
                          QTextCursor::KeepAnchor);
    setTextCursor(selection);
}

bool SourceTextView::goToNextChange()
{
    return goToChange(1);
}

bool SourceTextView::goToPreviousChange()
{
    return goToChange(-1);
}

bool SourceTextView::goToChange(int step)
{
    const int count = int(m_changeMarks.size());
    int target = -1;
    if (m_currentChange >= 0 && verticalScrollBar()->value() == m_changeScrollValue) {
        target = m_currentChange + step;
    } else {
        const int top = verticalScrollBar()->value() > 0 ? topLine() : -1;
        if (step > 0) {
            target = 0;
            while (target < count && m_changeMarks.at(target).firstLine <= top)
                ++target;
        } else {
            target = count - 1;
            while (target >= 0 && m_changeMarks.at(target).firstLine >= top)
                --target;
        }
    }
    if (target < 0 || target >= count)
        return false;
    // The line above the mark stays in view, so that a removed block's marker shows.
    const int line = m_changeMarks.at(target).firstLine;
    scrollToLine(std::max(0, line - 1));
    // The caret on the mark's own line, which a screen reader reads out: where the reader landed.
    if (line > 0 && line < m_lines.lineCount()) {
        QTextCursor cursor(document());
        cursor.setPosition(int(m_lines.positionOfLine(line)));
        setTextCursor(cursor);
    }
    m_currentChange = target;
    m_changeScrollValue = verticalScrollBar()->value();
    return true;
}

QMimeData *SourceTextView::createMimeDataFromSelection() const
{
    QMimeData *data = QPlainTextEdit::createMimeDataFromSelection();
    if (data != nullptr && data->hasText())
        data->setData(QStringLiteral("text/markdown"), data->text().toUtf8());
    return data;
}

void SourceTextView::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void SourceTextView::applyColors()
{
    // Only the text and base roles are set: the window roles keep telling which appearance is
    // in force, and resolving against them gives the primary colour of that appearance.
    QPalette pal = palette();
    const QColor text = PreviewColors::primaryText.resolve(pal);
    if (pal.color(QPalette::Text) == text && pal.color(QPalette::Base) == Qt::transparent)
        return;
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::Base, Qt::transparent);
    setPalette(pal);
}

void SourceTextView::setZoom(qreal zoom)
{
    const int line = topLine();
    QFont font = PreviewFonts::bodyMonospaced();
    font.setPixelSize(std::max(1, int(std::round(font.pixelSize() * zoom))));
    setFont(font);
    document()->setDocumentMargin(padding * zoom);
    scrollToLine(line);
}

void SourceTextView::wheelEvent(QWheelEvent *event)
{
    // Not the edit's own zoom: the program keeps one size for every preview.
    if (event->modifiers() & Qt::ControlModifier) {
        if (const int notches = event->angleDelta().y() / 120; notches != 0)
            Q_EMIT zoomStepRequested(notches);
        event->accept();
        return;
    }
    QPlainTextEdit::wheelEvent(event);
}

SourceTextFind *SourceTextView::textFind()
{
    if (!m_find)
        m_find = new SourceTextFind(this, m_text);
    return m_find;
}

} // namespace kestrune
