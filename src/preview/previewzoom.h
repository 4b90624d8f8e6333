#pragma once

#include <QObject>

#include <array>

namespace kestrune {

// How large every preview draws its document, rendered or as source, in steps from 50 % to
// 300 %: one value for the whole program, so that the next file opens as large as the last.
class PreviewZoom : public QObject
{
    Q_OBJECT

public:
    static constexpr std::array<int, 13> steps = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
    static constexpr int standard = 100;

    static PreviewZoom &shared();

    int percent() const { return m_percent; }
    qreal factor() const { return m_percent / 100.0; }
    // Takes the nearest step.
    void setPercent(int percent);
    void zoomIn();
    void zoomOut();
    void reset() { setPercent(standard); }
    // One step per wheel notch: towards larger for a positive count.
    void step(int count);

Q_SIGNALS:
    void changed(int percent);

private:
    int m_percent = standard;
};

} // namespace kestrune
