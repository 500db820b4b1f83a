#pragma once

#include <string>
#include <vector>

namespace korv::cli {

// The program's arguments, without its name, as bytes of the text's code
// page. Throws UsageError for one that the code page cannot hold.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace korv::cli
