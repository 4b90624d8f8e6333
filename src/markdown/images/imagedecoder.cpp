#include "markdown/images/imagedecoder_p.h"

#include "markdown/images/svgsanitizer_p.h"

#include <QBuffer>
#include <QImageReader>

#include <optional>

namespace kestrune::ImageDecoder {

namespace {

// Wider than any preview page at twice the device pixel ratio, so an image
// decoded no larger than this still fills the page it is fitted to.
constexpr int maximumDecodedSide = 4096;
// Beyond what any document shows; a raster image whose header claims more
// pixels is refused before its pixels are allocated.
constexpr qint64 maximumDeclaredPixels = 100'000'000;

// `size` shrunk, aspect ratio kept, until its longer side is within the bound.
QSize boundedSize(QSize size)
{
    if (size.width() <= maximumDecodedSide && size.height() <= maximumDecodedSide)
        return size;
    return size.scaled(maximumDecodedSide, maximumDecodedSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

NetworkImageResult read(QImageReader &reader)
{
    // A format that cannot tell its size beforehand decodes at full size.
    const QSize declared = reader.size();
    if (declared.isValid()) {
        const QSize bounded = boundedSize(declared);
        if (bounded != declared)
            reader.setScaledSize(bounded);
    }
    QImage image = reader.read(); // the first image of the file
    if (image.isNull())
        return NetworkImageResult::failure(NetworkImageError::cannotDecodeContentData, reader.errorString());
    return NetworkImageResult::success(std::move(image));
}

// An SVG document is rendered only once nothing in it points outside it.
NetworkImageResult decodeSvg(const QByteArray &bytes)
{
    std::optional<QByteArray> safe = SvgSanitizer::sanitized(bytes);
    if (!safe)
        return NetworkImageResult::failure(NetworkImageError::cannotDecodeContentData,
                                           QStringLiteral("Not a well-formed SVG document"));
    QBuffer buffer(&*safe);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "svg");
    return read(reader);
}

} // namespace

NetworkImageResult decode(const QByteArray &bytes, const QString &contentType)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // The reader keeps Qt's allocation limit as well, for formats that do not
    // declare their size before decoding.
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    // Compressed SVG fails in decodeSvg as no XML; an SVG the reader does not
    // recognise by its start is still one by its type or its root element.
    if (format.startsWith("svg") ||
        (format.isEmpty() &&
         (contentType.contains(QLatin1String("svg"), Qt::CaseInsensitive) || bytes.contains("<svg"))))
        return decodeSvg(bytes);
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() > maximumDeclaredPixels)
        return NetworkImageResult::failure(
            NetworkImageError::cannotDecodeContentData,
            QStringLiteral("The image claims more than %1 pixels").arg(maximumDeclaredPixels));
    return read(reader);
}

} // namespace kestrune::ImageDecoder
