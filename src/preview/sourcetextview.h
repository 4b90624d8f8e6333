#pragma once

#include "markdown/layout/view/changemark.h"
#include "preview/sourcedocumentlines.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>

namespace kestrune {

class SourceTextFind;

// The raw text of a file in the monospaced body font and the primary text colour: read-only,
// selectable, wrapped at the pane's width and scrolling vertically, 16 of padding all round.
// Lines are laid out as they scroll into view, and a long text is taken in by slices between
// events, so a large file shows its first screen at once and the window never freezes. A text of
// many lines keeps many in a block (SourceDocumentLines), so that a new width is cheap; its lines
// are still selected, marked and gone to one by one.
class SourceTextView : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int padding = 16;
    // Characters taken in at a time, one slice a turn of the event loop: a slice of 64 K took
    // 8 ms of a long task list's lines, and a resize or a paint in the same turn made a frame late.
    static constexpr qsizetype sliceSize = 16 * 1024;

    explicit SourceTextView(const QString &text, QWidget *parent = nullptr);

    // Whether the whole text has been taken in.
    bool isComplete() const { return m_pending.isEmpty(); }
    // Where the lines of the text lie in the document: a long text keeps many lines in a block.
    const SourceDocumentLines &lines() const { return m_lines; }

    // The line of the text at the top of the view, counted from 0 (lines end at LF, CR or CR LF).
    int topLine() const;
    // Scrolls that line to the top, once it has been taken in.
    void scrollToLine(int line);
    // Draws the text that much larger (1 for 100 %), padding included.
    void setZoom(qreal zoom);
    // The lines that differ from an earlier text, sorted by line, painted in the padding beside
    // them as the rendered page paints them beside its blocks.
    void setChangeMarks(const ChangeMarks &marks);
    const ChangeMarks &changeMarks() const { return m_changeMarks; }
    // Scrolls the next (previous) mark's line to the top: after the one gone to last while the
    // reader did not scroll, else after the line at the top. Stops at either end, returning false.
    // The caret goes to the mark's line, so that a screen reader reads it.
    bool goToNextChange();
    bool goToPreviousChange();
    int currentChange() const { return m_currentChange; }
    // Finds text in the view, made when first asked for.
    SourceTextFind *textFind();

Q_SIGNALS:
    void completed();
    // Ctrl and the wheel: one step larger (positive) or smaller per notch.
    void zoomStepRequested(int steps);

protected:
    // The selection as plain text, and as Markdown too: it is the file's own Markdown.
    QMimeData *createMimeDataFromSelection() const override;
    void changeEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void applyColors();
    void appendSlice();
    // The next slice of the text, not splitting a surrogate pair.
    QString takeSlice();

    void applyTopLine();
    // The top and bottom of a line of the text in the viewport, in a block laid out.
    QRectF lineGeometry(int line, const QTextBlock &block) const;
    bool goToChange(int step);

    QString m_text;    // all of it, as given
    QString m_pending; // the text still to take in
    qsizetype m_position = 0;
    int m_wantedTopLine = -1; // beyond what has been taken in when it was asked for
    SourceTextFind *m_find = nullptr;
    ChangeMarks m_changeMarks;
    int m_currentChange = -1;
    int m_changeScrollValue = -1;
    SourceDocumentLines m_lines;
    QElapsedTimer m_sinceDoubleClick; // a press soon after is a triple click
    QPoint m_doubleClickAt;
};

} // namespace kestrune
