#pragma once

#include <optional>
#include <string>

#include "environment.h"

namespace korv {

// Where an installed program keeps one user's own files, as this system
// has it (posix/ or win32/user_folders.cpp).

struct UserFolders {
    std::string settings;  // the folder of settings.ini
    std::string log;       // the folder of korv.log
};

// The program's own folders among the user's: on POSIX "korvane" in
// $XDG_CONFIG_HOME and in $XDG_STATE_HOME (~/.config and ~/.local/state when
// a variable is unset, empty or relative, which XDG says to ignore); on
// Windows "Korvane" in %APPDATA% for both. nullopt when the system knows no
// such folder for the user (no home, no application data folder).
[[nodiscard]] std::optional<UserFolders> UserFoldersFrom(const EnvironmentLookup& environment);

// Makes the one folder `path`, whose parent exists: 0 when it is made or
// is a folder already, else the system's error code (errno, GetLastError()).
[[nodiscard]] int MakeOneFolder(const std::string& path);

}  // namespace korv
