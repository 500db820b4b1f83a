#include "engine_error.h"

#include <unistd.h>

#include <cstring>
#include <vector>

namespace korv {

std::string SystemErrorText(int errnum) {
    std::string text = std::strerror(errnum);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' ||
                             text.back() == '.')) {
        text.pop_back();
    }
    return text;
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

EngineError CannotOpenFile(const std::string& path, const std::string& reason) {
    return EngineError("Cannot open file \"" + AbsolutePath(path) + "\". " + reason);
}

EngineError CannotCreateFile(const std::string& path, const std::string& reason) {
    return EngineError("Cannot create file \"" + AbsolutePath(path) + "\". " + reason);
}

EngineError CannotOpenFile(const std::string& path, int errnum) {
    return CannotOpenFile(path, SystemErrorText(errnum));
}

EngineError CannotCreateFile(const std::string& path, int errnum) {
    return CannotCreateFile(path, SystemErrorText(errnum));
}

NotPlainText HoldsNulByte(const std::string& path) {
    return NotPlainText(
        CannotOpenFile(path, "It holds a NUL byte, so it is no plain text file").what());
}

EngineError StreamWriteError() {
    return EngineError("Stream write error");
}

}  // namespace korv
