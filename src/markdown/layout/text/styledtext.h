#pragma once

#include "markdown/layout/style/textattributes.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringView>

namespace kestrune {

// Text with runs of character attributes, as the inline renderers produce it. Line breaks are
// line feeds. An inline image occupies one placeholder character of the text, in a run of its
// own.
struct StyledText
{
    struct Run
    {
        int start = 0;
        int length = 0;
        TextAttributes attributes;
    };

    struct Image
    {
        int position = 0; // of the placeholder character
        QString source;
        QImage image;
    };

    // What stands for an inline image in `text`.
    static constexpr char16_t imagePlaceholder = u'\u00a0';

    // A place of the text that links to "#identifier" scroll to (a footnote reference).
    struct Anchor
    {
        int position = 0;
        QString identifier;
    };

    QString text;
    QList<Run> runs; // in order, covering `text` without gaps
    QList<Image> images;
    QList<Anchor> anchors;

    // Appends `piece` with the attributes, extending the last run when they are the same.
    void append(QStringView piece, const TextAttributes &attributes);
    void appendImage(const QString &source, const QImage &image, const TextAttributes &attributes);

    bool isEmpty() const { return text.isEmpty(); }
};

} // namespace kestrune
