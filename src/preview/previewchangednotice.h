#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace kestrune {

// A quiet line above the content of a file that changed since the reader last saw it when its
// changes cannot be marked beside its blocks: too many to compare, a line or a text too long,
// or no text of it as seen kept. A dot in the accent colour, as the outline marks the file, the
// words that say so in the secondary text colour, a button that marks the file as read, and a
// hairline below. No warning tint: nothing went wrong.
class PreviewChangedNotice : public QWidget
{
    Q_OBJECT

public:
    static constexpr int padding = 16;
    static constexpr int dotSize = 8;
    static constexpr int dotSpacing = 8;

    explicit PreviewChangedNotice(QWidget *parent = nullptr);

    QLabel *label() const { return m_label; }
    QPushButton *markAsReadButton() const { return m_markAsRead; }
    // Where the dot is painted.
    QRect dotRect() const;

Q_SIGNALS:
    void markAsReadRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    QLabel *m_label;
    QPushButton *m_markAsRead;
};

} // namespace kestrune
