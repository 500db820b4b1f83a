#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "engine_error.h"

namespace korv {

std::string SystemErrorText(int errnum) {
    return WithoutTrailingStops(std::strerror(errnum));
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path.front() == '/') {
        return path;
    }
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return path;
        }
        buffer.resize(buffer.size() * 2);
    }
    std::string dir = buffer.data();
    if (dir.empty() || dir.back() != '/') {
        dir += '/';
    }
    return dir + path;
}

}  // namespace korv
