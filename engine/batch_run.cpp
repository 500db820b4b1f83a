#include "batch_run.h"

#include <exception>
#include <string>
#include <vector>

#include "durable_saves.h"
#include "engine_error.h"
#include "pass_planner.h"
#include "pass_steps.h"
#include "undo_journal.h"

namespace korv {

const char* const kConfirmationText =
    "Please click Yes, if you are really sure all files you want to compress are plain text "
    "files (example: *.TXT, *.HTM).\r"
    "A binary file (example: *.DOC, *.EXE, *.JPG) will be damaged.";

namespace {

// Sets the busy cursor for as long as it lives.
class BusyCursor {
public:
    explicit BusyCursor(BatchUi& ui) : ui_(ui) { ui_.SetBusyCursor(true); }
    ~BusyCursor() { ui_.SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    BatchUi& ui_;
};

// The per-file message, then the reason behind it.
void ReportFailure(BatchUi& ui, BatchOutcome& outcome, const std::string& path,
                   const std::string& reason) {
    ++outcome.FilesFailed;
    ui.ShowMessage("Cannot open file " + path + ".");
    ui.ShowFailureReason(reason);
}

// Saves whose last step failed after their pass: each file was counted as
// replaced, and is reported as its pass would have reported it.
void ReportLate(BatchUi& ui, BatchOutcome& outcome,
                const std::vector<SaveCommitter::Failure>& failures) {
    for (const SaveCommitter::Failure& late : failures) {
        --outcome.FilesReplaced;
        ReportFailure(ui, outcome, late.path, late.message);
    }
}

// Puts what the run changed on the disk when it ends, however it ends:
// each file's bytes are synced before its rename; what is left are the
// folders' names and the log's lines.
class SyncAtEnd {
public:
    SyncAtEnd(BatchUi& ui, const ActivityLog& log) : ui_(ui), log_(log) {}
    ~SyncAtEnd() {
        if (!done_ && Syncing()) {
            Sync();
        }
    }
    SyncAtEnd(const SyncAtEnd&) = delete;
    SyncAtEnd& operator=(const SyncAtEnd&) = delete;

    void Now() {
        if (done_ || !Syncing()) {
            return;
        }
        done_ = true;
        // A run over a tree leaves hundreds of folders to sync: a window
        // handles its events meanwhile.
        ui_.RunAside([this] { Sync(); });
    }

private:
    void Sync() {
        SyncChangedFolders();
        log_.Sync();
    }

    BatchUi& ui_;
    const ActivityLog& log_;
    bool done_ = false;
};

// Starts the run's undo journal where the interface keeps it, and drops
// the earlier run's once it is on the disk. Null when the run goes without
// (none is kept, or the user runs on without one); `declined` when the
// run must not go on.
std::unique_ptr<UndoJournal> StartJournal(BatchUi& ui, bool& declined) {
    const std::optional<UndoPlace> place = ui.UndoJournalPlace();
    if (!place) {
        return nullptr;
    }
    if (!place->keep) {
        ForgetRuns(place->folder);
        return nullptr;
    }
    try {
        auto journal = std::make_unique<UndoJournal>(place->folder, place->program);
        journal->DropEarlierRuns();
        return journal;
    } catch (const EngineError& e) {
        declined = !ui.RunWithoutUndo(JournalProblem(place->folder, e.what()));
        if (!declined) {
            ForgetRuns(place->folder);
        }
        return nullptr;
    }
}

}  // namespace

BatchOutcome RunBatch(BatchUi& ui, ActivityLog& log) {
    BatchOutcome outcome;
    if (!ui.AskConfirmation(kConfirmationText, "Confirmation")) {
        outcome.end = BatchEnd::Declined;
        return outcome;
    }
    BusyCursor busy(ui);
    if (ui.EntryCount() <= 0) {
        outcome.end = BatchEnd::NoEntries;
        return outcome;
    }
    {
        const std::string find = ui.FindText();
        if (find.empty()) {
            ui.ReportError("Find text can't be blank!", "Error");
            outcome.end = BatchEnd::TextsRefused;
            return outcome;
        }
        if (find == ui.ReplaceText()) {
            ui.ReportError("Find and replace texts can't be the same!", "Error");
            outcome.end = BatchEnd::TextsRefused;
            return outcome;
        }
    }

    const bool dry_run = ui.DryRun();
    // Before any file is touched; outlives the planner, whose saves use it.
    std::unique_ptr<UndoJournal> journal;
    if (!dry_run) {
        bool declined = false;
        journal = StartJournal(ui, declined);
        if (declined) {
            outcome.end = BatchEnd::NoUndo;
            return outcome;
        }
    }
    ui.SetCurrentEntry(0);
    SyncAtEnd sync_at_end(ui, log);
    PassPlanner planner(ui, log, dry_run, ui.LineBreakMode(), journal.get());
    std::int32_t index = 0;
    do {
        std::string path;
        try {
            ui.SetCurrentEntry(index);
            path = ui.Entry(index);
            PassContext ctx(ui, log, path);
            ctx.ReplacedFlag = false;
            planner.Plan(ctx, index, path);
            ReportLate(ui, outcome, planner.TakeLate());
            const bool changed =
                dry_run ? planner.Preview(path) : planner.Write(ctx, path, ui.BackUp());
            if (changed) {
                ++outcome.FilesReplaced;
            }
        } catch (const NotPlainText& e) {
            ReportLate(ui, outcome, planner.Settle());
            if (ui.SkipsBinary(index)) {
                ++outcome.FilesSkipped;
            } else {
                ReportFailure(ui, outcome, path, e.what());
            }
        } catch (const std::exception& e) {
            ReportLate(ui, outcome, planner.Settle());
            ReportFailure(ui, outcome, path, e.what());
        }
        ++index;
        if (ui.StopRequested()) {
            ReportLate(ui, outcome, planner.Settle());
            sync_at_end.Now();
            outcome.end = BatchEnd::Stopped;
            outcome.FilesSearched = ui.EntryCount();
            return outcome;
        }
    } while (index < ui.EntryCount());

    ReportLate(ui, outcome, planner.Settle());
    sync_at_end.Now();
    outcome.FilesSearched = ui.EntryCount();
    outcome.end = BatchEnd::Finished;
    ui.ShowResults(outcome.FilesSearched, outcome.FilesReplaced);
    ui.SetCurrentEntry(0);
    return outcome;
}

}  // namespace korv
