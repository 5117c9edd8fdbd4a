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
    // Offsets from the text's own pointer rather than a pointer made from an integer.
    char* const data = text.data();
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t before = start & (pageSize - 1);
    const std::uintptr_t length = ((start + text.capacity()) & ~(pageSize - 1)) - (start - before);
    // Only advice: a system that cannot give large pages gives small ones as before.
    (void)::madvise(data - before, length, MADV_HUGEPAGE);
#else
    (void)text;
#endif
}

} // namespace scribvane
