#pragma once

#include <optional>
#include <string>
#include <vector>

#include "line_breaks.h"

namespace korv::cli {

// What the command line asks for.
struct CliOptions {
    std::optional<std::string> find;
    std::optional<std::string> replacement;
    std::vector<std::string> lists;     // filename lists, in order; "-" standard input
    std::vector<std::string> operands;  // the FILE arguments, after the lists' entries
    bool null_separated = false;        // the lists are paths each ended by a NUL byte
    bool recursive = false;
    bool hidden = false;
    std::vector<std::string> includes;
    std::vector<std::string> excludes;
    bool dry_run = false;
    bool diff = false;  // a dry run that shows each change as a unified diff
    bool no_progress = false;
    bool no_sync = false;  // saves do not wait for the disk
    LineBreaks line_breaks = DefaultLineBreaks();
    bool case_sensitive = false;
    bool backup = false;
    bool dynamic_variables = false;
    bool yes = false;
    std::optional<std::string> log_path;
    bool undo = false;     // put back the files of the last run
    bool no_undo = false;  // keep no undo journal
    std::optional<std::string> undo_folder;
    bool help = false;
    bool version = false;
};

// Thrown for a command line we cannot use; the text says why.
struct UsageError {
    std::string message;
};

// Parses the arguments (without the program name). Reads --find-file and
// --replace-file as it meets them. Throws UsageError, and korv::EngineError
// for a file it cannot read.
CliOptions ParseArguments(const std::vector<std::string>& args);

// Takes CR LF, a lone CR and a lone LF all as CR LF, as the window's edit
// fields hold a multi-line text.
std::string NormalizeLineBreaks(const std::string& text);

extern const char* const kUsage;

}  // namespace korv::cli
