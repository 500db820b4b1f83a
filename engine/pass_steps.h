#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "activity_log.h"
#include "batch_ui.h"
#include "file_ops.h"
#include "kept_breaks.h"
#include "replace_context.h"
#include "save_committer.h"
#include "substitution.h"
#include "text_document.h"

namespace korv {

// The two texts of one pass, as the run hands them to the substitution.
struct PassTexts {
    std::string find;
    std::string replacement;
    bool dynamic_variables = false;
};

// What a pass finds before it changes anything: the file's text and where
// the find text occurs in it. It points into the document it was made
// from and into its own texts, so it is never copied or moved.
struct PassPlan {
    PassPlan() = default;
    PassPlan(const PassPlan&) = delete;
    PassPlan& operator=(const PassPlan&) = delete;

    // The texts as the pass took them, variables expanded: named in the log.
    std::string find;
    std::string replacement;
    // The same as unit text, for a UTF-16 file.
    std::string unit_find;
    std::string unit_replacement;
    // The same as searched and written where the file keeps its breaks.
    KeptTexts kept;
    Substitution substitution;
};

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
    void RunAside(const std::function<void()>& work) override { ui_.RunAside(work); }
    bool WorksAside() override { return ui_.WorksAside(); }
    std::string CurrentFileName() override { return path_; }
    void LogEvent(std::string_view event) override { log_.AddEvent(event); }

private:
    BatchUi& ui_;
    ActivityLog& log_;
    const std::string& path_;
};

// The first half of a pass, which only reads: loads `path` into
// `document`, takes the texts (asked for once the file has loaded),
// expands the file-name variables and finds the occurrences. Throws on any
// failure, a file holding a NUL byte included.
void PlanPass(ReplaceContext& ctx, const std::string& path, LineBreaks breaks,
              const std::function<PassTexts()>& texts, TextDocument& document, PassPlan& plan);

// PlanPass's load: `path` into `document` as a file a run edits, its line
// breaks kept or not as `breaks` says; refused when it holds a NUL.
// `size_seen`, the file's size as seen a moment ago, spares asking it
// again (whether the load is long work for a window to have done aside).
void LoadForPass(ReplaceContext& ctx, const std::string& path, LineBreaks breaks,
                 TextDocument& document, std::optional<std::uint64_t> size_seen = std::nullopt);

// The rest of PlanPass, over a `document` loaded already: a UTF-16 file
// is searched for the texts turned into its encoding, and where the file
// keeps its line breaks, the find text's breaks match any of its own.
// Searches that `known` occurrences of the find text in its text answer
// are not made again.
void PlanLoaded(ReplaceContext& ctx, const std::string& path,
                const std::function<PassTexts()>& texts, const TextDocument& document,
                PassPlan& plan, KnownOccurrences* known = nullptr);

// Writes the result of `substitution`, planned on `document`'s text, as
// it is saved when it is written as it is (in the document's encoding);
// fails when the document's file was cut short since it was loaded. Both
// must outlive the writer.
[[nodiscard]] ContentWriter ResultWriter(const Substitution& substitution,
                                         const TextDocument& document);

// The second half of a dry run, in place of CommitPass: when the plan
// changes the text, shows the interface what a save would write, and
// writes nothing (no file, backup or log line). Returns whether the file
// would change.
bool PreviewPass(BatchUi& ui, const std::string& path, const TextDocument& document,
                 const PassPlan& plan);

// The second half: when the plan changes the text, logs it, backs the file
// up if asked and saves the new text (through `document`, which may be
// given the new text, or by committing `staged`, the new text written
// ahead, when given and still good). Returns whether the file was changed
// and written. Throws on any failure, another program having cut the file
// short since it was loaded included. With `committer`, a save made
// through a temporary file is handed to it for its last step (the wait
// for the disk and the rename), and its failure shows when it is settled.
// With `journal`, the file's old content is kept there before it is
// replaced.
bool CommitPass(ReplaceContext& ctx, bool back_up, const std::string& path, TextDocument& document,
                const PassPlan& plan, StagedReplacement* staged = nullptr,
                SaveCommitter* committer = nullptr, UndoJournal* journal = nullptr);

}  // namespace korv
