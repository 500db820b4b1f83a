#include "wide_names.h"

#include <windows.h>

namespace korv {

const char* const kNameNotInCodePage =
    "Its name holds a character the ANSI code page of this system cannot hold";

std::optional<std::wstring> WideName(const std::string& ansi) {
    if (ansi.find('?') != std::string::npos) {
        return std::nullopt;
    }
    return WideText(ansi);
}

std::optional<std::wstring> WideText(std::string_view ansi) {
    if (ansi.empty()) {
        return std::wstring();
    }
    if (ansi.size() > 0x7FFFFFFF) {
        return std::nullopt;
    }
    const int size = static_cast<int>(ansi.size());
    const int wide_size =
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), size, nullptr, 0);
    if (wide_size <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), size, wide.data(),
                              wide_size) != wide_size) {
        return std::nullopt;
    }
    return wide;
}

}  // namespace korv
