#include <windows.h>

#include <string>

#include "ansi_text.h"
#include "executable_dir.h"

namespace korv {

namespace {

std::wstring ModulePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);  // cut short: try a larger buffer
    }
}

}  // namespace

std::string ExecutablePath() {
    const std::wstring wide = ModulePath();
    std::string ansi;
    if (win32::ToAnsi(wide, ansi)) {
        return ansi;
    }
    // A folder name the ANSI code page cannot spell is still reached by its
    // short name, where the volume keeps short names.
    std::wstring short_path(wide.size() + 1, L'\0');
    const DWORD length =
        GetShortPathNameW(wide.c_str(), short_path.data(), static_cast<DWORD>(short_path.size()));
    if (length > 0 && length < short_path.size()) {
        short_path.resize(length);
        std::string short_ansi;
        if (win32::ToAnsi(short_path, short_ansi)) {
            return short_ansi;
        }
    }
    // Unspellable characters stand as "?", which no file name may hold, so
    // a file beside the executable then fails to open rather than another
    // file opening in its place.
    return ansi;
}

}  // namespace korv
