#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
    // When the file was read: a pass that found nothing and is taken soon
    // after stands as read.
    std::chrono::steady_clock::time_point read_at;
    // The new text written ahead beside the file, when it changes; null
    // when the save is left whole to the pass.
    std::unique_ptr<StagedReplacement> staged;
};

// Plans the next passes of a run on threads of its own while the run
// saves, each with the texts and the case option as they stood when it was
// started. Nothing the user sees happens here: the new text may be written
// ahead into a temporary file beside its file, which only the pass itself
// puts in place; whatever a plan found is checked by the run before it is
// used, and a failure is left for the run to meet again in its own time.
// Passes are planned in the order they were started, and taken in it.
class PassPrefetcher {
public:
    // Passes waiting to be taken, beyond one per thread, while they hold
    // less than kMostBytes: enough to keep the threads busy on small
    // files, while big ones are held no more than one per thread.
    static constexpr std::size_t kMostWaiting = 64;
    static constexpr std::uint64_t kMostBytes = std::uint64_t{16} << 20;

    // With `stage_saves`, a pass that changes its file also writes the new
    // text ahead. Files are loaded with their line breaks kept or not as
    // `breaks` says. `threads` plan at a time.
    PassPrefetcher(bool stage_saves, LineBreaks breaks, unsigned threads);
    ~PassPrefetcher();
    PassPrefetcher(const PassPrefetcher&) = delete;
    PassPrefetcher& operator=(const PassPrefetcher&) = delete;

    // The threads that suit this machine: one per processor.
    [[nodiscard]] static unsigned ThreadsHere();

    // A pass to start: the entry at `index`, named `path`.
    struct Entry {
        std::int32_t index = 0;
        std::string path;
    };
    // How many more passes may be started now: none until the passes in
    // hand run low, so they are started in bursts, and the threads seldom
    // wait for work nor are woken for each pass.
    [[nodiscard]] std::size_t Room();
    // Starts planning the passes of `entries`, in list order after those
    // started before, under the texts and the case option given.
    void Start(const std::vector<Entry>& entries, const PassTexts& texts, bool case_sensitive);
    // Whether the pass of entry `index` is still being planned.
    [[nodiscard]] bool Busy(std::int32_t index);
    // Waits for the pass of entry `index` and hands it over; null when
    // none was started for it. Passes of earlier entries not taken are
    // dropped.
    std::unique_ptr<PreparedPass> Take(std::int32_t index);

private:
    struct Job {
        std::int32_t index = 0;
        std::unique_ptr<PreparedPass> pass;
        bool done = false;
    };
    void Work();
    // Whether a thread may take up the next pass not yet taken up; the
    // mutex held.
    [[nodiscard]] bool MayStartNext() const;
    // Takes up the next pass not yet taken up and plans it on this thread;
    // `lock` is held before and after, not while it plans.
    void PlanNext(std::unique_lock<std::mutex>& lock);
    void Prepare(PreparedPass& pass) const;
    static void Stage(PreparedPass& pass);

    const bool stage_saves_;
    const LineBreaks breaks_;
    const std::size_t threads_count_;
    std::mutex mutex_;
    std::condition_variable work_;  // a pass to plan, or quitting
    std::condition_variable done_;  // the pass the run waits for is planned
    std::deque<Job> jobs_;          // started, in entry order, until taken
    std::size_t unstarted_ = 0;     // the first job no thread took up
    std::uint64_t bytes_held_ = 0;  // by the passes planned, not yet taken
    std::size_t idle_ = 0;          // threads waiting for work
    std::int32_t awaited_ = -1;     // the entry whose pass the run waits for
    bool quitting_ = false;
    std::vector<std::thread> threads_;  // last: they start once the rest is made
};

}  // namespace korv
