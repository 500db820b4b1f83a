#include "page_memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace korv {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void* AllocatePages(std::size_t& capacity) {
    if (capacity > SIZE_MAX - kHugePage) {
        return nullptr;
    }
    capacity = (capacity + kHugePage - 1) / kHugePage * kHugePage;
    void* at =
        ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (at == MAP_FAILED) {
        return nullptr;
    }
#if defined(MADV_HUGEPAGE)
    ::madvise(at, capacity, MADV_HUGEPAGE);  // a hint; fine to ignore
#endif
    return at;
}

void FreePages(void* pages, std::size_t capacity) noexcept {
    ::munmap(pages, capacity);
}

}  // namespace korv
