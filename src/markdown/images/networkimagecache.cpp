#include "markdown/images/networkimagecache.h"

NetworkImageCache::~NetworkImageCache() = default;
