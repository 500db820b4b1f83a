#include "executable_dir.h"

#include <unistd.h>

#include <vector>

namespace korv {

namespace {

std::string ExecutablePath() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) {
            return {};
        }
        if (static_cast<std::size_t>(n) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::string ExecutableDir() {
    std::string path = ExecutablePath();
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string BesideExecutable(std::string_view name) {
    // The root keeps its separator and gains another, as the system accepts.
    return ExecutableDir() + "/" + std::string(name);
}

}  // namespace korv
