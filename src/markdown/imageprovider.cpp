#include "markdown/imageprovider.h"

ImageProvider::~ImageProvider() = default;
