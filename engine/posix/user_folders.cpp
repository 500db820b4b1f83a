#include "user_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "folder_listing.h"
#include "path_syntax.h"

namespace korv {

namespace {

constexpr const char* kProgramFolder = "korvane";

// $HOME, or where the user database puts the home of a user without one.
std::optional<std::string> HomeFolder(const EnvironmentLookup& environment) {
    if (std::optional<std::string> home = environment("HOME"); home && !home->empty()) {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] == '\0') {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

// An XDG base folder: the variable's value when it is an absolute path,
// else `fallback` (relative to the home folder).
std::optional<std::string> XdgFolder(const EnvironmentLookup& environment, const char* variable,
                                     const char* fallback) {
    if (std::optional<std::string> value = environment(variable);
        value && !value->empty() && value->front() == '/') {
        return value;
    }
    const std::optional<std::string> home = HomeFolder(environment);
    if (!home) {
        return std::nullopt;
    }
    return JoinPath(*home, fallback);
}

}  // namespace

std::optional<UserFolders> UserFoldersFrom(const EnvironmentLookup& environment) {
    const std::optional<std::string> config = XdgFolder(environment, "XDG_CONFIG_HOME", ".config");
    const std::optional<std::string> state =
        XdgFolder(environment, "XDG_STATE_HOME", ".local/state");
    if (!config || !state) {
        return std::nullopt;
    }
    return UserFolders{JoinPath(*config, kProgramFolder), JoinPath(*state, kProgramFolder)};
}

int MakeOneFolder(const std::string& path) {
    // Private to the user, as XDG asks of the folders it names.
    if (::mkdir(path.c_str(), 0700) == 0) {
        return 0;
    }
    const int error = errno;
    return error == EEXIST && IsFolder(path) ? 0 : error;
}

}  // namespace korv
