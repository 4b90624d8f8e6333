#pragma once

#include <QUrl>

namespace kestrune {

// The request of one image view: an absolute URL and the display scale in
// pixels per point.
struct ImageSource
{
    QUrl url;
    qreal scale = 1.0;

    friend bool operator==(const ImageSource &, const ImageSource &) = default;
};

size_t qHash(const ImageSource &source, size_t seed = 0) noexcept;

} // namespace kestrune
