#include "undo_command.h"

#include <memory>
#include <string>

#include "activity_log.h"
#include "engine_error.h"
#include "time_stamp.h"
#include "undo_journal.h"
#include "undo_run.h"

namespace korv::cli {

namespace {

class ConsoleUndoReport final : public UndoReport {
public:
    ConsoleUndoReport(bool dry_run, std::FILE* out, std::FILE* err)
        : dry_run_(dry_run), out_(out), err_(err) {}

    void PutBack(const std::string& path) override {
        if (dry_run_) {
            std::fprintf(out_, "%s\n", path.c_str());
        }
    }

    void Left(const std::string& path, const std::string& reason) override {
        std::fprintf(err_, "Cannot undo %s.\n%s\n", path.c_str(), reason.c_str());
    }

private:
    bool dry_run_;
    std::FILE* out_;
    std::FILE* err_;
};

}  // namespace

int RunUndo(const CliOptions& options, const std::string& log_path, const std::string& log_folder,
            std::FILE* out, std::FILE* err) {
    const std::string& folder = options.undo_folder.value_or(std::string());
    const std::optional<RunJournal> run = ReadLastRun(folder);
    if (!run) {
        std::fprintf(err, "korv-cli: there is no run to undo in %s\n", folder.c_str());
        return 1;
    }
    const bool dry_run = options.dry_run;
    // The undo keeps what it replaces, so a second undo redoes the run.
    std::unique_ptr<UndoJournal> journal;
    if (!dry_run && !options.no_undo) {
        try {
            journal = std::make_unique<UndoJournal>(folder, "korv-cli");
        } catch (const EngineError& e) {
            std::fprintf(err,
                         "korv-cli: %s\nNo file was put back. Give --no-undo to undo without "
                         "the journal.\n",
                         JournalProblem(folder, e.what()).c_str());
            return 2;
        }
    }
    std::optional<ActivityLog> log;
    if (!dry_run) {
        log.emplace(log_path, TimeFormat::FromLocale(), log_folder);
        try {
            log->Open();
        } catch (const EngineError& e) {
            std::fprintf(err, "%s\n", e.what());
        }
    }
    ConsoleUndoReport report(dry_run, out, err);
    const UndoCounts counts = UndoRun(*run, journal.get(), log ? &*log : nullptr, dry_run, report);
    if (journal) {
        // The undone run's journal goes only once this one holds its files.
        journal->DropEarlierRuns();
        journal.reset();
    }
    if (log) {
        try {
            log->Close();
        } catch (const EngineError& e) {
            std::fprintf(err, "%s\n", e.what());
        }
    }
    std::fprintf(out, "%s: %lld\nFiles left: %lld\n",
                 dry_run ? "Files to restore" : "Files restored",
                 static_cast<long long>(counts.restored), static_cast<long long>(counts.left));
    return counts.left == 0 ? 0 : 1;
}

}  // namespace korv::cli
