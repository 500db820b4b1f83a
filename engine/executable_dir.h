#pragma once

#include <string>
#include <string_view>

namespace korv {

// The full path of the running executable; empty when the system will not
// tell it.
[[nodiscard]] std::string ExecutablePath();
// The directory of the running executable, without a trailing separator
// (the root keeps its own).
[[nodiscard]] std::string ExecutableDir();
// The same for an executable at `executable_path` ("." when it names no
// folder).
[[nodiscard]] std::string ExecutableDirAt(std::string_view executable_path);
// A file beside the executable: its directory, a separator and `name`.
[[nodiscard]] std::string BesideExecutable(std::string_view name);
// The same for an executable at `executable_path`. A root keeps its own
// separator and gains another ("C:\\" + "\\korv.log"), which the system
// accepts.
[[nodiscard]] std::string BesideExecutableAt(std::string_view executable_path,
                                             std::string_view name);

}  // namespace korv
