#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QAbstractScrollArea;
class QScrollBar;
class QWidget;

namespace kestrune {

// Tells when the reader has seen the text a preview pane shows: once it has been on screen for
// about a second (the pane shown, its window not minimised), or as soon as the reader scrolls
// through to its end. A new text arms it again; hiding the pane or minimising the window stops
// the count, which starts afresh when the text is back on screen.
class PreviewSeenTimer : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultDelay = 1000; // milliseconds

    explicit PreviewSeenTimer(QWidget *pane);

    // How long a text stays on screen before it counts as seen (tests shorten it).
    static void setDelay(int milliseconds);
    static int delay();

    // A text is on show that the reader has not seen yet: counting starts while on screen.
    void arm();
    // Nothing to see is on show (loading, an error): no count.
    void disarm();
    bool isArmed() const { return m_armed; }
    bool isCounting() const { return m_timer.isActive(); }
    // Reading to the end of this view counts as seeing the text.
    void follow(QAbstractScrollArea *area);

Q_SIGNALS:
    void seen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isOnScreen() const;
    void startIfOnScreen();
    void watchWindow();
    void elapse();

    QWidget *m_pane;
    QPointer<QWidget> m_window;
    QPointer<QScrollBar> m_scrollBar;
    QMetaObject::Connection m_scrollConnection;
    QTimer m_timer;
    bool m_armed = false;
};

} // namespace kestrune
