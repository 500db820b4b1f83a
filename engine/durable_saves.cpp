#include "durable_saves.h"

#include <atomic>
#include <mutex>
#include <set>

#include "file_system.h"

namespace korv {

namespace {

std::atomic<bool> syncing{true};

// Noted by the run's threads as their saves rename, synced by the run.
struct ChangedFolders {
    std::mutex mutex;
    std::set<std::string> folders;
};

ChangedFolders& Changed() {
    static ChangedFolders changed;
    return changed;
}

}  // namespace

void SetSyncing(bool on) {
    syncing.store(on, std::memory_order_relaxed);
}

bool Syncing() {
    return syncing.load(std::memory_order_relaxed);
}

void NoteNamesChanged(const std::string& folder) {
    if (!Syncing()) {
        return;
    }
    ChangedFolders& changed = Changed();
    std::lock_guard lock(changed.mutex);
    changed.folders.insert(folder);
}

bool SyncChangedFolders() {
    std::set<std::string> folders;
    {
        ChangedFolders& changed = Changed();
        std::lock_guard lock(changed.mutex);
        folders.swap(changed.folders);
    }
    bool all = true;
    for (const std::string& folder : folders) {
        all = fs::SyncFolder(folder) && all;
    }
    return all;
}

bool SyncFileAt(const std::string& path) {
    if (!Syncing()) {
        return true;
    }
    fs::File file = fs::OpenExisting(path, fs::Access::kAppend);
    return file.Valid() && fs::SyncData(file) && file.Close();
}

}  // namespace korv
