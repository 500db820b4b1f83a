#include <windows.h>

#include <string>

#include "engine_error.h"
#include "wide_names.h"

namespace korv {

std::string SystemErrorText(int errnum) {
    if (errnum == kNameNotInCodePageError) {
        return kNameNotInCodePage;
    }
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(errnum), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) {
        return "System error " + std::to_string(static_cast<DWORD>(errnum));
    }
    std::string result(text, length);
    LocalFree(text);
    return WithoutTrailingStops(std::move(result));
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()),
                                              buffer.data(), nullptr);
        if (length == 0) {
            return path;
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(length);  // the size it needs, its terminator included
    }
}

}  // namespace korv
