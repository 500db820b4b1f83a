#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "file_ops.h"
#include "file_system.h"

namespace korv {

// The journal of a run's replaced files, which lets the run be undone. For
// each file it holds the file's path, its old content (a further name of
// the old file in the journal's folder where the file system allows, else
// a copy) and the version of the new file put in its place. Each run keeps
// its journal in a folder of its own, "run-N" in the journal folder, and
// drops the earlier runs' once its own is on the disk: only the last run
// can be undone. An entry is on the disk before its file is replaced.
// Safe to use from the run's thread and the thread finishing its saves.
class UndoJournal {
public:
    // Starts the journal of a run of `program` in `folder`, made with its
    // parents when missing. Throws EngineError naming what could not be
    // made and why.
    UndoJournal(const std::string& folder, std::string_view program);
    // Puts the last notes on the disk.
    ~UndoJournal();
    UndoJournal(const UndoJournal&) = delete;
    UndoJournal& operator=(const UndoJournal&) = delete;

    // A kept file, numbered in the order kept.
    using Entry = std::uint64_t;

    // Keeps the old content of the regular file `target`, saved as `path`,
    // which the new file of version `next`, written whole beside it, is
    // about to replace by a rename. Throws EngineError "Cannot create file
    // <path>..." when it cannot be kept: the file must then not be replaced.
    Entry KeepReplaced(const std::string& path, const std::string& target, const FileVersion& next);
    // Keeps `old_bytes`, the content of `path` about to be written over in
    // place; throws as KeepReplaced does.
    Entry KeepOverwritten(const std::string& path, std::string_view old_bytes);
    // Notes the version that the write in place of `entry` left at `path`.
    void NoteWritten(Entry entry, const std::string& path);
    // Notes that the file of `entry` was replaced by `size` bytes. Its old
    // content is read again only by an undo, so a big one's cached pages
    // are let go, as they would have gone with the file without a journal.
    void NoteReplaced(Entry entry, std::int64_t size) const;
    // Notes that the file of `entry` was not replaced after all, and
    // removes what kept its old content.
    void Drop(Entry entry);
    // Returns once `entry`, and every entry kept before it, is on the
    // disk, with the journal's start; throws for `path` as KeepReplaced
    // does.
    void MakeDurable(Entry entry, const std::string& path);

    // Removes the journals of earlier runs from the folder, but for those
    // of programs still running, on a thread of its own: what it frees is
    // the old content of the last run's files, as much as the run wrote.
    // Done by the time this journal goes. What a killed run left that
    // would change how a file is saved goes before it returns.
    void DropEarlierRuns();

    [[nodiscard]] const std::string& RunFolder() const { return run_folder_; }

private:
    // Given to MakeDurable, the journal's start alone: kept files are
    // numbered from 1.
    static constexpr Entry kStart = 0;

    // Notes `line`, written with the next WritePending.
    void Append(const std::string& line);
    // Writes the lines noted since the last call; throws as KeepReplaced
    // does for `path`, the lines then kept for the next call.
    void WritePending(const std::string& path);
    // Whether a finished sync covered `entry`; the lock held.
    [[nodiscard]] bool IsDurable(Entry entry) const;
    [[nodiscard]] static bool SyncFolders(const std::vector<std::string>& folders);
    // The number of the next kept file.
    [[nodiscard]] Entry NextEntry() const;
    [[nodiscard]] std::string KeptPath(Entry entry) const;
    // Makes the folder for the kept file of `entry` where it is missing;
    // throws as KeepReplaced does for `path`.
    void MakeKeptFolder(Entry entry, const std::string& path);
    void NoteFolderChanged(const std::string& folder);

    std::string folder_;
    std::string run_folder_;
    std::uint64_t run_ = 0;
    std::mutex mutex_;
    static constexpr std::int64_t kRoomStep = std::int64_t{64} << 10;

    fs::File file_;          // locked while the run lasts
    std::int64_t size_ = 0;  // of the lines written
    std::int64_t room_ = 0;  // of the file, zeros after the lines
    std::string pending_;    // lines noted, not yet written
    // Folders whose names changed since the last sync.
    std::vector<std::string> unsynced_folders_;
    std::uint64_t folders_made_ = 0;  // kept files' folders 0 to this one, not included
    Entry last_entry_ = 0;
    Entry sync_covers_ = 0;  // the last entry the latest sync begun covers
    bool unsynced_ = false;
    bool names_dropped_ = false;  // kept names removed by Drop
    // The last entry a finished sync covered; none before the first sync.
    std::optional<Entry> durable_through_;
    bool syncing_ = false;  // MakeDurable waits for the disk, the mutex let go
    std::condition_variable sync_done_;
    std::thread dropper_;
};

// Makes the runs whose journals `folder` holds no longer undoable, but for
// those of programs still running, and frees the old contents they keep:
// for a run that keeps no journal, which must not leave the run before it
// to be undone in its place. What cannot be removed is left. Never throws.
void ForgetRuns(const std::string& folder) noexcept;

// What a run is told when its journal cannot be kept in `folder`, for
// `reason` (the failure's own message).
[[nodiscard]] std::string JournalProblem(const std::string& folder, const std::string& reason);

// One file of a run as its journal tells it.
struct JournalEntry {
    std::string path;  // absolute
    std::string kept;  // the file holding its old content
    // The version of the file the run put in its place; none when the run
    // ended while writing it in place.
    std::optional<FileVersion> replaced_by;
};

// The journal of one run.
struct RunJournal {
    std::string folder;
    std::string program;
    std::vector<JournalEntry> entries;  // in the order replaced
};

// The journal of a run, held in `text`, the journal file of `run_folder`;
// nullopt when it is none (a run killed before its journal began).
[[nodiscard]] std::optional<RunJournal> ParseRunJournal(std::string_view text,
                                                        const std::string& run_folder);
// The journal file of the run whose folder is `run_folder`.
[[nodiscard]] std::string JournalPathIn(const std::string& run_folder);

// The journal of the last run kept in `folder`; nullopt when there is none.
[[nodiscard]] std::optional<RunJournal> ReadLastRun(const std::string& folder);

}  // namespace korv
