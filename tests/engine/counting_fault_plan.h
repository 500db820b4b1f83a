#pragma once

#include <cerrno>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "file_fault.h"

namespace korv::test {

// Counts the file layer's system calls and fails the Nth (or, when
// persistent, every call from the Nth on) with one error number, the way a
// failing disk or a full one would. Calls of every thread count, in the
// order the file layer hands them over.
class CountingFaultPlan final : public FileFaultPlan {
public:
    CountingFaultPlan(long fail_at, int error, bool persistent)
        : fail_at_(fail_at), error_(error), persistent_(persistent) {}

    int Check(FileCall operation, const FileCallDetail& detail) override {
        ++calls_;
        if (std::this_thread::get_id() != creator_) {
            ++calls_elsewhere_;
        }
        const bool fail =
            fail_at_ > 0 && (calls_ == fail_at_ || (persistent_ && calls_ > fail_at_));
        if (!fail) {
            return 0;
        }
        failed_.emplace_back(FileCallName(operation));
        failing_path_ = detail.path;
        if (on_fail) {
            on_fail();
        }
        return error_;
    }

    [[nodiscard]] long Calls() const { return calls_; }
    // The calls made by threads other than the one that made the plan.
    [[nodiscard]] long CallsElsewhere() const { return calls_elsewhere_; }
    // Whether the call being checked comes from the thread that made the plan.
    [[nodiscard]] bool OnCreatorThread() const { return std::this_thread::get_id() == creator_; }
    // The path of the call being made to fail, for on_fail.
    [[nodiscard]] const std::string& FailingPath() const { return failing_path_; }
    // The operations made to fail, in order.
    [[nodiscard]] const std::vector<std::string>& Failed() const { return failed_; }

    // Runs at every failure made, e.g. to note what the program was doing.
    std::function<void()> on_fail;

private:
    long fail_at_;
    int error_;
    bool persistent_;
    const std::thread::id creator_ = std::this_thread::get_id();
    long calls_ = 0;
    long calls_elsewhere_ = 0;
    std::vector<std::string> failed_;
    std::string failing_path_;
};

// Installs a plan for as long as it lives.
class FaultPlanScope {
public:
    explicit FaultPlanScope(FileFaultPlan& plan) { SetFileFaultPlan(&plan); }
    ~FaultPlanScope() { SetFileFaultPlan(nullptr); }
    FaultPlanScope(const FaultPlanScope&) = delete;
    FaultPlanScope& operator=(const FaultPlanScope&) = delete;
};

// The kinds of failure each walk goes through.
struct FaultKind {
    int error;
    bool persistent;
};
inline const std::vector<FaultKind>& FaultKinds() {
    static const std::vector<FaultKind> kinds{
        {EIO, false}, {ENOSPC, false}, {EEXIST, false}, {EINTR, false}, {ENOSPC, true},
    };
    return kinds;
}

}  // namespace korv::test
