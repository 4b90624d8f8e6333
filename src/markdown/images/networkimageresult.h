#pragma once

#include <QImage>
#include <QString>

namespace kestrune {

// Why an image could not be loaded.
enum class NetworkImageError
{
    none,
    badServerResponse,       // not an HTTP response, or a status outside 200 to 299
    cannotDecodeContentData, // the bytes are not an image the decoder can read
    forbidden,               // the source may not be read: a file outside the allowed folder
    transport,               // the download or the read itself failed; see errorString
    tooLarge,                // the response is larger than the loader accepts
    timedOut,                // the server stalled, or the download outlasted its deadline
};

// The outcome of one image load: a decoded bitmap or an error.
struct NetworkImageResult
{
    QImage image;
    NetworkImageError error = NetworkImageError::none;
    QString errorString;

    bool isSuccess() const { return error == NetworkImageError::none; }

    static NetworkImageResult success(QImage image)
    {
        return {std::move(image), NetworkImageError::none, {}};
    }
    static NetworkImageResult failure(NetworkImageError error, QString errorString = {})
    {
        return {QImage(), error, std::move(errorString)};
    }
};

} // namespace kestrune
