#pragma once

#include <string>
#include <string_view>

namespace korv {

// The directory of the running executable, without a trailing separator
// (the root keeps its own).
[[nodiscard]] std::string ExecutableDir();
// A file beside the executable: its directory, a separator and `name`.
[[nodiscard]] std::string BesideExecutable(std::string_view name);

}  // namespace korv
