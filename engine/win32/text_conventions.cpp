#include <windows.h>

#include "line_breaks.h"
#include "utf16_text.h"

namespace korv {

LineBreaks DefaultLineBreaks() {
    return LineBreaks::CrLf;
}

std::string_view NativeLineBreak() {
    return "\r\n";
}

std::optional<std::u16string> Utf16OfProgramText(std::string_view text) {
    // The program's text is in the active code page: the ANSI one, or
    // UTF-8 where a program declares it and the system honours that.
    if (text.empty()) {
        return std::u16string();
    }
    const int size = static_cast<int>(text.size());
    const int wide_size =
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wide_size <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(),
                              wide_size) != wide_size) {
        return std::nullopt;
    }
    return std::u16string(wide.begin(), wide.end());
}

}  // namespace korv
