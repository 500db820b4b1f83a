#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "activity_log.h"
#include "batch_ui.h"
#include "pass_prefetcher.h"
#include "pass_steps.h"
#include "replace_context.h"
#include "save_committer.h"
#include "text_document.h"
#include "written_files.h"

namespace korv {

// Plans each pass of a run and finishes it: now, on this thread, or ahead
// on other threads while the passes before save. It owns everything that
// planning ahead needs: the checks that a plan made ahead still stands,
// the files the passes write and the buffers handed back and forth. A plan
// made ahead only spares work: the pass still takes the texts and walks
// the text on this thread, reading the case option and handling events at
// every step as it would without it, and takes only the searches the plan
// made the same way. The run sees one pass at a time.
class PassPlanner {
public:
    // Files are loaded with their line breaks kept or not as `breaks` says;
    // with `journal`, each file's old content is kept there before it is
    // replaced.
    PassPlanner(BatchUi& ui, const ActivityLog& log, bool dry_run, LineBreaks breaks,
                UndoJournal* journal = nullptr);
    ~PassPlanner();
    PassPlanner(const PassPlanner&) = delete;
    PassPlanner& operator=(const PassPlanner&) = delete;

    // Loads the entry at `index`, named `path`, takes the texts, expands
    // the file-name variables and finds the occurrences (or takes the plan
    // made ahead for the same, unchanged file). Throws as PlanPass does.
    void Plan(ReplaceContext& ctx, std::int32_t index, const std::string& path);
    // Logs, backs up and saves the planned pass; whether the file changed.
    bool Write(ReplaceContext& ctx, const std::string& path, bool back_up);
    // Shows what the planned pass would write, writing nothing.
    bool Preview(const std::string& path);
    // The failures of saves finished on another thread, met when Plan or
    // Write had to wait for them; each is told once.
    [[nodiscard]] std::vector<SaveCommitter::Failure> TakeLate();
    // The same once every save Write left to another thread is finished:
    // the run reports them before it shows anything else, and at its end.
    [[nodiscard]] std::vector<SaveCommitter::Failure> Settle();

private:
    // Hands back what the pass before used, so that no more than two files
    // are held while the next one is read.
    void LetGoOfLastPass(ReplaceContext& ctx);
    // The pass planned ahead, once done; a window handles its events while
    // it waits.
    std::unique_ptr<PreparedPass> TakeAhead(ReplaceContext& ctx, std::int32_t index);
    // Starts planning the entries after `index` ahead, as far as the
    // planner reaches.
    void HandAhead(std::int32_t index, const std::string& path);
    // What was seen of the file at `path` when it was weighed, if it was.
    struct SeenFile;
    std::optional<SeenFile> TakeSeen(const std::string& path);
    void StartAhead(std::int32_t index, const std::string& path);
    void NoteWritten(const std::string& path, bool back_up);
    // The same once the pass has written, which never fails the pass.
    void NoteWrittenAfter(bool noting, const std::string& path, bool back_up);
    // Waits for the saves left to the committer, keeping their failures.
    void SettleNow();
    // Whether the pass for `path` writes under a name a save left to the
    // committer may change, or must keep its rename in turn behind theirs.
    [[nodiscard]] bool MustSettleToWrite(const std::string& path, bool back_up) const;
    [[nodiscard]] TextDocument& Document();
    // The new text written ahead, when it is the text this pass makes.
    [[nodiscard]] StagedReplacement* Staged() const;

    BatchUi& ui_;
    const ActivityLog& log_;
    const bool dry_run_;
    const LineBreaks breaks_;
    UndoJournal* const journal_;
    // Whether entries are planned ahead beyond the next, files of any size.
    const bool far_ahead_;
    std::int32_t next_to_hand_ = 0;  // the first entry not yet planned ahead
    std::optional<PassPrefetcher> ahead_;
    // Finishes saves while the next files are read, where saves wait for
    // the disk.
    std::optional<SaveCommitter> committer_;
    // Failures met when a pass had to wait for the saves before.
    std::vector<SaveCommitter::Failure> late_;
    TextDocument document_;
    PassPlan plan_;
    std::unique_ptr<PreparedPass> prepared_;  // taken from the other thread
    bool planned_ahead_ = false;              // this pass uses `prepared_`
    bool next_ahead_ = false;                 // the next pass is being planned
    WrittenFiles written_;
    // The size of the next entry's file, seen when it was weighed for
    // planning ahead, while no pass has written under its name since; and
    // which file it was, where saves wait on the committer.
    struct SeenFile {
        std::string path;
        std::uint64_t size;
        std::optional<FileIdentity> file;
    };
    std::optional<SeenFile> seen_;
};

}  // namespace korv
