#include "markdown/images/networkimageloader.h"

namespace kestrune {

NetworkImageLoader::~NetworkImageLoader() = default;

} // namespace kestrune
