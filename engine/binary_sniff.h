#pragma once

#include <cstddef>
#include <string>

namespace korv {

// How far into a file a NUL byte marks it as binary, as grep and git look.
inline constexpr std::size_t kBinarySniffBytes = 8192;

// Whether the file at `path` looks binary: a NUL byte among its first
// kBinarySniffBytes. A file that cannot be read does not; its run says why.
[[nodiscard]] bool LooksBinary(const std::string& path);

}  // namespace korv
