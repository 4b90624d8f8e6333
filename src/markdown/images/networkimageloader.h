#pragma once

#include "markdown/images/networkimageresult.h"

#include <QFuture>
#include <QUrl>

namespace kestrune {

// Loads images by URL. An embedding view tree may supply its own.
class NetworkImageLoader
{
public:
    virtual ~NetworkImageLoader();

    // The image at `url`, delivered through the future from another thread; take
    // it with QFuture::then(context, ...) to continue on the context's thread.
    virtual QFuture<NetworkImageResult> image(const QUrl &url) = 0;
};

} // namespace kestrune
