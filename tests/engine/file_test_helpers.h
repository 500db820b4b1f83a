#pragma once

// Helpers shared by the tests of the file layer, the text model and the log,
// on every system: a fault plan that fails one chosen call, and looks at
// folders. The POSIX ones are in posix/posix_file_helpers.h.

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "counting_fault_plan.h"
#include "engine_error.h"
#include "file_fault.h"
#include "file_ops.h"

namespace korv::test {

// Records every call the file layer makes and fails the `nth` (from 1)
// call of `operation` with `error`; with no operation it only records.
class FailNthCall final : public FileFaultPlan {
public:
    FailNthCall() = default;
    FailNthCall(FileCall operation, int nth, int error = EIO)
        : operation_(operation), nth_(nth), error_(error) {}

    int Check(FileCall operation, const FileCallDetail&) override {
        calls_.push_back(operation);
        if (operation_ != operation || ++seen_ != nth_) {
            return 0;
        }
        fired_ = true;
        return error_;
    }

    [[nodiscard]] const std::vector<FileCall>& Calls() const { return calls_; }
    [[nodiscard]] bool Fired() const { return fired_; }
    // How often each operation was called.
    [[nodiscard]] std::map<FileCall, int> Counts() const {
        std::map<FileCall, int> counts;
        for (const auto& call : calls_) {
            ++counts[call];
        }
        return counts;
    }

private:
    std::optional<FileCall> operation_;
    int nth_ = 0;
    int error_ = EIO;
    int seen_ = 0;
    bool fired_ = false;
    std::vector<FileCall> calls_;
};

// Every (operation, nth call) that `action` makes through the file layer.
inline std::vector<std::pair<FileCall, int>> EveryCallOf(const std::function<void()>& action) {
    FailNthCall recorder;
    {
        FaultPlanScope scope(recorder);
        action();
    }
    std::vector<std::pair<FileCall, int>> calls;
    for (const auto& [operation, count] : recorder.Counts()) {
        for (int nth = 1; nth <= count; ++nth) {
            calls.emplace_back(operation, nth);
        }
    }
    return calls;
}

// The names under `dir`, at any depth, of temporary files the file layer made.
inline std::vector<std::string> TempLeftovers(const std::string& dir) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.find(kTempMarker) != std::string::npos) {
            found.push_back(entry.path().string());
        }
    }
    return found;
}

// Installs a fault plan (nullptr for none) for one scope.
class FaultPlanGuard {
public:
    explicit FaultPlanGuard(FileFaultPlan* plan) { SetFileFaultPlan(plan); }
    ~FaultPlanGuard() { SetFileFaultPlan(nullptr); }
    FaultPlanGuard(const FaultPlanGuard&) = delete;
    FaultPlanGuard& operator=(const FaultPlanGuard&) = delete;
};

// The message of the EngineError that `action` throws, or "no error".
template <typename Action>
std::string ErrorOf(Action&& action) {
    try {
        action();
    } catch (const EngineError& error) {
        return error.what();
    }
    return "no error";
}

// A path as messages quote it, with the full stop that follows.
inline std::string Quoted(const std::string& path) {
    return "\"" + path + "\". ";
}

// `text` with every CR taken out, so CR LF breaks become LF ones.
inline std::string WithoutCr(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

}  // namespace korv::test
