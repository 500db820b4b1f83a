#include "executable_dir.h"

#include "file_variables.h"
#include "path_syntax.h"

namespace korv {

std::string ExecutableDirAt(std::string_view executable_path) {
    std::string dir = FileDirPart(executable_path);
    return dir.empty() ? std::string(".") : dir;
}

std::string ExecutableDir() {
    return ExecutableDirAt(ExecutablePath());
}

std::string BesideExecutable(std::string_view name) {
    return BesideExecutableAt(ExecutablePath(), name);
}

std::string BesideExecutableAt(std::string_view executable_path, std::string_view name) {
    return ExecutableDirAt(executable_path) + DirSeparator() + std::string(name);
}

}  // namespace korv
