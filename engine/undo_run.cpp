#include "undo_run.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "durable_saves.h"
#include "engine_error.h"
#include "file_ops.h"
#include "file_system.h"

namespace korv {

namespace {

// A file of the run: what it held before its first replace, and what its
// last replace left.
struct RunFile {
    std::string path;
    std::string kept;
    std::optional<FileVersion> replaced_by;
};

// The run's files, each once, last replaced first.
std::vector<RunFile> FilesOf(const RunJournal& run) {
    std::map<std::string, std::string> first_kept;
    for (const JournalEntry& entry : run.entries) {
        first_kept.emplace(entry.path, entry.kept);
    }
    std::set<std::string> taken;
    std::vector<RunFile> files;
    for (auto entry = run.entries.rbegin(); entry != run.entries.rend(); ++entry) {
        if (taken.insert(entry->path).second) {
            files.push_back(RunFile{entry->path, first_kept[entry->path], entry->replaced_by});
        }
    }
    return files;
}

// Why `file` cannot be put back as it stands now, if it cannot.
std::optional<std::string> ReasonToLeave(const RunFile& file, std::optional<FileVersion>& now) {
    if (!file.replaced_by) {
        return "The run ended while it wrote this file; its old content is in " + file.kept + ".";
    }
    now = VersionOf(file.path);
    if (!now) {
        return SystemErrorText(fs::LastError()) + ".";
    }
    if (!(*now == *file.replaced_by)) {
        return std::string("It changed since the run.");
    }
    return std::nullopt;
}

}  // namespace

std::string PutBackEvent(const std::string& path) {
    return path + " put back as it was before the last run";
}

UndoCounts UndoRun(const RunJournal& run, UndoJournal* journal, ActivityLog* log, bool dry_run,
                   UndoReport& report) {
    UndoCounts counts;
    for (const RunFile& file : FilesOf(run)) {
        std::optional<FileVersion> now;
        if (const std::optional<std::string> reason = ReasonToLeave(file, now)) {
            ++counts.left;
            report.Left(file.path, *reason);
            continue;
        }
        if (!dry_run) {
            try {
                ReplaceWholeFile(file.path, ReadWholeFile(file.kept), &*now, journal);
            } catch (const EngineError& e) {
                ++counts.left;
                report.Left(file.path, e.what());
                continue;
            }
            if (log != nullptr) {
                try {
                    log->AddEvent(PutBackEvent(file.path));
                } catch (const EngineError&) {
                    // The line stays in the log's memory for its next write;
                    // the file is back all the same.
                }
            }
        }
        ++counts.restored;
        report.PutBack(file.path);
    }
    if (!dry_run) {
        // The files put back are back for good before they are counted so.
        SyncChangedFolders();
    }
    return counts;
}

}  // namespace korv
