#include "markdown/layout/styledtext.h"

namespace kestrune {

void StyledText::append(QStringView piece, const TextAttributes &attributes)
{
    if (piece.isEmpty())
        return;
    const int start = int(text.size());
    text.append(piece);
    if (!runs.isEmpty() && runs.last().attributes == attributes) {
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
