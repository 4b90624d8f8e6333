#pragma once

#include "markdown/layout/document/accessibletextattributes_p.h"
#include "markdown/layout/document/layoutdocument_p.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QUrl>

namespace kestrune {

// The page's text as assistive technology reads it, and the headings, links and pictures in
// it: offsets into LayoutDocument::plainTextMap's text, mapped to and from text positions of
// the page. Made from the built part of the page; made again when that changes.
class AccessibleTextMap
{
public:
    struct Element
    {
        enum class Kind
        {
            heading,
            link,
            image
        };
        Kind kind = Kind::heading;
        QString name;
        QUrl url;      // a link's target
        int level = 0; // a heading's level, 1 to 6
        int start = 0; // [start, end) in the text
        int end = 0;
        int node = -1;    // the text node it lies in, -1 for a block image
        int position = 0; // its first position in that node
        int endPosition = 0;
        int picture = -1; // a block image's index in LayoutDocument::pictures
        int block = -1;   // the top-level block it lies in
    };

    AccessibleTextMap() = default;
    explicit AccessibleTextMap(const LayoutDocument &document);

    const QString &text() const { return m_text.text; }
    int length() const { return int(m_text.text.size()); }
    int nodeCount() const { return int(m_text.nodeStarts.size()); }
    const QList<Element> &elements() const { return m_elements; }

    // The offset of a text position, and the position of an offset (clamped to the text).
    int offsetOf(const LayoutDocument &document, LayoutDocument::TextPosition position) const;
    LayoutDocument::TextPosition positionOf(const LayoutDocument &document, int offset) const;
    // Where the element lies on the page, in document coordinates.
    static QRectF elementRect(const LayoutDocument &document, const Element &element);
    // The run of like character attributes around an offset (the last character's at the end),
    // as [start, end) offsets, painted in the document's appearance (see
    // AccessibleTextAttributes). What lies between two texts (a line feed, a list marker) is a
    // run of its own, read with the attributes the next text starts with.
    AccessibleTextAttributes::Run attributesAt(const LayoutDocument &document, int offset,
                                               QColor defaultColor) const;

private:
    void collectElements(const LayoutDocument &document);

    LayoutDocument::PlainTextMap m_text;
    QList<Element> m_elements;
};

} // namespace kestrune
