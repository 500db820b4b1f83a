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
    // A folder name the ANSI code page cannot spell is still reached by its
    // short name; failing that, a file beside the executable fails to open.
    return win32::AnsiPath(ModulePath());
}

}  // namespace korv
