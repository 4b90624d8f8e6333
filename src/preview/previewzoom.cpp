#include "preview/previewzoom.h"

#include <algorithm>
#include <cstdlib>

namespace kestrune {

PreviewZoom &PreviewZoom::shared()
{
    static PreviewZoom zoom;
    return zoom;
}

void PreviewZoom::setPercent(int percent)
{
    const int nearest = *std::min_element(steps.begin(), steps.end(), [percent](int a, int b) {
        return std::abs(a - percent) < std::abs(b - percent);
    });
    if (nearest == m_percent)
        return;
    m_percent = nearest;
    Q_EMIT changed(m_percent);
}

void PreviewZoom::zoomIn()
{
    step(1);
}

void PreviewZoom::zoomOut()
{
    step(-1);
}

void PreviewZoom::step(int count)
{
    const auto current = std::find(steps.begin(), steps.end(), m_percent);
    const int index = int(current - steps.begin()) + count;
    setPercent(steps[size_t(std::clamp(index, 0, int(steps.size()) - 1))]);
}

} // namespace kestrune
