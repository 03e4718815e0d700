#include "platform/largepages.h"

#ifdef __linux__
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>
#endif

void preferLargePages([[maybe_unused]] void *data, [[maybe_unused]] std::size_t size) {
#ifdef __linux__
    // Below two large pages the hint gains nothing.
    constexpr std::size_t Worthwhile = std::size_t(4) << 20;
    if (!data || size < Worthwhile)
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(page - 1);
    if (end > start)
        ::madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
#endif
}
