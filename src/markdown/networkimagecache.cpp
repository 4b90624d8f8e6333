#include "markdown/networkimagecache.h"

NetworkImageCache::~NetworkImageCache() = default;
