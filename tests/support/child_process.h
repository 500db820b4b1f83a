#pragma once

#include <functional>

#include "run_command.h"

namespace korv::test {

// POSIX only: what a test may change in a forked child.

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

}  // namespace korv::test
