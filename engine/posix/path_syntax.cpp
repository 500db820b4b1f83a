#include "path_syntax.h"

namespace korv {

bool IsPathSeparatorAt(std::string_view path, std::size_t pos) {
    return pos < path.size() && path[pos] == '/';
}

std::size_t LastPathSeparator(std::string_view path) {
    return path.rfind('/');
}

char DirSeparator() {
    return '/';
}

}  // namespace korv
