#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "line_breaks.h"

namespace korv {

// A file a dry run would change. Valid only while it is shown.
struct PassPreview {
    const std::string& path;
    std::size_t occurrences;  // after the file-name variables are expanded
    // The bytes a save would write over the file, built when asked for.
    const std::function<std::string()>& saved_bytes;
};

// Where a run keeps the journal that lets it be undone.
struct UndoPlace {
    std::string folder;   // the journals' folder, made when missing
    std::string program;  // the program making the run, as the journal names it
    // False when the user asked for a run without one: the journals there
    // are then forgotten, so that no earlier run is undone in its place.
    bool keep = true;
};

// Everything the batch run needs of the user interface. Each value is read
// at the moment of use, so a change the user makes during a run counts from
// its next use on.
class BatchUi {
public:
    virtual ~BatchUi() = default;

    // A modal question with Yes and No; true only for Yes.
    virtual bool AskConfirmation(const std::string& text, const std::string& caption) = 0;
    // A modal error box with an OK button.
    virtual void ReportError(const std::string& text, const std::string& caption) = 0;
    // A plain modal message with one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // The hourglass over every window of the program, or the default cursor.
    virtual void SetBusyCursor(bool busy) = 0;

    // The file list: its entries' exact bytes, addressed from 0.
    virtual std::int32_t EntryCount() = 0;
    virtual std::string Entry(std::int32_t index) = 0;
    // The current entry (-1 when there is none), independent of the
    // selection; setting it scrolls it into view and selects nothing.
    virtual std::int32_t CurrentEntry() = 0;
    virtual void SetCurrentEntry(std::int32_t index) = 0;

    // The two texts as their edits hold them, lines separated by CR LF.
    virtual std::string FindText() = 0;
    virtual std::string ReplaceText() = 0;
    // The options.
    virtual bool CaseSensitive() = 0;
    virtual bool DynamicVariables() = 0;
    virtual bool BackUp() = 0;
    // How a changed file is written; asked once, when the run starts. The
    // line model's own rewrite unless the program says otherwise.
    virtual LineBreaks LineBreakMode() { return LineBreaks::CrLf; }

    // Lets the interface handle its waiting events during a substitution.
    virtual void PumpEvents() = 0;
    // Does a long piece of file work that reads nothing of the interface and
    // returns once it is done, throwing what it threw. A window has it done
    // on another thread and handles its events meanwhile; a command line
    // does it on the spot.
    virtual void RunAside(const std::function<void()>& work) { work(); }
    // Whether RunAside hands its work to another thread; when it does not,
    // nothing need be weighed before calling it.
    virtual bool WorksAside() { return false; }
    // Asked after each entry: true ends the run there (the program is
    // closing), without the results.
    virtual bool StopRequested() { return false; }
    // Whether the run may read and search the next big file on another
    // thread while it saves this one. What it found there is used only
    // where the file, the texts and the options are still what they were.
    virtual bool ReadsAhead() { return true; }

    // Where the run keeps its undo journal; none, the default, runs without.
    virtual std::optional<UndoPlace> UndoJournalPlace() { return std::nullopt; }
    // Asked, before any file is touched, when that journal cannot be kept
    // (`problem` names the folder and the reason): true runs without it,
    // false ends the run there.
    virtual bool RunWithoutUndo(const std::string& /*problem*/) { return false; }

    // True for a run that only looks: it writes no file, backup or log
    // line, and shows each file that would change with ShowPreview.
    virtual bool DryRun() { return false; }
    virtual void ShowPreview(const PassPreview& /*preview*/) {}
    // Told after the per-file message what the engine met (its own text,
    // such as "Cannot create file ..."); the window shows the message alone.
    virtual void ShowFailureReason(const std::string& /*reason*/) {}
    // Asked when entry `index` is refused for holding a NUL byte: true
    // passes over it without a message or a failure (a file a folder walk
    // came across, not one the user named).
    virtual bool SkipsBinary(std::int32_t /*index*/) { return false; }

    // Shows the results modally and returns when they are closed.
    virtual void ShowResults(std::int32_t files_searched, std::int64_t files_replaced) = 0;
};

}  // namespace korv
