#include "ui/warmupqueue.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <cmath>

namespace kestrune {

WarmUpQueue::WarmUpQueue(QObject *parent) : QObject(parent)
{
    m_nextSlice.setSingleShot(true);
    m_nextSlice.setInterval(0);
    connect(&m_nextSlice, &QTimer::timeout, this, &WarmUpQueue::runSlice);
}

WarmUpQueue::~WarmUpQueue() = default;

void WarmUpQueue::add(std::function<void()> piece)
{
    m_pieces.push_back(std::move(piece));
    if (m_started && !m_nextSlice.isActive())
        m_nextSlice.start();
}

void WarmUpQueue::addRendering(std::function<std::unique_ptr<QWidget>()> make)
{
    // Two pieces, so that a widget dear to make and to draw is not both in one slice.
    auto made = std::make_shared<std::unique_ptr<QWidget>>();
    add([made, make = std::move(make)] {
        *made = make();
        if (*made)
            (*made)->ensurePolished();
    });
    add([made] {
        if (*made)
            renderHidden(**made, screenPixelRatio());
        made->reset();
    });
}

void WarmUpQueue::start()
{
    m_started = true;
    if (!m_pieces.empty() && !m_nextSlice.isActive())
        m_nextSlice.start();
}

void WarmUpQueue::runSlice()
{
    // A piece that added one may have had it run in its own slice already.
    if (m_pieces.empty())
        return;
    QElapsedTimer slice;
    slice.start();
    do {
        // Taken off first: a piece may add pieces.
        std::function<void()> piece = std::move(m_pieces.front());
        m_pieces.pop_front();
        piece();
    } while (!m_pieces.empty() && slice.elapsed() < m_sliceMilliseconds);
    if (!m_pieces.empty()) {
        m_nextSlice.start();
        return;
    }
    m_nextSlice.stop();
    Q_EMIT finished();
}

qreal WarmUpQueue::screenPixelRatio()
{
    const auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    return application ? application->devicePixelRatio() : 1.0;
}

void WarmUpQueue::renderHidden(QWidget &widget, qreal devicePixelRatio)
{
    widget.ensurePolished();
    if (widget.size().isEmpty() || !widget.testAttribute(Qt::WA_Resized))
        widget.resize(widget.sizeHint().expandedTo(QSize(1, 1)));
    const QSize pixels(int(std::ceil(widget.width() * devicePixelRatio)),
                       int(std::ceil(widget.height() * devicePixelRatio)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    widget.render(&painter);
}

} // namespace kestrune
