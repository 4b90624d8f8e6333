#include "markdown/networkimageloader.h"

NetworkImageLoader::~NetworkImageLoader() = default;
