#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli_options.h"

namespace korv::cli {

// The run's list: the lists' entries, then the FILE arguments, each folder
// among them walked with --recursive.
struct FileEntries {
    std::vector<std::string> paths;
    std::vector<bool> walked;           // found by a walk, not named by the user
    std::vector<std::string> problems;  // folders a walk could not read
};

// Reads the lists (`read_input` gives standard input for "-") and walks
// the folders. Throws korv::EngineError for a list it cannot read.
[[nodiscard]] FileEntries GatherEntries(const CliOptions& options,
                                        const std::function<std::string()>& read_input);

// The paths of a list whose entries each end with a NUL byte (the last
// one may lack it).
[[nodiscard]] std::vector<std::string> NullSeparatedEntries(const std::string& bytes);

}  // namespace korv::cli
