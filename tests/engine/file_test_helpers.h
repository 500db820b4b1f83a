#pragma once

// Helpers shared by the tests of the file layer, the text model and the log:
// a fault plan that fails one chosen call, a child process that reports a
// text back, and looks at folders and inodes.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "child_process.h"
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
    FailNthCall(std::string operation, int nth, int error = EIO)
        : operation_(std::move(operation)), nth_(nth), error_(error) {}

    int Check(const char* operation) override {
        calls_.emplace_back(operation);
        if (operation_ != operation || ++seen_ != nth_) {
            return 0;
        }
        fired_ = true;
        return error_;
    }

    [[nodiscard]] const std::vector<std::string>& Calls() const { return calls_; }
    [[nodiscard]] bool Fired() const { return fired_; }
    // How often each operation was called.
    [[nodiscard]] std::map<std::string, int> Counts() const {
        std::map<std::string, int> counts;
        for (const auto& call : calls_) {
            ++counts[call];
        }
        return counts;
    }

private:
    std::string operation_;
    int nth_ = 0;
    int error_ = EIO;
    int seen_ = 0;
    bool fired_ = false;
    std::vector<std::string> calls_;
};

// Every (operation, nth call) that `action` makes through the file layer.
inline std::vector<std::pair<std::string, int>> EveryCallOf(const std::function<void()>& action) {
    FailNthCall recorder;
    {
        FaultPlanScope scope(recorder);
        action();
    }
    std::vector<std::pair<std::string, int>> calls;
    for (const auto& [operation, count] : recorder.Counts()) {
        for (int nth = 1; nth <= count; ++nth) {
            calls.emplace_back(operation, nth);
        }
    }
    return calls;
}

// What a body run in a child process reported back.
struct ChildReport {
    int status = -1;   // 0 when the body ran to its end
    std::string text;  // what the body returned, or "EngineError: <message>"
};

enum class ChildUser { kSame, kUnprivileged };

// The exit status of a child that could not give up root.
inline constexpr int kCannotDropRoot = 97;

// Runs `body` in a forked child, as "nobody" when asked and the tests run
// as root (another user is unprivileged already), and returns the text it
// returned. An EngineError thrown by the body becomes its report.
inline ChildReport RunReporting(const std::function<std::string()>& body,
                                ChildUser user = ChildUser::kSame) {
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) {
        return {};
    }
    ChildReport report;
    report.status = RunInChild([&] {
        ::close(pipe_ends[0]);
        if (user == ChildUser::kUnprivileged && RunningAsRoot() && !DropToUnprivilegedUser()) {
            return kCannotDropRoot;
        }
        std::string text;
        try {
            text = body();
        } catch (const EngineError& error) {
            text = std::string("EngineError: ") + error.what();
        }
        // Reports are short, so the pipe takes them whole before the parent reads.
        std::string_view rest = text;
        while (!rest.empty()) {
            ssize_t n = ::write(pipe_ends[1], rest.data(), rest.size());
            if (n <= 0) {
                return 96;
            }
            rest.remove_prefix(static_cast<std::size_t>(n));
        }
        return 0;
    });
    ::close(pipe_ends[1]);
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0) {
        report.text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipe_ends[0]);
    return report;
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

// lstat of `path`; st_ino is 0 when it does not exist.
inline struct stat StatOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        st = {};
    }
    return st;
}

// Creates (or extends) `path` as a sparse file of `size` bytes whose first
// bytes are `head`: no disk space is used for the rest.
inline bool MakeSparseFile(const std::string& path, std::string_view head, off_t size) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    bool ok = ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
              ::ftruncate(fd, size) == 0;
    return ::close(fd) == 0 && ok;
}

// `size` bytes of `path` from `offset`.
inline std::string ReadAt(const std::string& path, off_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    ssize_t n = ::pread(fd, bytes.data(), size, offset);
    ::close(fd);
    bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return bytes;
}

// Sets the process's umask for one scope.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : saved_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(saved_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t saved_;
};

// Installs a fault plan (nullptr for none) for one scope.
class FaultPlanGuard {
public:
    explicit FaultPlanGuard(FileFaultPlan* plan) { SetFileFaultPlan(plan); }
    ~FaultPlanGuard() { SetFileFaultPlan(nullptr); }
    FaultPlanGuard(const FaultPlanGuard&) = delete;
    FaultPlanGuard& operator=(const FaultPlanGuard&) = delete;
};

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
