#include "file_fault.h"

#include <atomic>
#include <mutex>

namespace korv {

namespace {

// One plan for the whole process, so the thread that plans the next file
// of a run meets the same faults as the run's own. The pointer is read
// without the lock while no plan is installed (always, in the programs);
// the lock keeps a plan from being asked by two threads at once, or after
// it was removed.
std::atomic<FileFaultPlan*> fault_plan{nullptr};

std::mutex& PlanMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

void SetFileFaultPlan(FileFaultPlan* plan) {
    std::lock_guard lock(PlanMutex());
    fault_plan.store(plan, std::memory_order_release);
}

std::string_view FileCallName(FileCall call) {
    switch (call) {
        case FileCall::kOpen:
            return "open";
        case FileCall::kCreate:
            return "create";
        case FileCall::kRead:
            return "read";
        case FileCall::kWrite:
            return "write";
        case FileCall::kTruncate:
            return "truncate";
        case FileCall::kStatus:
            return "status";
        case FileCall::kAccess:
            return "access";
        case FileCall::kResolve:
            return "resolve";
        case FileCall::kCarryOver:
            return "carry over";
        case FileCall::kSyncData:
            return "sync data";
        case FileCall::kSyncFolder:
            return "sync folder";
        case FileCall::kReplaceName:
            return "replace name";
        case FileCall::kLink:
            return "link";
        case FileCall::kLock:
            return "lock";
        case FileCall::kRemove:
            return "remove";
        case FileCall::kClose:
            return "close";
        case FileCall::kMap:
            return "map";
        case FileCall::kListFolder:
            return "list folder";
        case FileCall::kReadFolder:
            return "read folder";
    }
    return "?";
}

int InjectedFault(FileCall call, const FileCallDetail& detail) {
    if (fault_plan.load(std::memory_order_acquire) == nullptr) {
        return 0;
    }
    std::lock_guard lock(PlanMutex());
    FileFaultPlan* plan = fault_plan.load(std::memory_order_relaxed);
    return plan != nullptr ? plan->Check(call, detail) : 0;
}

}  // namespace korv
