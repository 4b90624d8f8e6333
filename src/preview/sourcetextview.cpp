#include "preview/sourcetextview.h"

#include "preview/previewcolors.h"
#include "preview/previewfonts.h"
#include "preview/sourcetextfind.h"
#include "ui/themecolors.h"

#include <QEvent>
#include <QMimeData>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace kestrune {

SourceTextView::SourceTextView(const QString &text, QWidget *parent) : QPlainTextEdit(parent)
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
    m_rewrapTimer.setSingleShot(true);
    m_rewrapTimer.setInterval(rewrapDelay);
    connect(&m_rewrapTimer, &QTimer::timeout, this, &SourceTextView::rewrap);
    m_text = text;
    m_pending = text;
    setPlainText(takeSlice());
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
    end.insertText(takeSlice());
    applyTopLine();
    if (m_pending.isEmpty())
        Q_EMIT completed();
    else
        QTimer::singleShot(0, this, &SourceTextView::appendSlice);
}

int SourceTextView::topLine() const
{
    return firstVisibleBlock().blockNumber();
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
    if (m_wantedTopLine < 0 || (!isComplete() && m_wantedTopLine + linesOnScreen >= document()->blockCount()))
        return;
    const QTextBlock block =
        document()->findBlockByNumber(std::min(m_wantedTopLine, document()->blockCount() - 1));
    m_wantedTopLine = -1;
    // From the end, making the line visible brings it to the top. The scroll bar counts wrapped
    // lines as far as they are laid out, so its value cannot name a line itself.
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    QTextCursor cursor(block);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void SourceTextView::resizeEvent(QResizeEvent *event)
{
    if (event->oldSize().width() == event->size().width() || document()->blockCount() <= linesWrappedAtOnce) {
        QPlainTextEdit::resizeEvent(event);
        return;
    }
    if (!m_rewrapTimer.isActive())
        m_sizeAtLastWrap = event->oldSize();
    m_rewrapTimer.start();
    // The edit's own handler is the one held back: it lays every line out again.
    QAbstractScrollArea::resizeEvent(event); // NOLINT(bugprone-parent-virtual-call)
}

void SourceTextView::rewrap()
{
    QResizeEvent resized(viewport()->size(), m_sizeAtLastWrap);
    QPlainTextEdit::resizeEvent(&resized);
    viewport()->update();
}

void SourceTextView::setChangeMarks(const ChangeMarks &marks)
{
    m_changeMarks = marks;
    m_currentChange = -1;
    m_changeScrollValue = -1;
    viewport()->update();
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
        const QRectF line = blockBoundingGeometry(block).translated(offset);
        if (line.top() > viewport()->height())
            break;
        const int number = block.blockNumber();
        auto mark = std::partition_point(m_changeMarks.cbegin(), m_changeMarks.cend(),
                                         [number](const ChangeMark &each) {
                                             return each.firstLine + std::max(1, each.lineCount) <= number;
                                         });
        for (; mark != m_changeMarks.cend() && mark->firstLine <= number; ++mark) {
            if (mark->kind == ChangeMark::Kind::removed)
                painter.fillRect(QRectF(left, line.top() - 1.5 * zoom, 9 * zoom, 3 * zoom), removed);
            else
                painter.fillRect(QRectF(left, line.top(), 3 * zoom, line.height()),
                                 mark->kind == ChangeMark::Kind::added ? added : modified);
        }
    }
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
    if (const QTextBlock block = document()->findBlockByNumber(line); block.isValid() && line > 0)
        setTextCursor(QTextCursor(block));
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
