#include "preview/previewseentimer.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QScrollBar>
#include <QWidget>

namespace kestrune {

namespace {

int &delayInForce()
{
    static int milliseconds = PreviewSeenTimer::defaultDelay;
    return milliseconds;
}

} // namespace

PreviewSeenTimer::PreviewSeenTimer(QWidget *pane) : QObject(pane), m_pane(pane)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &PreviewSeenTimer::elapse);
    m_pane->installEventFilter(this);
}

void PreviewSeenTimer::setDelay(int milliseconds)
{
    delayInForce() = milliseconds;
}

int PreviewSeenTimer::delay()
{
    return delayInForce();
}

void PreviewSeenTimer::arm()
{
    m_armed = true;
    m_timer.stop();
    startIfOnScreen();
}

void PreviewSeenTimer::disarm()
{
    m_armed = false;
    m_timer.stop();
}

void PreviewSeenTimer::follow(QAbstractScrollArea *area)
{
    QScrollBar *bar = area ? area->verticalScrollBar() : nullptr;
    if (bar == m_scrollBar)
        return;
    disconnect(m_scrollConnection);
    m_scrollBar = bar;
    if (!bar)
        return;
    m_scrollConnection = connect(bar, &QScrollBar::valueChanged, this, [this](int value) {
        // Only a text taller than the view can be scrolled through.
        if (m_armed && m_scrollBar && m_scrollBar->maximum() > 0 && value >= m_scrollBar->maximum() &&
            isOnScreen())
            elapse();
    });
}

bool PreviewSeenTimer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pane && event->type() == QEvent::Show) {
        watchWindow();
        startIfOnScreen();
    } else if (watched == m_pane && event->type() == QEvent::Hide) {
        m_timer.stop();
    } else if (watched == m_window && event->type() == QEvent::WindowStateChange) {
        if (m_window->isMinimized())
            m_timer.stop();
        else
            startIfOnScreen();
    }
    return QObject::eventFilter(watched, event);
}

bool PreviewSeenTimer::isOnScreen() const
{
    return m_pane->isVisible() && !m_pane->window()->isMinimized();
}

void PreviewSeenTimer::startIfOnScreen()
{
    if (m_armed && !m_timer.isActive() && isOnScreen())
        m_timer.start(delay());
}

void PreviewSeenTimer::watchWindow()
{
    QWidget *window = m_pane->window();
    if (window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (window != m_pane)
        window->installEventFilter(this);
}

void PreviewSeenTimer::elapse()
{
    m_timer.stop();
    if (!m_armed || !isOnScreen())
        return;
    m_armed = false;
    Q_EMIT seen();
}

} // namespace kestrune
