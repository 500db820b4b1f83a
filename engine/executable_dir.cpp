#include "executable_dir.h"

#include "file_variables.h"
#include "path_syntax.h"

namespace korv {

namespace {

std::string DirectoryOf(std::string_view executable_path) {
    std::string dir = FileDirPart(executable_path);
    return dir.empty() ? std::string(".") : dir;
}

}  // namespace

std::string ExecutableDir() {
    return DirectoryOf(ExecutablePath());
}

std::string BesideExecutable(std::string_view name) {
    return BesideExecutableAt(ExecutablePath(), name);
}

std::string BesideExecutableAt(std::string_view executable_path, std::string_view name) {
    return DirectoryOf(executable_path) + DirSeparator() + std::string(name);
}

}  // namespace korv
