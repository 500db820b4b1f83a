#pragma once

#include <string>

#include "program_files.h"

namespace korv::behaviour {

// The files the main window keeps: where the program keeps them
// (program_files.h), anywhere in tests.
struct TmfPaths {
    std::string Log;
    std::string Settings;
    std::string Versions;
    // The user's folders of an installed program, made before the log or
    // the settings are written; empty where nothing is to be made.
    std::string LogFolder = {};
    std::string SettingsFolder = {};
    // Where a run keeps its undo journal; empty, a run keeps none.
    std::string UndoFolder = {};

    [[nodiscard]] static TmfPaths OfThisProgram() {
        const korv::ProgramFiles files = korv::ThisProgramsFiles();
        return {files.log,        files.settings,        files.Document("versions.txt"),
                files.log_folder, files.settings_folder, files.undo_folder};
    }
};

}  // namespace korv::behaviour
