#include "markdown/images/svgsanitizer_p.h"

#include <QBuffer>
#include <QImageReader>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace kestrune::SvgSanitizer {

namespace {

// SVG documents embedded in data: URLs are made safe in turn, this deep.
constexpr int maximumNesting = 4;

std::optional<QByteArray> sanitized(const QByteArray &document, int depth);

// The part of a qualified name after its prefix.
QStringView localName(QStringView qualifiedName)
{
    const qsizetype colon = qualifiedName.lastIndexOf(u':');
    return colon < 0 ? qualifiedName : qualifiedName.mid(colon + 1);
}

bool is(QStringView name, QStringView expected)
{
    return name.compare(expected, Qt::CaseInsensitive) == 0;
}

// Exactly as written: the renderer takes anything else, " #a" and "DATA:" included, for a file name.
bool isInsideDocument(QStringView reference)
{
    return reference.startsWith(u'#') || reference.startsWith(u"data:");
}

// CSS with no @import, no escapes that could spell one, and only url()s inside the document.
bool isSafeCss(QStringView css)
{
    const QString lower = css.toString().toLower();
    if (lower.contains(u"@import") || lower.contains(u'\\'))
        return false;
    for (qsizetype at = lower.indexOf(u"url("); at >= 0; at = lower.indexOf(u"url(", at + 4)) {
        QStringView target = QStringView(lower).mid(at + 4).trimmed();
        if (target.startsWith(u'"') || target.startsWith(u'\''))
            target = target.mid(1);
        if (!isInsideDocument(target))
            return false;
    }
    return true;
}

// The picture of a data: URL rewritten as a plain base64 data: URL, so the
// renderer decodes exactly the bytes checked here. Nothing unless they are a
// raster image or an SVG document that can itself be made safe.
std::optional<QString> embeddedPicture(const QString &reference, int depth)
{
    const qsizetype comma = reference.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    const QString payload = reference.mid(comma + 1);
    QByteArray bytes = QStringView(reference).first(comma).endsWith(u";base64", Qt::CaseInsensitive)
                           ? QByteArray::fromBase64(payload.toLatin1())
                           : QByteArray::fromPercentEncoding(payload.toUtf8());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QByteArray format = QImageReader::imageFormat(&buffer);
    if (format.isEmpty() || format == "svgz")
        return std::nullopt;
    if (format == "svg") {
        if (depth >= maximumNesting)
            return std::nullopt;
        const std::optional<QByteArray> inner = sanitized(bytes, depth + 1);
        if (!inner)
            return std::nullopt;
        bytes = *inner;
        format = "svg+xml";
    }
    return QStringLiteral("data:image/%1;base64,%2")
        .arg(QString::fromLatin1(format), QString::fromLatin1(bytes.toBase64()));
}

// Copies the element the reader is at with its safe attributes, or returns
// false when the whole element has to go.
bool copyStartElement(QXmlStreamReader &reader, QXmlStreamWriter &writer, int depth)
{
    const QStringView element = localName(reader.qualifiedName());
    const bool drawsReference = is(element, u"image") || is(element, u"feImage") || is(element, u"use");
    QXmlStreamAttributes kept;
    for (const QXmlStreamAttribute &attribute : reader.attributes()) {
        const QStringView name = localName(attribute.qualifiedName());
        const QString value = attribute.value().toString();
        if (is(name, u"href")) {
            if (!isInsideDocument(value)) {
                if (drawsReference)
                    return false;
                continue;
            }
            if (value.startsWith(u"data:") && (is(element, u"image") || is(element, u"feImage"))) {
                const std::optional<QString> picture = embeddedPicture(value, depth);
                if (!picture)
                    return false;
                kept.append(attribute.qualifiedName().toString(), *picture);
                continue;
            }
        } else if (is(name, u"attributeName") && is(localName(value), u"href")) {
            return false; // an animation could point a reference anywhere
        } else if (!isSafeCss(value)) {
            continue; // presentation attributes and style="" take url() too
        }
        kept.append(attribute);
    }

    writer.writeStartElement(reader.qualifiedName().toString());
    writer.writeAttributes(kept);
    if (is(element, u"style")) {
        const QString css = reader.readElementText(QXmlStreamReader::IncludeChildElements);
        if (isSafeCss(css))
            writer.writeCharacters(css);
        writer.writeEndElement();
    }
    return true;
}

std::optional<QByteArray> sanitized(const QByteArray &document, int depth)
{
    QXmlStreamReader reader(document);
    reader.setNamespaceProcessing(false); // prefixes pass through as written
    QByteArray result;
    QXmlStreamWriter writer(&result);
    writer.writeStartDocument();
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (!copyStartElement(reader, writer, depth))
                reader.skipCurrentElement();
            break;
        case QXmlStreamReader::EndElement:
            writer.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            writer.writeCharacters(reader.text().toString());
            break;
        default:
            break; // comments, processing instructions, the DTD, unresolved entities
        }
    }
    if (reader.hasError())
        return std::nullopt;
    writer.writeEndDocument();
    return result;
}

} // namespace

std::optional<QByteArray> sanitized(const QByteArray &document)
{
    return sanitized(document, 0);
}

} // namespace kestrune::SvgSanitizer
