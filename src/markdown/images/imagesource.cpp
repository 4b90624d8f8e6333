#include "markdown/images/imagesource.h"

#include <QHashFunctions>

namespace kestrune {

using ::qHash; // the overloads below would hide those of Qt and of the built-in types

size_t qHash(const ImageSource &source, size_t seed) noexcept
{
    return qHashMulti(seed, source.url, source.scale);
}

} // namespace kestrune
