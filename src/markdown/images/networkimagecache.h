#pragma once

#include <QImage>
#include <QUrl>

#include <optional>

namespace kestrune {

// Decoded images by URL. An embedding view tree may supply its own.
class NetworkImageCache
{
public:
    virtual ~NetworkImageCache();

    virtual std::optional<QImage> image(const QUrl &url) const = 0;
    virtual void setImage(const QImage &image, const QUrl &url) = 0;
};

} // namespace kestrune
