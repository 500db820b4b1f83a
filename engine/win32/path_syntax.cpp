#include "path_syntax.h"

#include <windows.h>

#include "code_page_paths.h"

namespace korv {

bool IsPathSeparatorAt(std::string_view path, std::size_t pos) {
    return win32::IsSeparatorIn(path, pos, GetACP());
}

std::size_t LastPathSeparator(std::string_view path) {
    return win32::LastSeparatorIn(path, GetACP());
}

char DirSeparator() {
    return '\\';
}

}  // namespace korv
