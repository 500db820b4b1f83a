#pragma once

#include <cstddef>
#include <string>

namespace korv {

// How far into a file a NUL byte marks it as binary, as grep and git look.
inline constexpr std::size_t kBinarySniffBytes = 8192;

// Whether the file at `path` looks binary: a NUL byte among its first
// kBinarySniffBytes, unless it starts with a UTF-16 byte-order mark (a run
// edits UTF-16 text, and refuses it there if it is none). A file that
// cannot be read does not; its run says why.
[[nodiscard]] bool LooksBinary(const std::string& path);

}  // namespace korv
