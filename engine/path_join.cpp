#include "path_syntax.h"

namespace korv {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && !IsPathSeparatorAt(path, path.size() - 1)) {
        path += DirSeparator();
    }
    path += name;
    return path;
}

}  // namespace korv
