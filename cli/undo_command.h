#pragma once

#include <cstdio>

#include "cli_options.h"

namespace korv::cli {

// korv-cli --undo: puts back the files of the last run journaled in the
// options' undo folder, telling each file left on `err` and the counts on
// `out`. Returns the exit status: 0 all put back, 1 some left or no run to
// undo, 2 the undo's own journal cannot be kept (without --no-undo).
int RunUndo(const CliOptions& options, const std::string& log_path, const std::string& log_folder,
            std::FILE* out, std::FILE* err);

}  // namespace korv::cli
