#include "batch_run.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine_error.h"
#include "file_ops.h"
#include "pass_prefetcher.h"
#include "pass_steps.h"
#include "text_document.h"

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

// The files a pass may write in place, as named before it writes: a pass
// planned ahead that read one of them read what may since have changed.
class WrittenFiles {
public:
    void Clear() { files_.clear(); }
    void Note(const std::string& path, bool follow_links) {
        if (const std::optional<FileVersion> version = VersionOf(path, follow_links)) {
            files_.push_back(version->file);
        }
    }
    [[nodiscard]] bool Holds(const FileIdentity& file) const {
        return std::find(files_.begin(), files_.end(), file) != files_.end();
    }

private:
    std::vector<FileIdentity> files_;
};

// Runs a function when it goes, however the scope is left.
template <typename Function>
class ScopeExit {
public:
    explicit ScopeExit(Function& function) : function_(function) {}
    ~ScopeExit() {
        try {
            function_();
        } catch (...) {
            // Nothing may leave a destructor; what was left undone is
            // only a check skipped.
        }
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Function& function_;
};

// The texts as the interface holds them at this moment.
PassTexts TextsOf(BatchUi& ui) {
    return PassTexts{ui.FindText(), ui.ReplaceText(), ui.DynamicVariables()};
}

// Whether planning the pass for `path` ahead pays: handing a small file to
// another thread costs more than it saves.
bool WorthPlanningAhead(const std::string& path) {
    constexpr std::int64_t kFrom = std::int64_t{1} << 20;
    const std::optional<FileVersion> version = VersionOf(path);
    return version && version->regular && version->size >= kFrom;
}

// Whether `next` names a file the pass for `path` may write: its own, its
// backup or the log. Reading it ahead would be wasted, since the pass makes
// what was read stale, and where a file being read shares no writing (on
// Windows) it would keep the pass from writing it.
bool WrittenByThePass(const std::string& next, const std::string& path,
                      const std::string& log_path) {
    const std::optional<FileVersion> next_file = VersionOf(next);
    if (!next_file) {
        return true;  // unknown, so not worth the risk
    }
    const std::pair<std::string, bool> written[] = {
        {path, true}, {path + ".bak", false}, {log_path, true}};
    for (const auto& [name, follow_links] : written) {
        const std::optional<FileVersion> file = VersionOf(name, follow_links);
        if (file && file->file == next_file->file) {
            return true;
        }
    }
    return false;
}

// Whether a pass planned ahead for `path` still stands: planned from the
// file the path names now, which the pass before did not write.
bool StillStands(const PreparedPass& pass, const std::string& path, const WrittenFiles& written) {
    if (!pass.usable || pass.path != path) {
        return false;
    }
    const std::optional<FileVersion> now = VersionOf(path);
    return now && now->file == pass.identity && !written.Holds(pass.identity);
}

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
    TextDocument document;
    // With a list, texts and options that cannot change during the run,
    // the next file is planned while this one is saved.
    std::optional<PassPrefetcher> ahead;
    WrittenFiles written;
    if (ui.FixedDuringRun()) {
        ahead.emplace(TextsOf(ui), ui.CaseSensitive());
        // A dry run has nothing to save, so it plans in turns on both
        // threads: this one the even entries, the other the odd ones.
        if (!dry_run && WorthPlanningAhead(ui.Entry(0))) {
            ahead->Start(ui.Entry(0));
        }
    }
    std::int32_t index = 0;
    do {
        std::string path;
        std::unique_ptr<PreparedPass> prepared = ahead ? ahead->Take() : nullptr;
        try {
            ui.SetCurrentEntry(index);
            path = ui.Entry(index);
            const bool planned = prepared && StillStands(*prepared, path, written);
            bool next_ahead = false;
            if (ahead && index + 1 < ui.EntryCount() && !(dry_run && planned)) {
                const std::string next = ui.Entry(index + 1);
                next_ahead = WorthPlanningAhead(next) && !WrittenByThePass(next, path, log.Path());
                if (next_ahead) {
                    ahead->Start(next);
                }
            }
            PassContext ctx(ui, log, path);
            ctx.ReplacedFlag = false;
            PassPlan plan;
            if (planned) {
                for (int pump = 0; pump < prepared->pumps; ++pump) {
                    ui.PumpEvents();
                }
            } else {
                PlanPass(
                    ctx, path, [&ui] { return TextsOf(ui); }, document, plan);
            }
            TextDocument& text = planned ? prepared->document : document;
            const PassPlan& found = planned ? prepared->plan : plan;
            written.Clear();
            const bool back_up = !dry_run && ui.BackUp();
            // The files this pass may write, named before and after it
            // writes (a file it creates has no name before).
            auto note_written = [&] {
                if (next_ahead && !dry_run && found.substitution.Found()) {
                    written.Note(path, true);
                    if (back_up) {
                        written.Note(path + ".bak", false);
                    }
                    written.Note(log.Path(), true);
                }
            };
            note_written();
            const ScopeExit note_again(note_written);
            if (dry_run ? PreviewPass(ui, path, text, found)
                        : CommitPass(ctx, back_up, path, text, found)) {
                ++outcome.FilesReplaced;
            }
            if (ahead && !planned) {
                // Lets go of a big file now, so that no more than two are
                // held while the next one is read.
                document.AssignText(std::string_view());
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
        if (prepared) {
            ahead->Recycle(std::move(prepared));
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
