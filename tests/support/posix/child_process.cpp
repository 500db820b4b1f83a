#include "child_process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace korv::test {

namespace {

int StatusOf(int wstatus) {
    if (WIFEXITED(wstatus)) {
        return WEXITSTATUS(wstatus);
    }
    if (WIFSIGNALED(wstatus)) {
        return 128 + WTERMSIG(wstatus);
    }
    return -1;
}

int WaitFor(pid_t pid) {
    int wstatus = 0;
    while (waitpid(pid, &wstatus, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return StatusOf(wstatus);
}

}  // namespace

int RunInChild(const std::function<int()>& body) {
    pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        int code = 99;
        try {
            code = body();
        } catch (...) {
            code = 98;
        }
        _exit(code);
    }
    return WaitFor(pid);
}

bool DropToUnprivilegedUser() {
    const gid_t nobody_group = 65534;
    const uid_t nobody = 65534;
    if (setgroups(0, nullptr) != 0 && geteuid() == 0) {
        return false;
    }
    return setgid(nobody_group) == 0 && setuid(nobody) == 0 && geteuid() == nobody;
}

bool RunningAsRoot() {
    return geteuid() == 0;
}

void LimitFileSize(long bytes) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    setrlimit(RLIMIT_FSIZE, &limit);
}

CommandResult RunCommand(const std::vector<std::string>& argv, const std::string& input,
                         const std::function<void()>& in_child, const std::string& folder) {
    std::array<int, 2> in_pipe{};
    std::array<int, 2> out_pipe{};
    std::array<int, 2> err_pipe{};
    if (pipe2(in_pipe.data(), O_CLOEXEC) != 0 || pipe2(out_pipe.data(), O_CLOEXEC) != 0 ||
        pipe2(err_pipe.data(), O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        dup2(in_pipe[0], 0);
        dup2(out_pipe[1], 1);
        dup2(err_pipe[1], 2);
        if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
            ::_exit(126);
        }
        if (in_child) {
            in_child();
        }
        std::vector<char*> args;
        for (const auto& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(in_pipe[0]);
    close(out_pipe[1]);
    close(err_pipe[1]);
    signal(SIGPIPE, SIG_IGN);

    CommandResult result;
    std::size_t written = 0;
    int in_fd = in_pipe[1];
    if (input.empty()) {
        close(in_fd);
        in_fd = -1;
    }
    bool out_open = true;
    bool err_open = true;
    while (out_open || err_open) {
        std::array<pollfd, 3> fds{{{out_open ? out_pipe[0] : -1, POLLIN, 0},
                                   {err_open ? err_pipe[0] : -1, POLLIN, 0},
                                   {in_fd, POLLOUT, 0}}};
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        char buffer[65536];
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
                ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n <= 0) {
                    (i == 0 ? out_open : err_open) = false;
                } else {
                    (i == 0 ? result.out : result.err).append(buffer, static_cast<size_t>(n));
                }
            }
        }
        if (in_fd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            ssize_t n = write(in_fd, input.data() + written, input.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            }
            if (n < 0 || written == input.size()) {
                close(in_fd);
                in_fd = -1;
            }
        }
    }
    if (in_fd >= 0) {
        close(in_fd);
    }
    close(out_pipe[0]);
    close(err_pipe[0]);
    result.status = WaitFor(pid);
    return result;
}

}  // namespace korv::test
