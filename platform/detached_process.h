#pragma once

#include <string>
#include <vector>

namespace korv::platform {

// Starts `argv[0]` (searched in PATH when it holds no slash) with the given
// arguments, each handed over as its exact bytes, no shell in between. The
// program runs on its own: nothing waits for it and it never becomes our
// zombie. Returns whether the program was found and a process forked;
// whether it then runs is not known.
bool StartDetached(const std::vector<std::string>& argv);

// The full path under which StartDetached would run `program`, or the empty
// text when PATH holds no executable file of that name.
[[nodiscard]] std::string FindProgram(const std::string& program);

}  // namespace korv::platform
