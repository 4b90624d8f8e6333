#include "markdown/images/networkimage.h"

#include "markdown/images/networkimagemodel.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace kestrune {

NetworkImage::NetworkImage(QWidget *parent)
    : QWidget(parent), m_model(new NetworkImageModel(this)), m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    connect(m_model, &NetworkImageModel::imageChanged, this, &NetworkImage::rebuild);
    rebuild();
}

NetworkImage::~NetworkImage() = default;

void NetworkImage::setSource(const std::optional<ImageSource> &source)
{
    m_source = source;
    if (isVisible())
        m_model->setSource(source);
}

void NetworkImage::setContentBuilder(ContentBuilder builder)
{
    m_builder = builder ? std::move(builder) : ContentBuilder(&NetworkImage::defaultContent);
    rebuild();
}

void NetworkImage::setImageLoader(NetworkImageLoader *loader)
{
    m_model->setImageLoader(loader);
}

QWidget *NetworkImage::defaultContent(const NetworkImageState &state)
{
    if (state.kind() != NetworkImageState::Kind::success)
        return nullptr;
    auto *label = new QLabel;
    QPixmap pixmap = QPixmap::fromImage(state.image());
    pixmap.setDevicePixelRatio(state.scale());
    label->setPixmap(pixmap);
    label->setFixedSize(state.idealSize().toSize());
    return label;
}

void NetworkImage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_model->setSource(m_source);
}

void NetworkImage::rebuild()
{
    delete m_content;
    m_content = m_builder(m_model->image());
    if (m_content)
        m_layout->addWidget(m_content);
}

} // namespace kestrune
