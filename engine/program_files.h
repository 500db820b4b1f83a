#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "environment.h"

namespace korv {

// Where the programs keep their files: the settings, the activity log, the
// undo journal and the documents (versions.txt, dv.html, license.txt).
//
// A portable program, in a folder of its own with its documents, keeps them
// all beside the executable. An installed one is known by its layout, not by
// whether its folder may be written (root writes anywhere): the executable
// lies in a folder named "bin" beside which "../share/korvane" or
// "../share/doc/korvane" is a folder. It takes its documents from there and
// keeps the settings, the log and the journal in the user's own folders
// (user_folders.h).
struct ProgramFiles {
    std::string settings;  // settings.ini
    std::string log;       // korv.log
    // The user's folders of an installed program, made with their parents
    // before the settings or the log are written; empty beside the
    // executable, whose folder is there already.
    std::string settings_folder;
    std::string log_folder;
    // The undo journal's folder, made when a run first keeps one.
    std::string undo_folder;
    // Where a document is looked for, in this order.
    std::vector<std::string> document_folders;

    // The document `name` in the first folder that holds it; in the last
    // folder when none does.
    [[nodiscard]] std::string Document(std::string_view name) const;
};

// The files of the program whose executable is at `executable_path`, with
// the user's folders taken from `environment`.
[[nodiscard]] ProgramFiles ProgramFilesFor(std::string_view executable_path,
                                           const EnvironmentLookup& environment);
// The files of this running program.
[[nodiscard]] ProgramFiles ThisProgramsFiles();

}  // namespace korv
