#pragma once

#include <cstddef>
#include <string_view>

namespace korv::win32 {

// The path separators of `path` read as text of `code_page`: backslashes
// and colons that are not the trail byte of a double-byte character.
// Apart from the ANSI code page so every code page can be tried.

// The position of the last separator before `end`, or npos.
[[nodiscard]] std::size_t LastSeparatorIn(std::string_view path, unsigned code_page,
                                          std::size_t end = std::string_view::npos);
[[nodiscard]] bool IsSeparatorIn(std::string_view path, std::size_t pos, unsigned code_page);

}  // namespace korv::win32
