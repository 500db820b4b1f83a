#pragma once

#include <string>

namespace korv {

// The order that keeps every file whole across a power cut, for the saves
// of file_ops.h: a new file's bytes are synced before its name replaces
// the old file's, a backup before the file it backs up is replaced, and
// the folders whose names changed before a run ends.

// Whether saves wait for their bytes to reach the disk: on unless a user
// gives it up for a tree that can be made again (korv-cli --no-sync).
void SetSyncing(bool on);
[[nodiscard]] bool Syncing();

// Notes that names in `folder` changed; the next SyncChangedFolders syncs it.
void NoteNamesChanged(const std::string& folder);
// Syncs each folder noted since the last call, once. Returns false when
// one could not be synced (its names are then as safe as the system
// keeps them on its own).
bool SyncChangedFolders();

// Syncs the data of the file at `path`, written before by whatever means;
// false when it cannot be opened or synced. True when not syncing.
bool SyncFileAt(const std::string& path);

}  // namespace korv
