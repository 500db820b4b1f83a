#pragma once

#include <functional>
#include <string>
#include <vector>

namespace korv::test {

struct CommandResult {
    int status = -1;  // exit status, or on POSIX 128 + signal
    std::string out;
    std::string err;
};

// Runs a program with arguments (no shell), feeding `input` on its standard
// input (closed at its end), and captures both of its outputs. `in_child`
// runs in the child before the program starts (POSIX only). A `folder`
// other than empty is the child's working directory.
CommandResult RunCommand(const std::vector<std::string>& argv, const std::string& input = {},
                         const std::function<void()>& in_child = {},
                         const std::string& folder = {});

}  // namespace korv::test
