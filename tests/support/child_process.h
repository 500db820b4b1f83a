#pragma once

#include <functional>
#include <string>
#include <vector>

namespace korv::test {

// Runs `body` in a forked child and returns its exit status (or 128 + the
// signal that ended it). Lets a test change what only a process may:
// its user, its resource limits, its signal dispositions.
int RunInChild(const std::function<int()>& body);

// In a child: drops root to the user "nobody" (uid and gid 65534).
// Returns false when that is not possible.
bool DropToUnprivilegedUser();
// Whether the tests run as root, so read-only cases need a child that
// drops to another user to mean anything.
bool RunningAsRoot();

// In a child: limits the size of files it may write to `bytes`, with
// SIGXFSZ ignored so writes past it fail with EFBIG.
void LimitFileSize(long bytes);

struct CommandResult {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs a program with arguments (no shell), feeding `input` on its standard
// input (closed at its end), and captures both of its outputs.
CommandResult RunCommand(const std::vector<std::string>& argv, const std::string& input = {},
                         const std::function<void()>& in_child = {});

}  // namespace korv::test
