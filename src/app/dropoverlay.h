#pragma once

#include <QWidget>

namespace kestrune {

// What the window shows while folders are dragged over it: a light accent tint over everything, a
// rounded accent border inset from the edges and, in the middle, a short text on a surface of its
// own ("Drop folders to import"). It takes no input: the drag events still reach the window.
class DropOverlay : public QWidget
{
    Q_OBJECT

public:
    explicit DropOverlay(QWidget *parent = nullptr);

    QString text() const { return m_text; }

    // Covers the parent and comes to the front.
    void showOverParent();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_text;
};

} // namespace kestrune
