#pragma once

#include <cstdint>

namespace korv {

// A test seam: every system call the file layer and the run make first asks
// the installed plan whether it should fail, and with which error number.
// No plan is installed in the programs themselves.
class FileFaultPlan {
public:
    virtual ~FileFaultPlan() = default;
    // Returns 0 to let the call go ahead, or the errno it should fail with.
    // Calls from the run's threads come one at a time, never together.
    virtual int Check(const char* operation) = 0;
};

// Installs `plan` (nullptr removes it) for every thread of the process.
// Once it returns, no thread is still asking the plan it replaced.
void SetFileFaultPlan(FileFaultPlan* plan);

// For the system layer: 0 when the call named `operation` may go ahead,
// else the errno it is to fail with (a layer that speaks other error codes
// translates it).
[[nodiscard]] int InjectedFault(const char* operation);

}  // namespace korv
