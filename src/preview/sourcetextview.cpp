#include "preview/sourcetextview.h"

#include "preview/previewcolors.h"
#include "preview/previewfonts.h"

#include <QEvent>

SourceTextView::SourceTextView(const QString &text, QWidget *parent)
    : QPlainTextEdit(parent)
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
    setPlainText(text);
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
