#pragma once

#include "markdown/images/imagesource.h"
#include "markdown/images/networkimagestate.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QVBoxLayout;

namespace kestrune {

class NetworkImageLoader;
class NetworkImageModel;

// Shows what a content builder makes of the state of one image. The load
// starts when the widget is first shown, and again whenever the source changes
// while it is visible; it is not cancelled on hiding, since its result is
// cached for the next showing anyway.
class NetworkImage : public QWidget
{
    Q_OBJECT

public:
    // Makes the content for a state; nullptr shows nothing. The widget takes
    // ownership of what it returns.
    using ContentBuilder = std::function<QWidget *(const NetworkImageState &state)>;

    explicit NetworkImage(QWidget *parent = nullptr);
    ~NetworkImage() override;

    std::optional<ImageSource> source() const { return m_source; }
    void setSource(const std::optional<ImageSource> &source);

    // By default a label with the image at its ideal size, nothing otherwise.
    void setContentBuilder(ContentBuilder builder);
    void setImageLoader(NetworkImageLoader *loader);

    NetworkImageModel *model() const { return m_model; }
    QWidget *content() const { return m_content; }

    static QWidget *defaultContent(const NetworkImageState &state);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void rebuild();

    std::optional<ImageSource> m_source;
    NetworkImageModel *m_model = nullptr; // child
    QVBoxLayout *m_layout = nullptr;      // child
    ContentBuilder m_builder = &NetworkImage::defaultContent;
    QPointer<QWidget> m_content;
};

} // namespace kestrune
