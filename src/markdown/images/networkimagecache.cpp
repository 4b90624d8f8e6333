#include "markdown/images/networkimagecache.h"

namespace kestrune {

NetworkImageCache::~NetworkImageCache() = default;

} // namespace kestrune
