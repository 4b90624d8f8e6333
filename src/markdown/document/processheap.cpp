#include "markdown/document/processheap.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kestrune {

void ProcessHeap::configureForDocuments()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, keptFreeBytes);
    mallopt(M_MMAP_THRESHOLD, ownMappingBytes);
#endif
}

} // namespace kestrune
