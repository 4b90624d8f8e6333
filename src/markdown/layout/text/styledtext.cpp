#include "markdown/layout/text/styledtext.h"

namespace kestrune {

void StyledText::append(QStringView piece, const TextAttributes &attributes)
{
    if (piece.isEmpty())
        return;
    const int start = int(text.size());
    text.append(piece);
    // An image's placeholder keeps a run of its own: the text node widens exactly that run to
    // the picture's width, and a run that also held the following character would not be
    // recognised as the image's and leave the picture over the text after it.
    const bool lastIsImage =
        !images.isEmpty() && !runs.isEmpty() && images.last().position == runs.last().start;
    if (!runs.isEmpty() && !lastIsImage && runs.last().attributes == attributes) {
        runs.last().length += int(piece.size());
        return;
    }
    runs.append({start, int(piece.size()), attributes});
}

void StyledText::appendImage(const QString &source, const QImage &image, const TextAttributes &attributes)
{
    // Zero-width spaces on both sides keep the places where a line may break.
    append(u"\u200b", attributes);
    const int position = int(text.size());
    runs.append({position, 1, attributes});
    text.append(QChar(imagePlaceholder));
    images.append({position, source, image});
    append(u"\u200b", attributes);
}

} // namespace kestrune
