#pragma once

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

class QWidget;

namespace kestrune {

// Work done ahead so that a later first use is quick: a font's engine loaded, its glyphs
// rasterised, a symbol drawn into its cache, a widget class polished by the style. The first
// publication of a project otherwise pays for all of it at once, on the window's thread, in the
// frame that shows the views.
//
// The pieces run on the queue's thread between events: from start() on, each turn of the event
// loop runs pieces in the order they were added until the slice's budget is spent (at least one
// piece), then yields to the events that came meanwhile. A piece should take well under a frame;
// one that takes its slice's whole budget ends the slice.
class WarmUpQueue : public QObject
{
    Q_OBJECT

public:
    // A slice's budget: a small part of a frame at 60 Hz, so that what waits behind a slice
    // (input, a paint, the next publication) is hardly held up.
    static constexpr int defaultSliceMilliseconds = 3;

    explicit WarmUpQueue(QObject *parent = nullptr);
    ~WarmUpQueue() override;

    void add(std::function<void()> piece);
    // Two pieces: one makes a widget with `make` and has it polished, the next draws it, hidden,
    // into an image at the screen's pixel ratio and deletes it. Whatever the widget's polish,
    // size hint and paint load for the first time is loaded then.
    void addRendering(std::function<std::unique_ptr<QWidget>()> make);

    // Runs the pieces added, and any added later, from the next turn of the event loop on.
    void start();
    bool isStarted() const { return m_started; }
    // Started and nothing left to run.
    bool isFinished() const { return m_started && m_pieces.empty(); }
    int pendingCount() const { return int(m_pieces.size()); }

    // Zero runs one piece per turn.
    void setSliceBudget(int milliseconds) { m_sliceMilliseconds = milliseconds; }
    int sliceBudget() const { return m_sliceMilliseconds; }

    // Draws the widget, hidden, into an image of its size at the given pixel ratio (laid out and
    // polished first, as a widget about to be shown is).
    static void renderHidden(QWidget &widget, qreal devicePixelRatio);
    // The pixel ratio of the application's screen, which the views will paint at.
    static qreal screenPixelRatio();

Q_SIGNALS:
    // The last piece ran.
    void finished();

private:
    void runSlice();

    std::deque<std::function<void()>> m_pieces;
    QTimer m_nextSlice;
    int m_sliceMilliseconds = defaultSliceMilliseconds;
    bool m_started = false;
};

} // namespace kestrune
