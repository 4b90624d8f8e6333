#include "reading/readingrecord.h"

#include <algorithm>
#include <vector>

namespace kestrune {

qint64 ReadingRecord::storedTextBytes() const
{
    qint64 total = 0;
    for (const SeenFile &file : files)
        if (file.hasText)
            total += file.storedTextSize;
    return total;
}

QStringList ReadingRecord::dropTextsBeyond(qint64 bound)
{
    qint64 total = storedTextBytes();
    if (total <= bound)
        return {};
    std::vector<const SeenFile *> withText;
    for (const SeenFile &file : std::as_const(files))
        if (file.hasText)
            withText.push_back(&file);
    std::sort(withText.begin(), withText.end(), [](const SeenFile *left, const SeenFile *right) {
        return left->seenAt < right->seenAt ||
               (left->seenAt == right->seenAt && left->relativePath < right->relativePath);
    });
    QStringList dropped;
    for (const SeenFile *file : withText) {
        if (total <= bound)
            break;
        total -= file->storedTextSize;
        dropped.append(file->relativePath);
    }
    for (const QString &path : std::as_const(dropped)) {
        SeenFile &file = files[path];
        file.hasText = false;
        file.storedTextSize = 0;
    }
    return dropped;
}

} // namespace kestrune
