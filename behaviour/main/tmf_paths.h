#pragma once

#include <string>

#include "executable_dir.h"

namespace korv::behaviour {

// The files the main window keeps: beside the executable in the program,
// anywhere in tests.
struct TmfPaths {
    std::string Log;
    std::string Settings;
    std::string Versions;

    [[nodiscard]] static TmfPaths BesideExecutable() {
        return {korv::BesideExecutable("korv.log"), korv::BesideExecutable("settings.ini"),
                korv::BesideExecutable("versions.txt")};
    }
};

}  // namespace korv::behaviour
