#include "batch_run.h"

#include <exception>
#include <string>

#include "engine_error.h"
#include "pass_planner.h"
#include "pass_steps.h"

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
                   const std::exception& e) {
    ++outcome.FilesFailed;
    ui.ShowMessage("Cannot open file " + path + ".");
    ui.ShowFailureReason(e.what());
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

    ui.SetCurrentEntry(0);
    const bool dry_run = ui.DryRun();
    PassPlanner planner(ui, log, dry_run, ui.LineBreakMode());
    std::int32_t index = 0;
    do {
        std::string path;
        try {
            ui.SetCurrentEntry(index);
            path = ui.Entry(index);
            PassContext ctx(ui, log, path);
            ctx.ReplacedFlag = false;
            planner.Plan(ctx, index, path);
            const bool changed =
                dry_run ? planner.Preview(path) : planner.Write(ctx, path, ui.BackUp());
            if (changed) {
                ++outcome.FilesReplaced;
            }
        } catch (const NotPlainText& e) {
            if (ui.SkipsBinary(index)) {
                ++outcome.FilesSkipped;
            } else {
                ReportFailure(ui, outcome, path, e);
            }
        } catch (const std::exception& e) {
            ReportFailure(ui, outcome, path, e);
        }
        ++index;
        if (ui.StopRequested()) {
            outcome.end = BatchEnd::Stopped;
            outcome.FilesSearched = ui.EntryCount();
            return outcome;
        }
    } while (index < ui.EntryCount());

    outcome.FilesSearched = ui.EntryCount();
    outcome.end = BatchEnd::Finished;
    ui.ShowResults(outcome.FilesSearched, outcome.FilesReplaced);
    ui.SetCurrentEntry(0);
    return outcome;
}

}  // namespace korv
