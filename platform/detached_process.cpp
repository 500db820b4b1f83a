#include "detached_process.h"

#ifdef _WIN32
#include <QProcess>
#include <QString>
#include <QStringList>
#else
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

extern char** environ;
#endif

namespace korv::platform {

#ifdef _WIN32

std::string FindProgram(const std::string& program) {
    return program;
}

bool StartDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return false;
    }
    QStringList arguments;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        arguments << QString::fromLocal8Bit(argv[i].data(), static_cast<qsizetype>(argv[i].size()));
    }
    return QProcess::startDetached(QString::fromLocal8Bit(argv[0].c_str()), arguments);
}

#else

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindProgram(const std::string& program) {
    if (program.empty()) {
        return {};
    }
    if (program.find('/') != std::string::npos) {
        return IsExecutableFile(program) ? program : std::string();
    }
    const char* env = std::getenv("PATH");
    const std::string path = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(':', start);
        std::string_view dir =
            std::string_view(path).substr(start, end == std::string::npos ? end : end - start);
        if (dir.empty()) {
            dir = ".";
        }
        std::string candidate;
        candidate.reserve(dir.size() + 1 + program.size());
        candidate.append(dir).append(1, '/').append(program);
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        if (end == std::string::npos) {
            return {};
        }
        start = end + 1;
    }
}

bool StartDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return false;
    }
    const std::string program = FindProgram(argv[0]);
    if (program.empty()) {
        return false;
    }
    // Everything the children need is made before the fork: between fork
    // and exec only async-signal-safe calls are allowed.
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    sigset_t all_unblocked;
    sigemptyset(&all_unblocked);

    const pid_t middle = fork();
    if (middle < 0) {
        return false;
    }
    if (middle == 0) {
        // The middle child starts the program and leaves at once, so the
        // program is adopted by init and we never wait for it.
        setsid();
        const pid_t child = fork();
        if (child == 0) {
            sigprocmask(SIG_SETMASK, &all_unblocked, nullptr);
            execve(program.c_str(), args.data(), environ);
            _exit(127);
        }
        _exit(child < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

#endif

}  // namespace korv::platform
