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
    // The advice takes whole pages: the buffer's first and last partial pages are left out.
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto address = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t head = (page - address % page) % page;
    if (size <= head)
        return;
    const std::size_t length = (size - head) / page * page;
    if (length > 0)
        ::madvise(static_cast<char *>(data) + head, length, MADV_HUGEPAGE);
#endif
}
