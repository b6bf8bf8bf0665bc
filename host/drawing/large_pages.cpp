#include "host/drawing/large_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace host {

void AskForLargePages(void* data, size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t kPage = 4096;
    const uintptr_t start = reinterpret_cast<uintptr_t>(data);
    const uintptr_t begin = (start + kPage - 1) & ~(kPage - 1);
    const uintptr_t end = (start + size) & ~(kPage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

}  // namespace host
