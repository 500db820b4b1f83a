#include "page_memory.h"

#include <windows.h>

#include <cstdint>

namespace korv {

namespace {

// VirtualAlloc hands out address space in granules of this size.
constexpr std::size_t kGranule = std::size_t{64} << 10;

}  // namespace

void* AllocatePages(std::size_t& capacity) {
    if (capacity > SIZE_MAX - kGranule) {
        return nullptr;
    }
    capacity = (capacity + kGranule - 1) / kGranule * kGranule;
    return VirtualAlloc(nullptr, capacity, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void FreePages(void* pages, std::size_t /*capacity*/) noexcept {
    VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace korv
