#include "markdown/images/imageprovider.h"

ImageProvider::~ImageProvider() = default;
