#pragma once

#include <cstddef>
#include <optional>

#include "file_system.h"

namespace korv {

// Reads from the start of `file` into `into` until `size` bytes are read
// or the file ends; how many were read, nullopt (fs::LastError() set) when
// a read fails.
[[nodiscard]] std::optional<std::size_t> ReadFromStart(const fs::File& file, char* into,
                                                       std::size_t size);

}  // namespace korv
