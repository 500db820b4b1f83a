#pragma once

#include <cstddef>

namespace korv {

// Memory straight from the system for big buffers, in whole pages (huge
// pages where the system has them). Rounds `capacity` up to what it got;
// nullptr when the system has none.
[[nodiscard]] void* AllocatePages(std::size_t& capacity);
// Gives back what AllocatePages returned with that capacity.
void FreePages(void* pages, std::size_t capacity) noexcept;

}  // namespace korv
