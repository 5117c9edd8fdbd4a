// Large-page advice for big buffers; see LargeBuffers.h.
#include "utils/LargeBuffers.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace scribvane {

void PreferLargePages(std::string& text) {
#ifdef MADV_HUGEPAGE
    constexpr std::size_t kLargePage = std::size_t{1} << 21;
    if (text.capacity() < kLargePage) {
        return;
    }
    // The whole room, from the page it starts in: the system gives a large page wherever one
    // fits inside the advised range, so the room's first one counts even when the
    // allocation happens to start on it, just before the text.
    const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(text.data());
    const std::uintptr_t first = start & ~(pageSize - 1);
    const std::uintptr_t last = (start + text.capacity()) & ~(pageSize - 1);
    // Only advice: a system that cannot give large pages gives small ones as before.
    (void)::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)text;
#endif
}

} // namespace scribvane
