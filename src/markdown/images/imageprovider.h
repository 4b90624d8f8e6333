#pragma once

#include <QFuture>
#include <QImage>
#include <QUrl>

namespace kestrune {

// Loads the pictures a document shows. The engine asks once per URL and view; the future
// delivers the decoded image, or a null image when the load failed. An embedding view may
// supply its own (tests do).
class ImageProvider
{
public:
    virtual ~ImageProvider();

    virtual QFuture<QImage> image(const QUrl &url) = 0;
};

} // namespace kestrune
