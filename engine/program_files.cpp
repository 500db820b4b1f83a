#include "program_files.h"

#include "executable_dir.h"
#include "file_ops.h"
#include "file_variables.h"
#include "folder_listing.h"
#include "path_syntax.h"
#include "user_folders.h"

namespace korv {

namespace {

constexpr const char* kSettingsName = "settings.ini";
constexpr const char* kLogName = "korv.log";
constexpr const char* kUndoName = "undo";

// The document folders of an install whose executables lie in `folder`:
// none unless it is a "bin" with "share/korvane" or "share/doc/korvane" as
// a folder beside it.
std::vector<std::string> InstalledDocumentFolders(const std::string& folder) {
    if (FileNamePart(folder) != "bin") {
        return {};
    }
    const std::string share = JoinPath(FileDirPart(folder), "share");
    std::vector<std::string> folders{JoinPath(share, "korvane"),
                                     JoinPath(JoinPath(share, "doc"), "korvane")};
    if (!IsFolder(folders[0]) && !IsFolder(folders[1])) {
        return {};
    }
    return folders;
}

}  // namespace

std::string ProgramFiles::Document(std::string_view name) const {
    // The separator is put even after a root, as beside the executable.
    const auto in = [name](const std::string& folder) {
        return folder + DirSeparator() + std::string(name);
    };
    for (std::size_t i = 0; i + 1 < document_folders.size(); ++i) {
        std::string path = in(document_folders[i]);
        if (SizeOf(path)) {
            return path;
        }
    }
    return document_folders.empty() ? std::string(name) : in(document_folders.back());
}

ProgramFiles ProgramFilesFor(std::string_view executable_path,
                             const EnvironmentLookup& environment) {
    const std::string folder = ExecutableDirAt(executable_path);
    ProgramFiles files{BesideExecutableAt(executable_path, kSettingsName),
                       BesideExecutableAt(executable_path, kLogName),
                       {},
                       {},
                       BesideExecutableAt(executable_path, kUndoName),
                       {folder}};
    std::vector<std::string> documents = InstalledDocumentFolders(folder);
    if (documents.empty()) {
        return files;
    }
    files.document_folders = std::move(documents);
    // A user the system knows no folder for keeps them beside the executable.
    if (const std::optional<UserFolders> user = UserFoldersFrom(environment)) {
        files.settings_folder = user->settings;
        files.log_folder = user->log;
        files.settings = JoinPath(user->settings, kSettingsName);
        files.log = JoinPath(user->log, kLogName);
        files.undo_folder = JoinPath(user->log, kUndoName);
    }
    return files;
}

ProgramFiles ThisProgramsFiles() {
    return ProgramFilesFor(ExecutablePath(), ProcessEnvironment);
}

}  // namespace korv
