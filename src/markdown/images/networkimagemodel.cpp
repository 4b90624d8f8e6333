#include "markdown/images/networkimagemodel.h"

#include "markdown/images/defaultnetworkimageloader.h"

namespace kestrune {

NetworkImageModel::NetworkImageModel(QObject *parent) : QObject(parent) {}

NetworkImageModel::~NetworkImageModel() = default;

NetworkImageLoader *NetworkImageModel::imageLoader() const
{
    return m_loader ? m_loader : DefaultNetworkImageLoader::shared();
}

void NetworkImageModel::setImageLoader(NetworkImageLoader *loader)
{
    m_loader = loader;
}

void NetworkImageModel::setSource(const std::optional<ImageSource> &source)
{
    if (source == m_source)
        return;
    m_source = source;
    const quint64 request = ++m_request;
    Q_EMIT sourceChanged();

    if (!source) {
        publish(NetworkImageState::empty());
        return;
    }
    const qreal scale = source->scale;
    imageLoader()->image(source->url).then(this, [this, request, scale](const NetworkImageResult &result) {
        if (request != m_request)
            return;
        publish(result.isSuccess() ? NetworkImageState::success(result.image, scale)
                                   : NetworkImageState::failure());
    });
}

void NetworkImageModel::publish(const NetworkImageState &state)
{
    if (state == m_image)
        return;
    m_image = state;
    Q_EMIT imageChanged();
}

} // namespace kestrune
