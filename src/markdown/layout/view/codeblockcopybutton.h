#pragma once

#include <QRectF>
#include <QTimer>
#include <QToolButton>

namespace kestrune {

// The "Copy" button shown at the top right of the code block under the pointer. Whoever shows
// it copies the block when it is clicked and calls showCopied(): it then says "Copied" for a
// moment.
class CodeBlockCopyButton : public QToolButton
{
    Q_OBJECT

public:
    explicit CodeBlockCopyButton(QWidget *parent);

    // Shows the button for the block `block` whose visible frame is `blockRect` (parent
    // coordinates).
    void showFor(const QRectF &blockRect, int block);
    // The block the button was last shown for.
    int block() const { return m_block; }
    void showCopied();

private:
    void showCopyText();

    int m_block = -1;
    QTimer m_copiedTimer;
};

} // namespace kestrune
