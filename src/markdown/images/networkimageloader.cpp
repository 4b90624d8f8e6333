#include "markdown/images/networkimageloader.h"

NetworkImageLoader::~NetworkImageLoader() = default;
