#include "markdown/layout/view/codeblockcopybutton.h"

#include "ui/localization.h"

namespace kestrune {

namespace {

constexpr int inset = 6;
constexpr int copiedShownMs = 1500;

} // namespace

CodeBlockCopyButton::CodeBlockCopyButton(QWidget *parent) : QToolButton(parent)
{
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setAccessibleName(Localization::text("markdown.copy_code.accessible_name"));
    m_copiedTimer.setSingleShot(true);
    m_copiedTimer.setInterval(copiedShownMs);
    connect(&m_copiedTimer, &QTimer::timeout, this, &CodeBlockCopyButton::showCopyText);
    showCopyText();
    hide();
}

void CodeBlockCopyButton::showFor(const QRectF &blockRect, int block)
{
    if (block != m_block) {
        m_copiedTimer.stop();
        showCopyText();
    }
    m_block = block;
    const QRect frame = blockRect.toAlignedRect();
    move(frame.right() - inset - width() + 1, frame.top() + inset);
    show();
    raise();
}

void CodeBlockCopyButton::showCopied()
{
    setText(Localization::text("markdown.copy_code.copied"));
    adjustSize();
    m_copiedTimer.start();
}

void CodeBlockCopyButton::showCopyText()
{
    setText(Localization::text("markdown.copy_code"));
    adjustSize();
}

} // namespace kestrune
