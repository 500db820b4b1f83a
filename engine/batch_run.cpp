#include "batch_run.h"

#include <cerrno>
#include <exception>
#include <string>

#include "engine_error.h"
#include "file_ops.h"
#include "file_variables.h"
#include "replace_context.h"
#include "substitution.h"
#include "text_document.h"

namespace korv {

const char* const kConfirmationText =
    "Please click Yes, if you are really sure all files you want to compress are plain text "
    "files (example: *.TXT, *.HTM).\r"
    "A binary file (example: *.DOC, *.EXE, *.JPG) will be damaged.";

namespace {

// The substitution's view of one pass: the options and the pump come from
// the user interface at the moment they are asked for; the file is the
// path the pass read at its start, so a list changed during the pass can
// never make it name, back up or write another file.
class PassContext final : public ReplaceContext {
public:
    PassContext(BatchUi& ui, ActivityLog& log, const std::string& path)
        : ui_(ui), log_(log), path_(path) {}

    bool CaseSensitive() override { return ui_.CaseSensitive(); }
    void PumpEvents() override { ui_.PumpEvents(); }
    std::string CurrentFileName() override { return path_; }
    void LogEvent(std::string_view event) override { log_.AddEvent(event); }

private:
    BatchUi& ui_;
    ActivityLog& log_;
    const std::string& path_;
};

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

// One entry: load, expand, substitute, back up, save. Returns whether the
// file was changed and written. Throws on any failure.
bool ProcessEntry(BatchUi& ui, ActivityLog& log, TextDocument& document, const std::string& path) {
    document.LoadFile(path);
    if (document.HeldNul()) {
        // The line model would drop everything from the NUL on.
        throw CannotOpenFile(path, "It holds a NUL byte, so it is no plain text file");
    }
    PassContext ctx(ui, log, path);
    ctx.ReplacedFlag = false;
    std::string find = ui.FindText();
    std::string replacement = ui.ReplaceText();
    if (ui.DynamicVariables()) {
        find = ExpandFileVariables(ctx, find, path);
        replacement = ExpandFileVariables(ctx, replacement, path);
    }
    // The substitution of the whole text, logged when it changed it.
    const Substitution substitution =
        Substitution::Plan(ctx, document.JoinedText(), find, replacement);
    const bool changed = substitution.Changed();
    // A big file is searched where it lies; if another program cut it
    // short meanwhile, what was found cannot be trusted.
    auto check_intact = [&document, &path]() {
        if (!document.TextIntact()) {
            throw CannotOpenFile(path, "The file changed while it was read");
        }
    };
    check_intact();
    if (!changed) {
        return false;
    }
    LogReplacement(ctx, find, replacement);
    if (ui.BackUp()) {
        TextDocument::MakeBackup(path);
    }
    if (substitution.KeepsLineBreaks()) {
        // The result is already in the saved form: write it straight from
        // the pieces, without building it.
        ReplaceWholeFile(path, [&](int fd) {
            if (!substitution.WriteResult(fd)) {
                return false;
            }
            // Checked again before the new text replaces the file; a
            // failed write puts the old bytes back.
            if (!document.TextIntact()) {
                errno = EIO;
                return false;
            }
            return true;
        });
    } else {
        std::string result = substitution.Result();
        check_intact();
        document.AssignText(result);
        document.SaveFile(path);
    }
    return true;
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
    TextDocument document;
    std::int32_t index = 0;
    do {
        std::string path;
        try {
            ui.SetCurrentEntry(index);
            path = ui.Entry(index);
            if (ProcessEntry(ui, log, document, path)) {
                ++outcome.FilesReplaced;
            }
        } catch (const std::exception&) {
            ++outcome.FilesFailed;
            ui.ShowMessage("Cannot open file " + path + ".");
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
