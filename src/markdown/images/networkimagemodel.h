#pragma once

#include "markdown/images/imagesource.h"
#include "markdown/images/networkimagestate.h"

#include <QObject>

#include <optional>

namespace kestrune {

class NetworkImageLoader;

// The state of one image view. Lives on the user-interface thread and
// publishes its fields there.
class NetworkImageModel : public QObject
{
    Q_OBJECT

public:
    explicit NetworkImageModel(QObject *parent = nullptr);
    ~NetworkImageModel() override;

    const std::optional<ImageSource> &source() const { return m_source; }
    const NetworkImageState &image() const { return m_image; }

    // The loader in use; the shared DefaultNetworkImageLoader unless replaced.
    // It is not owned and must outlive the model.
    NetworkImageLoader *imageLoader() const;
    void setImageLoader(NetworkImageLoader *loader);

    // Moves to a new source. The same URL and scale again changes nothing;
    // otherwise the image of the new URL is requested and, when it arrives,
    // published as success (its ideal size being its pixel size divided by the
    // scale) or failure. A result for a source that has since been replaced is
    // dropped. Without a source the state becomes empty.
    void setSource(const std::optional<ImageSource> &source);

Q_SIGNALS:
    void sourceChanged();
    void imageChanged();

private:
    void publish(const NetworkImageState &state);

    std::optional<ImageSource> m_source;
    NetworkImageState m_image;
    NetworkImageLoader *m_loader = nullptr;
    quint64 m_request = 0; // numbers the requests, so stale results can be told apart
};

} // namespace kestrune
