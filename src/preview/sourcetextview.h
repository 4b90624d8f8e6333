#pragma once

#include <QPlainTextEdit>

// The raw text of a file in the monospaced body font and the primary text colour: read-only,
// selectable, wrapped at the pane's width and scrolling vertically, 16 of padding all round.
// The text layout is done block by block as it scrolls into view, so long files open at once.
class SourceTextView : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int padding = 16;

    explicit SourceTextView(const QString &text, QWidget *parent = nullptr);

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColors();
};
