#pragma once

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "file_ops.h"
#include "pass_steps.h"
#include "text_document.h"

namespace korv {

// The first half of a pass done ahead of time, on another thread.
struct PreparedPass {
    std::string path;
    PassTexts texts;  // as the interface held them when the pass started
    bool case_sensitive = false;
    TextDocument document;
    PassPlan plan;
    FileIdentity identity;  // the file the document was loaded from
    bool usable = false;    // planned without failure from one steady file
    // The new text written ahead beside the file, when it changes; null
    // when the save is left whole to the pass.
    std::unique_ptr<StagedReplacement> staged;
};

// Plans the next pass of a run on a thread of its own while the current
// pass saves, with the texts and the case option as they stood when it
// started. Nothing the user sees happens here: the new text may be written
// ahead into a temporary file beside its file, which only the pass itself
// puts in place; whatever the plan found is checked by the run before it
// is used, and a failure is left for the run to meet again in its own time.
class PassPrefetcher {
public:
    // With `stage_saves`, a pass that changes its file also writes the new
    // text ahead. Files are loaded with their line breaks kept or not as
    // `breaks` says.
    PassPrefetcher(bool stage_saves, LineBreaks breaks);
    ~PassPrefetcher();
    PassPrefetcher(const PassPrefetcher&) = delete;
    PassPrefetcher& operator=(const PassPrefetcher&) = delete;

    // Starts planning the pass for `path`; the last pass taken back is
    // reused for its buffers. One pass at a time.
    void Start(const std::string& path, PassTexts texts, bool case_sensitive);
    // Whether the pass started last is still being planned.
    [[nodiscard]] bool Busy();
    // Waits for the pass started last and hands it over; null if none was.
    std::unique_ptr<PreparedPass> Take();
    // Gives a finished pass back, so its buffers serve the next one.
    void Recycle(std::unique_ptr<PreparedPass> pass);

private:
    void Work();
    void Prepare(PreparedPass& pass) const;
    static void Stage(PreparedPass& pass);

    const bool stage_saves_;
    const LineBreaks breaks_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<PreparedPass> job_;    // started, not yet done
    std::unique_ptr<PreparedPass> done_;   // done, not yet taken
    std::unique_ptr<PreparedPass> spare_;  // given back, to be reused
    bool quitting_ = false;
    std::thread thread_;
};

}  // namespace korv
