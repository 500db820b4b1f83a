#include "code_page_paths.h"

#include <windows.h>

namespace korv::win32 {

namespace {

bool IsSeparatorByte(char c) {
    return c == '\\' || c == ':';
}

}  // namespace

std::size_t LastSeparatorIn(std::string_view path, unsigned code_page, std::size_t end) {
    end = end < path.size() ? end : path.size();
    std::size_t last = std::string_view::npos;
    // Walked from the start: only there is it known which bytes lead.
    for (std::size_t i = 0; i < end; ++i) {
        if (IsDBCSLeadByteEx(code_page, static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            ++i;  // its trail byte is part of the character
        } else if (IsSeparatorByte(path[i])) {
            last = i;
        }
    }
    return last;
}

bool IsSeparatorIn(std::string_view path, std::size_t pos, unsigned code_page) {
    return pos < path.size() && LastSeparatorIn(path, code_page, pos + 1) == pos;
}

}  // namespace korv::win32
