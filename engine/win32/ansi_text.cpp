#include "ansi_text.h"

#include <windows.h>

namespace korv::win32 {

bool ToCodePage(std::wstring_view wide, unsigned code_page, std::string& bytes) {
    bytes.clear();
    if (wide.empty()) {
        return true;
    }
    const int length = static_cast<int>(wide.size());
    // UTF-8 holds every character, and takes neither flags nor a loss flag.
    const bool utf8 = code_page == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* lost = utf8 ? nullptr : &lossy;
    const int size =
        WideCharToMultiByte(code_page, flags, wide.data(), length, nullptr, 0, nullptr, lost);
    if (size <= 0) {
        return false;  // a lone surrogate in UTF-8, or no such code page
    }
    bytes.assign(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(code_page, flags, wide.data(), length, bytes.data(), size, nullptr, lost);
    return lossy == FALSE;
}

bool ToAnsi(std::wstring_view wide, std::string& bytes) {
    return ToCodePage(wide, GetACP(), bytes);
}

std::string AnsiPath(const std::wstring& wide) {
    std::string ansi;
    if (ToAnsi(wide, ansi)) {
        return ansi;
    }
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
    return ansi;
}

}  // namespace korv::win32
