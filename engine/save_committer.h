#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "file_ops.h"

namespace korv {

// Finishes the run's saves on a thread of its own, in batches, so the wait
// for new bytes to reach the disk overlaps the reading and searching of
// the next files, and one wait of the disk covers many files: a batch's
// files are all synced before the first of them is renamed, then renamed
// in the order they were handed over. The run settles (waits for every
// save handed over) before it shows a message, before it reads or writes
// a file a save may change, and every kMostPending saves, so log lines,
// backups, renames and messages keep their list order.
class SaveCommitter {
public:
    // Each save waiting holds its temporary file open, and as big as its
    // file. A batch starts at half of that: the wait for the disk, and the
    // undo journal's syncs, once per batch, cost less per file the bigger
    // the batch (10,000 small files changed: 14% faster at 64 than at 16;
    // 1 in 10 changed, a run with its journal took 1.03 to 1.04 times one
    // without at 64, 1.01 at 128).
    static constexpr std::size_t kMostPending = 256;
    static constexpr std::uint64_t kMostPendingBytes = std::uint64_t{64} << 20;
    static constexpr std::size_t kLeastBatch = 128;
    static constexpr std::uint64_t kLeastBatchBytes = std::uint64_t{1} << 20;

    // A batch waits for kLeastBatch saves (or as many bytes) unless the
    // run settles: each batch costs waits of the disk of its own besides
    // its files' (the undo journal's sync), so fewer, bigger batches cost
    // less; where few files change, batches of one or two took 1.7 times
    // as long. Each save is kept in the journal, where the run has one, as
    // it is handed over, on the run's thread.
    SaveCommitter();
    // Finishes the saves still pending; their failures are lost, so a run
    // settles first.
    ~SaveCommitter();
    SaveCommitter(const SaveCommitter&) = delete;
    SaveCommitter& operator=(const SaveCommitter&) = delete;

    // Hands over the save of `path`, begun from the file as `loaded`;
    // throws as PendingSave::Keep does, the save not taken.
    void Hand(std::string path, const FileVersion& loaded, std::unique_ptr<PendingSave> save);

    // A save that failed once handed over: its path and its message.
    struct Failure {
        std::string path;
        std::string message;
    };
    // Waits until no save is pending; the failures of those that were, in
    // the order they were handed over, each once.
    [[nodiscard]] std::vector<Failure> Settle();

    // Whether a save is pending.
    [[nodiscard]] bool Busy();
    // Whether the run must settle before it hands over another save.
    [[nodiscard]] bool Full() const;
    // Whether a save was handed over since the last Settle.
    [[nodiscard]] bool AnyUnsettled() const { return !unsettled_.empty(); }
    // Whether a save handed over since the last Settle may change what
    // `path` names: the same name, or the same file (`file`, which the
    // path named when it was asked; nullopt when it could not be asked).
    [[nodiscard]] bool MayChange(const std::string& path,
                                 const std::optional<FileIdentity>& file) const;

private:
    struct Handed {
        std::string path;
        std::unique_ptr<PendingSave> save;
        std::uint64_t bytes = 0;
    };
    void Work();
    // Whether the saves waiting make a batch now; the mutex held.
    [[nodiscard]] bool BatchReady() const;
    // Finishes `batch`; the failures, in its order.
    static std::vector<Failure> FinishBatch(std::vector<Handed>& batch);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Handed> queue_;  // handed over, not yet taken into a batch
    std::uint64_t queue_bytes_ = 0;
    bool working_ = false;   // a batch is being finished
    bool settling_ = false;  // the run waits for every save
    bool quitting_ = false;
    std::vector<Failure> failures_;

    // The run's thread only. Asked whether or not the saves are done by
    // now, so a run makes the same calls of the file layer however fast the
    // other thread is.
    struct Unsettled {
        std::string path;
        FileIdentity file;
    };
    std::vector<Unsettled> unsettled_;
    std::uint64_t unsettled_bytes_ = 0;

    std::thread thread_;  // last: it starts once the rest is made
};

}  // namespace korv
