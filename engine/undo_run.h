#pragma once

#include <cstdint>
#include <string>

#include "activity_log.h"
#include "undo_journal.h"

namespace korv {

// What an undo tells as it goes, file by file.
class UndoReport {
public:
    virtual ~UndoReport() = default;
    // `path` was put back (or, in a dry run, would be).
    virtual void PutBack(const std::string& path) = 0;
    // `path` was left as it is, for `reason`.
    virtual void Left(const std::string& path, const std::string& reason) = 0;
};

struct UndoCounts {
    std::int64_t restored = 0;
    std::int64_t left = 0;
};

// Puts back the old content of every file of `run` whose bytes are still
// those the run wrote (the same file, size and time of its last write),
// through the safe save, which keeps its attributes; a file changed since,
// or gone, is left alone. The files go back last replaced first, each to
// what it held before the run, however often the run replaced it. With
// `journal`, what the undo replaces is kept there, so it can be undone in
// turn; with `log`, each file put back gets a line. A dry run writes
// nothing and tells the files it would put back.
UndoCounts UndoRun(const RunJournal& run, UndoJournal* journal, ActivityLog* log, bool dry_run,
                   UndoReport& report);

// The log line of a file put back.
[[nodiscard]] std::string PutBackEvent(const std::string& path);

}  // namespace korv
