#include "markdown/images/imageprovider.h"

namespace kestrune {

ImageProvider::~ImageProvider() = default;

} // namespace kestrune
