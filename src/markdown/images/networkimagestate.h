#pragma once

#include <QImage>
#include <QSizeF>

namespace kestrune {

// What an image view shows: nothing yet, a loaded image, or a failure.
class NetworkImageState
{
public:
    enum class Kind
    {
        empty,
        success,
        failure
    };

    NetworkImageState() = default; // empty
    static NetworkImageState empty() { return {}; }
    static NetworkImageState failure();
    // `image` is the decoded bitmap, shared with the image cache; it is shown at
    // `scale` pixels per point, so it takes `idealSize` points.
    static NetworkImageState success(QImage image, qreal scale);

    Kind kind() const { return m_kind; }
    const QImage &image() const { return m_image; }
    qreal scale() const { return m_scale; }
    QSizeF idealSize() const { return m_idealSize; }

    friend bool operator==(const NetworkImageState &left, const NetworkImageState &right)
    {
        return left.m_kind == right.m_kind && left.m_scale == right.m_scale &&
               left.m_idealSize == right.m_idealSize && left.m_image.cacheKey() == right.m_image.cacheKey();
    }

private:
    Kind m_kind = Kind::empty;
    QImage m_image;
    qreal m_scale = 1.0;
    QSizeF m_idealSize;
};

} // namespace kestrune
