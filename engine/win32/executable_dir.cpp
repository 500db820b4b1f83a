#include <windows.h>

#include <string>

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

// `wide` in the ANSI code page; false when some character has no form there.
bool ToAnsi(const std::wstring& wide, std::string& ansi) {
    if (wide.empty()) {
        ansi.clear();
        return true;
    }
    const int length = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    // The flags and the loss flag are refused for UTF-8, which loses nothing.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* lost = utf8 ? nullptr : &lossy;
    const int size =
        WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, nullptr, lost);
    if (size <= 0) {
        return false;
    }
    ansi.assign(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), length, ansi.data(), size, nullptr, lost);
    return lossy == FALSE;
}

}  // namespace

std::string ExecutablePath() {
    const std::wstring wide = ModulePath();
    std::string ansi;
    if (ToAnsi(wide, ansi)) {
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
        if (ToAnsi(short_path, short_ansi)) {
            return short_ansi;
        }
    }
    // Unspellable characters stand as "?", which no file name may hold, so
    // a file beside the executable then fails to open rather than another
    // file opening in its place.
    return ansi;
}

}  // namespace korv
