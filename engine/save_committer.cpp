#include "save_committer.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>

namespace korv {

SaveCommitter::SaveCommitter() : thread_([this] { Work(); }) {}

SaveCommitter::~SaveCommitter() {
    {
        std::lock_guard lock(mutex_);
        quitting_ = true;  // once the saves still waiting are finished
    }
    changed_.notify_all();
    thread_.join();
}

void SaveCommitter::Hand(std::string path, const FileVersion& loaded,
                         std::unique_ptr<PendingSave> save) {
    // Kept in the journal here, while the other thread syncs and renames
    // the saves before: its failure is the pass's own.
    save->Keep();
    const auto bytes = static_cast<std::uint64_t>(std::max<std::int64_t>(loaded.size, 0));
    unsettled_.push_back(Unsettled{path, loaded.file});
    unsettled_bytes_ += bytes;
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(Handed{std::move(path), std::move(save), bytes});
        queue_bytes_ += bytes;
    }
    changed_.notify_all();
}

std::vector<SaveCommitter::Failure> SaveCommitter::Settle() {
    std::unique_lock lock(mutex_);
    settling_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return queue_.empty() && !working_; });
    settling_ = false;
    unsettled_.clear();
    unsettled_bytes_ = 0;
    return std::exchange(failures_, {});
}

bool SaveCommitter::Busy() {
    std::lock_guard lock(mutex_);
    return !queue_.empty() || working_;
}

bool SaveCommitter::Full() const {
    return unsettled_.size() >= kMostPending || unsettled_bytes_ >= kMostPendingBytes;
}

bool SaveCommitter::MayChange(const std::string& path,
                              const std::optional<FileIdentity>& file) const {
    return std::any_of(unsettled_.begin(), unsettled_.end(), [&](const Unsettled& save) {
        return save.path == path || (file && save.file == *file);
    });
}

bool SaveCommitter::BatchReady() const {
    if (settling_ || quitting_) {
        return !queue_.empty();
    }
    return queue_.size() >= kLeastBatch || queue_bytes_ >= kLeastBatchBytes;
}

void SaveCommitter::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quitting_ || BatchReady(); });
        if (queue_.empty()) {
            return;  // quitting, with nothing left
        }
        std::vector<Handed> batch = std::exchange(queue_, {});
        queue_bytes_ = 0;
        working_ = true;
        lock.unlock();
        std::vector<Failure> failed = FinishBatch(batch);
        lock.lock();
        std::move(failed.begin(), failed.end(), std::back_inserter(failures_));
        working_ = false;
        changed_.notify_all();
    }
}

std::vector<SaveCommitter::Failure> SaveCommitter::FinishBatch(std::vector<Handed>& batch) {
    // A file's sync makes the file system write out what it holds for the
    // others too: every file's entry in the undo journal goes first, so its
    // further names ride on the files' syncs, then every file's data, then
    // the journal's one sync, and the renames after: a rename before the
    // next sync would give it more to write.
    std::vector<std::optional<std::string>> failed(batch.size());
    const auto attempt = [&](std::size_t i, void (PendingSave::*step)()) {
        if (batch[i].save == nullptr) {
            return;
        }
        try {
            ((*batch[i].save).*step)();
        } catch (const std::exception& e) {
            failed[i] = e.what();
            batch[i].save.reset();  // its temporary file goes now
        }
    };
    for (std::size_t i = 0; i < batch.size(); ++i) {
        attempt(i, &PendingSave::Keep);
    }
    for (std::size_t i = 0; i < batch.size(); ++i) {
        attempt(i, &PendingSave::Sync);
    }
    for (std::size_t i = 0; i < batch.size(); ++i) {
        attempt(i, &PendingSave::Finish);
        batch[i].save.reset();
    }
    std::vector<Failure> failures;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        if (failed[i]) {
            failures.push_back(Failure{std::move(batch[i].path), std::move(*failed[i])});
        }
    }
    return failures;
}

}  // namespace korv
