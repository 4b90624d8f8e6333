#include "markdown/images/imagesource.h"

#include <QHashFunctions>

size_t qHash(const ImageSource &source, size_t seed) noexcept
{
    return qHashMulti(seed, source.url, source.scale);
}
