#include "save_committer.h"

#include <exception>
#include <utility>

namespace korv {

SaveCommitter::SaveCommitter() : thread_([this] { Work(); }) {}

SaveCommitter::~SaveCommitter() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        quitting_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void SaveCommitter::Hand(std::string path, const FileIdentity& loaded,
                         std::unique_ptr<PendingSave> save) {
    {
        std::lock_guard lock(mutex_);
        path_ = std::move(path);
        loaded_ = loaded;
        save_ = std::move(save);
        busy_ = true;
        unsettled_ = true;
    }
    changed_.notify_all();
}

std::optional<SaveCommitter::Failure> SaveCommitter::Settle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    unsettled_ = false;
    return std::exchange(failure_, std::nullopt);
}

bool SaveCommitter::Busy() {
    std::lock_guard lock(mutex_);
    return busy_;
}

bool SaveCommitter::MayChange(const std::string& path) {
    // Asked whether or not the save is done by now, so a run makes the same
    // calls of the file layer however fast the other thread is.
    if (!unsettled_) {
        return false;
    }
    if (path == path_) {
        return true;
    }
    const std::optional<FileVersion> version = VersionOf(path);
    return version && version->file == loaded_;
}

void SaveCommitter::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quitting_ || save_ != nullptr; });
        if (quitting_) {
            return;
        }
        std::unique_ptr<PendingSave> save = std::move(save_);
        lock.unlock();
        std::optional<std::string> failed;
        try {
            save->Finish();
        } catch (const std::exception& e) {
            failed = e.what();
        }
        save.reset();  // a temporary file left goes before the run goes on
        lock.lock();
        if (failed) {
            failure_ = Failure{path_, std::move(*failed)};
        }
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace korv
