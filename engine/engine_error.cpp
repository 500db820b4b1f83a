#include "engine_error.h"

namespace korv {

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

EngineError CannotCreateFolder(const std::string& path, int errnum) {
    return EngineError("Cannot create folder \"" + AbsolutePath(path) + "\". " +
                       SystemErrorText(errnum));
}

NotPlainText HoldsNulByte(const std::string& path) {
    return NoPlainText(path, "It holds a NUL byte, so it is no plain text file");
}

NotPlainText NoPlainText(const std::string& path, const std::string& reason) {
    return NotPlainText(CannotOpenFile(path, reason).what());
}

EngineError StreamWriteError() {
    return EngineError("Stream write error");
}

std::string WithoutTrailingStops(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' ||
                             text.back() == '.')) {
        text.pop_back();
    }
    return text;
}

}  // namespace korv
