#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korv {

// How this system spells paths. The separators are the slash on POSIX; the
// backslash and the colon on Windows, where in a double-byte ANSI code page
// a byte that is the second of a double-byte character never separates.

// Whether the byte at `pos` of `path` separates two parts of it.
[[nodiscard]] bool IsPathSeparatorAt(std::string_view path, std::size_t pos);
// The position of the last separator in `path`, or npos.
[[nodiscard]] std::size_t LastPathSeparator(std::string_view path);
// The separator put between a directory and a name.
[[nodiscard]] char DirSeparator();
// `name` inside `folder`, with a separator between them unless `folder`
// already ends in one (a root); `name` alone when `folder` is empty.
[[nodiscard]] std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace korv
