#pragma once

#include <cstdint>
#include <string_view>

namespace korv {

// The calls of the system layer a test can make fail, one per primitive,
// named alike on every system.
enum class FileCall {
    kOpen,    // open an existing file
    kCreate,  // create a new file, or open one emptied
    kRead,
    kWrite,
    kTruncate,
    kStatus,     // what a name or an open file is
    kAccess,     // whether this user may write a file
    kResolve,    // where a link points
    kCarryOver,  // owner, permissions, attributes and security of a file
    kSyncData,
    kSyncFolder,
    kReplaceName,  // rename: a file put in the place of another
    kLink,         // a further name given to a file
    kLock,         // a file's lock taken
    kRemove,       // reported, never made to fail
    kClose,
    kMap,
    kListFolder,  // open a folder's listing
    kReadFolder,  // the listing's next entries
};

// The name of a call, for a test's messages.
[[nodiscard]] std::string_view FileCallName(FileCall call);

// What a call is about: enough for a test to follow every change a run
// makes to the files (see the power-loss test).
struct FileCallDetail {
    std::string_view path{};   // the file, or the one moved
    std::string_view to{};     // where a file is moved
    std::int64_t offset = 0;   // where bytes are written, or a length cut to
    std::string_view bytes{};  // the bytes written
    bool at_end = false;       // written at the end of the file
};

// A test seam: every primitive of the system layer first asks the
// installed plan whether it should fail, and with which error number.
// No plan is installed in the programs themselves.
class FileFaultPlan {
public:
    virtual ~FileFaultPlan() = default;
    // Returns 0 to let the call go ahead, or the errno it should fail with.
    // Calls from the run's threads come one at a time, never together.
    virtual int Check(FileCall call, const FileCallDetail& detail) = 0;
};

// Installs `plan` (nullptr removes it) for every thread of the process.
// Once it returns, no thread is still asking the plan it replaced.
void SetFileFaultPlan(FileFaultPlan* plan);

// For the system layer: 0 when the call may go ahead, else the errno it is
// to fail with (a layer that speaks other error codes translates it).
[[nodiscard]] int InjectedFault(FileCall call, const FileCallDetail& detail = {});

}  // namespace korv
