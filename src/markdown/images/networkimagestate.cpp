#include "markdown/images/networkimagestate.h"

namespace kestrune {

NetworkImageState NetworkImageState::failure()
{
    NetworkImageState state;
    state.m_kind = Kind::failure;
    return state;
}

NetworkImageState NetworkImageState::success(QImage image, qreal scale)
{
    NetworkImageState state;
    state.m_kind = Kind::success;
    state.m_scale = scale > 0 ? scale : 1.0;
    state.m_idealSize = QSizeF(image.width() / state.m_scale, image.height() / state.m_scale);
    state.m_image = std::move(image);
    return state;
}

} // namespace kestrune
