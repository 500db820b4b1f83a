#pragma once

// Helpers of the file-layer tests that only POSIX has: a forked child that
// reports a text back, inodes, sparse files and the umask.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "child_process.h"
#include "engine_error.h"

namespace korv::test {

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

}  // namespace korv::test
