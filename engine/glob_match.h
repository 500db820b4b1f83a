#pragma once

#include <string_view>

namespace korv {

// Whether a file name matches a shell pattern: "*" any run of bytes, "?"
// one byte, "[abc]", "[a-z]" and "[!abc]" one byte of a set, "\x" the byte
// x itself; every other byte stands for itself. Byte for byte, no case
// folding, so it means the same on every system.
[[nodiscard]] bool GlobMatch(std::string_view pattern, std::string_view name);

}  // namespace korv
