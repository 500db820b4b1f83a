#include "undo_journal.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "durable_saves.h"
#include "engine_error.h"
#include "folder_listing.h"
#include "make_folder.h"
#include "path_syntax.h"
#include "user_folders.h"

namespace korv {

namespace {

// The journal is a text file of one line per note, fields split by tabs:
//   keep  N DEVICE INODE SIZE MODIFIED PATH   (the new file's version, or
//   keep  N - - - - PATH                       for a write in place)
//   wrote N DEVICE INODE SIZE MODIFIED         (after a write in place)
//   drop  N                                    (the file was not replaced)
//   end                                        (the run ended, its saves done)
// N names the file holding the old content: N in the run's folder N / K,
// where the journal's first line gives K (see kForms). A line cut short by
// a kill or a power cut is no note, nor are the zeros after the last line.
struct JournalForm {
    std::string_view header;
    // Kept files a folder holds; 0: all in the run's folder itself, whose
    // size made each further name slow to add.
    std::uint64_t kept_per_folder;
};
// The form written first, then the earlier ones, which are still read.
constexpr JournalForm kForms[] = {
    {"Korvane undo journal 3\n", 256},
    {"Korvane undo journal 2\n", 64},
    {"Korvane undo journal 1\n", 0},
};
constexpr std::string_view kHeader = kForms[0].header;
constexpr std::uint64_t kKeptPerFolder = kForms[0].kept_per_folder;
constexpr std::uint64_t kFoldersMadeAhead = 8;
// From this size an old content kept by a further name has its cached
// pages let go once its file is replaced; below it, asking costs more than
// the pages do.
constexpr std::int64_t kBigFrom = std::int64_t{1} << 20;
constexpr std::string_view kEndLine = "end\n";
constexpr std::string_view kJournalName = "journal";
constexpr std::string_view kRunPrefix = "run-";

// A path with the bytes that would break a line or a field escaped.
std::string Encoded(std::string_view path) {
    std::string out;
    for (const char c : path) {
        switch (c) {
            case '%':
                out += "%25";
                break;
            case '\t':
                out += "%09";
                break;
            case '\n':
                out += "%0A";
                break;
            case '\r':
                out += "%0D";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Decoded(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '%' && i + 2 < field.size()) {
            unsigned value = 0;
            const auto [end, error] = std::from_chars(&field[i + 1], &field[i + 3], value, 16);
            if (error == std::errc() && end == &field[i + 3]) {
                out += static_cast<char>(value);
                i += 2;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::string VersionFields(const FileVersion& version) {
    return std::to_string(version.file.device) + '\t' + std::to_string(version.file.inode) + '\t' +
           std::to_string(version.size) + '\t' + std::to_string(version.modified_ns);
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t at = 0;;) {
        const std::size_t tab = line.find('\t', at);
        fields.push_back(line.substr(at, tab - at));
        if (tab == std::string_view::npos) {
            return fields;
        }
        at = tab + 1;
    }
}

template <typename Number>
std::optional<Number> NumberIn(std::string_view field) {
    Number value{};
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<FileVersion> VersionIn(const std::vector<std::string_view>& fields, std::size_t at) {
    const auto device = NumberIn<std::uint64_t>(fields[at]);
    const auto inode = NumberIn<std::uint64_t>(fields[at + 1]);
    const auto size = NumberIn<std::int64_t>(fields[at + 2]);
    const auto modified = NumberIn<std::int64_t>(fields[at + 3]);
    if (!device || !inode || !size || !modified) {
        return std::nullopt;
    }
    return FileVersion{{*device, *inode}, *size, *modified, true};
}

// The numbers of the runs whose journals `folder` holds, highest first.
std::vector<std::uint64_t> RunsIn(const std::string& folder) {
    std::vector<FolderItem> items;
    std::string problem;
    std::vector<std::uint64_t> runs;
    if (!ListFolder(folder, items, problem)) {
        return runs;
    }
    for (const FolderItem& item : items) {
        if (item.kind == EntryKind::Folder && item.name.starts_with(kRunPrefix)) {
            if (const auto run = NumberIn<std::uint64_t>(
                    std::string_view(item.name).substr(kRunPrefix.size()))) {
                runs.push_back(*run);
            }
        }
    }
    std::sort(runs.rbegin(), runs.rend());
    return runs;
}

std::string RunFolderIn(const std::string& folder, std::uint64_t run) {
    return JoinPath(folder, std::string(kRunPrefix) + std::to_string(run));
}

// Whether a program still running keeps its journal in `run_folder`.
bool InUse(const std::string& run_folder) {
    const fs::File journal = fs::OpenExisting(JournalPathIn(run_folder), fs::Access::kRead);
    if (!journal.Valid()) {
        return !fs::Is(fs::LastError(), fs::Failure::kNotFound);
    }
    return !fs::TryLock(journal);
}

std::string KeptFolderIn(const std::string& run_folder, std::uint64_t entry,
                         std::uint64_t kept_per_folder = kKeptPerFolder) {
    if (kept_per_folder == 0) {
        return run_folder;
    }
    return JoinPath(run_folder, std::to_string(entry / kept_per_folder));
}

// Removes a run's folder with the old contents it keeps.
void DropRunFolder(const std::string& run_folder) {
    std::vector<FolderItem> items;
    std::string problem;
    if (ListFolder(run_folder, items, problem)) {
        for (const FolderItem& item : items) {
            const std::string path = JoinPath(run_folder, item.name);
            if (item.kind == EntryKind::Folder) {
                DropRunFolder(path);
            } else {
                fs::Remove(path);
            }
        }
    }
    fs::RemoveFolder(run_folder);
}

// Whether the run whose folder is `run_folder` ended with every save of
// its done or dropped, rather than killed midway.
bool RanToItsEnd(const std::string& run_folder) {
    try {
        const std::string text = ReadWholeFile(JournalPathIn(run_folder));
        const std::size_t last = text.find_last_not_of('\0');
        return last != std::string::npos &&
               std::string_view(text).substr(0, last + 1).ends_with("\n" + std::string(kEndLine));
    } catch (const EngineError&) {
        return false;
    }
}

// Removes the names in a killed run's folder that are not their file's
// last: kept before a rename the kill forestalled, each is a further name
// of a file the run left as it was, and while it is there that file looks
// hard-linked, so a save would write it in place. Cheap, as it frees no
// file's bytes.
void DropFurtherNames(const std::string& run_folder) {
    std::vector<FolderItem> items;
    std::string problem;
    if (!ListFolder(run_folder, items, problem)) {
        return;
    }
    for (const FolderItem& item : items) {
        const std::string path = JoinPath(run_folder, item.name);
        if (item.kind == EntryKind::Folder) {
            DropFurtherNames(path);
            continue;
        }
        const std::optional<fs::Facts> facts = fs::FactsAt(path, false, fs::Identity::kNotNeeded);
        if (facts && facts->kind == fs::Kind::kRegular && facts->links > 1) {
            fs::Remove(path);
        }
    }
}

EngineError CannotKeep(const std::string& path, const std::string& reason) {
    return CannotCreateFile(path, "Its old content could not be kept for undo: " + reason);
}

}  // namespace

UndoJournal::UndoJournal(const std::string& folder, std::string_view program) : folder_(folder) {
    MakeFolder(folder_);
    const std::vector<std::uint64_t> runs = RunsIn(folder_);
    run_ = runs.empty() ? 1 : runs.front() + 1;
    // Another program starting beside this one may take a number first.
    for (int attempt = 0;; ++attempt, ++run_) {
        run_folder_ = RunFolderIn(folder_, run_);
        if (const int error = MakeOneFolder(run_folder_); error != 0) {
            throw CannotCreateFolder(run_folder_, error);
        }
        const std::string path = JournalPathIn(run_folder_);
        file_ = fs::CreateNew(path, nullptr);
        if (file_.Valid()) {
            break;
        }
        // Taken, or its folder dropped by a run that took it for a run
        // killed before its journal began.
        const int error = fs::LastError();
        if ((!fs::Is(error, fs::Failure::kExists) && !fs::Is(error, fs::Failure::kNotFound)) ||
            attempt == 16) {
            throw CannotCreateFile(path, error);
        }
    }
    // Tells an earlier run's journal in use from one whose program ended.
    (void)fs::TryLock(file_);
    // Written now, so that a full disk stops the run before it reads a
    // file. On the disk, with its name, by the first entry's sync, or
    // before the earlier runs' journals go if that comes first: a sync of
    // its own here would stand in the run's way.
    Append(std::string(kHeader) + "program\t" + Encoded(program) + '\n');
    try {
        WritePending(file_.Path());
    } catch (const EngineError&) {
        throw CannotCreateFile(file_.Path(), fs::LastError());
    }
    NoteFolderChanged(run_folder_);
    NoteFolderChanged(folder_);
}

UndoJournal::~UndoJournal() {
    if (dropper_.joinable()) {
        dropper_.join();
    }
    std::lock_guard lock(mutex_);
    // Marks the run as ended whole, and so none of its kept names another
    // name of a file it did not replace: the dropped ones' removal goes
    // first. The run's renames are on the disk before the journal goes.
    if (!names_dropped_ || !Syncing() || SyncFolders(unsynced_folders_)) {
        Append(std::string(kEndLine));
    }
    try {
        WritePending(file_.Path());
    } catch (const EngineError&) {
        // Without its last notes an entry is left by an undo, and without
        // its mark the run is taken for one killed midway.
    }
    if (unsynced_ && Syncing()) {
        fs::SyncData(file_);
    }
}

void UndoJournal::Append(const std::string& line) {
    pending_ += line;
}

void UndoJournal::WritePending(const std::string& path) {
    if (pending_.empty()) {
        return;
    }
    const auto end = size_ + static_cast<std::int64_t>(pending_.size());
    // The file is made longer ahead, in zeros, a step at a time: a sync of
    // lines written within it waits for their bytes alone, not for the
    // file system to note a new length.
    if (end > room_) {
        const std::int64_t room = (end / kRoomStep + 1) * kRoomStep;
        if (!fs::WriteAt(file_, room_, std::string(static_cast<std::size_t>(room - room_), '\0'))) {
            throw CannotKeep(path, SystemErrorText(fs::LastError()));
        }
        room_ = room;
    }
    if (!fs::WriteAt(file_, size_, pending_)) {
        // A part written is a line cut short, which no reader takes; the
        // lines are written over it next time.
        const int error = fs::LastError();
        fs::Truncate(file_, size_);
        room_ = size_;
        throw CannotKeep(path, SystemErrorText(error));
    }
    size_ = end;
    pending_.clear();
    unsynced_ = true;
}

bool UndoJournal::SyncFolders(const std::vector<std::string>& folders) {
    return std::all_of(folders.begin(), folders.end(),
                       [](const std::string& folder) { return fs::SyncFolder(folder); });
}

UndoJournal::Entry UndoJournal::NextEntry() const {
    // The names kept after a sync of the journal begins start a folder of
    // their own: the next sync, which covers them, then syncs one folder
    // where a batch's names spread over two or three.
    const Entry next = last_entry_ + 1;
    const bool first_since_sync = last_entry_ != 0 && last_entry_ == sync_covers_;
    if (!first_since_sync || next % kKeptPerFolder == 0) {
        return next;
    }
    return (next / kKeptPerFolder + 1) * kKeptPerFolder;
}

std::string UndoJournal::KeptPath(Entry entry) const {
    return JoinPath(KeptFolderIn(run_folder_, entry), std::to_string(entry));
}

void UndoJournal::MakeKeptFolder(Entry entry, const std::string& path) {
    // Kept names go in folders of a few each, as a name added to a big
    // folder costs a search of it; the folders are made a few at a time,
    // so the run's folder is seldom synced for them.
    const std::uint64_t needed = entry / kKeptPerFolder;
    if (needed >= folders_made_) {
        for (std::uint64_t folder = needed; folder < needed + kFoldersMadeAhead; ++folder) {
            if (const int error = MakeOneFolder(JoinPath(run_folder_, std::to_string(folder)));
                error != 0 && !fs::Is(error, fs::Failure::kExists)) {
                throw CannotKeep(path, SystemErrorText(error));
            }
        }
        folders_made_ = needed + kFoldersMadeAhead;
        NoteFolderChanged(run_folder_);
    }
    NoteFolderChanged(KeptFolderIn(run_folder_, entry));
}

void UndoJournal::NoteFolderChanged(const std::string& folder) {
    if (std::find(unsynced_folders_.begin(), unsynced_folders_.end(), folder) ==
        unsynced_folders_.end()) {
        unsynced_folders_.push_back(folder);
    }
}

UndoJournal::Entry UndoJournal::KeepReplaced(const std::string& path, const std::string& target,
                                             const FileVersion& next) {
    std::lock_guard lock(mutex_);
    const Entry entry = NextEntry();
    MakeKeptFolder(entry, path);
    const std::string kept = KeptPath(entry);
    // A further name of the old file costs nothing; a copy where none can
    // be made (another file system, one name per file).
    if (!fs::MakeLink(target, kept) && !CopyWholeFile(target, kept)) {
        throw CannotKeep(path, SystemErrorText(fs::LastError()));
    }
    last_entry_ = entry;
    Append("keep\t" + std::to_string(entry) + '\t' + VersionFields(next) + '\t' +
           Encoded(AbsolutePath(path)) + '\n');
    return entry;
}

UndoJournal::Entry UndoJournal::KeepOverwritten(const std::string& path,
                                                std::string_view old_bytes) {
    std::lock_guard lock(mutex_);
    const Entry entry = NextEntry();
    MakeKeptFolder(entry, path);
    try {
        ReplaceWholeFile(KeptPath(entry), old_bytes);
    } catch (const EngineError& e) {
        throw CannotKeep(path, e.what());
    }
    last_entry_ = entry;
    Append("keep\t" + std::to_string(entry) + "\t-\t-\t-\t-\t" + Encoded(AbsolutePath(path)) +
           '\n');
    return entry;
}

void UndoJournal::NoteWritten(Entry entry, const std::string& path) {
    const std::optional<FileVersion> version = VersionOf(path);
    std::lock_guard lock(mutex_);
    // Without its version, an entry is left by an undo, which names where
    // its old content is.
    if (version) {
        Append("wrote\t" + std::to_string(entry) + '\t' + VersionFields(*version) + '\n');
    }
}

void UndoJournal::NoteReplaced(Entry entry, std::int64_t size) const {
    // The new size stands for the old one.
    if (size < kBigFrom) {
        return;
    }
    fs::LetGoOfCache(KeptPath(entry));
}

void UndoJournal::Drop(Entry entry) {
    std::lock_guard lock(mutex_);
    const std::string kept = KeptPath(entry);
    // Should the line not reach the journal, the entry names a file whose
    // version an undo will not find: it is left alone there.
    Append("drop\t" + std::to_string(entry) + '\n');
    // Kept by a further name, the old content is still the file's own: the
    // name left there would have the file taken for a hard-linked one.
    if (fs::Remove(kept)) {
        names_dropped_ = true;
        NoteFolderChanged(KeptFolderIn(run_folder_, entry));
    }
}

void UndoJournal::MakeDurable(Entry entry, const std::string& path) {
    std::unique_lock lock(mutex_);
    // A sync under way may have begun before this entry was added.
    sync_done_.wait(lock, [&] { return IsDurable(entry) || !syncing_; });
    if (IsDurable(entry)) {
        return;
    }
    // Entries are added meanwhile, without waiting for the disk; this
    // write and sync cover those added so far, the batch's and any after.
    const Entry covering = last_entry_;
    sync_covers_ = covering;
    WritePending(path);
    if (!Syncing()) {
        unsynced_folders_.clear();
        durable_through_ = covering;
        return;
    }
    unsynced_ = false;
    syncing_ = true;
    std::vector<std::string> folders = std::exchange(unsynced_folders_, {});
    lock.unlock();
    // The folders hold the names of the journal and of the kept files.
    const bool synced = fs::SyncData(file_) && SyncFolders(folders);
    const int error = synced ? 0 : fs::LastError();
    lock.lock();
    syncing_ = false;
    sync_done_.notify_all();
    if (!synced) {
        unsynced_ = true;
        unsynced_folders_.insert(unsynced_folders_.begin(), folders.begin(), folders.end());
        throw CannotKeep(path, SystemErrorText(error));
    }
    durable_through_ = std::max(durable_through_.value_or(0), covering);
}

bool UndoJournal::IsDurable(Entry entry) const {
    return durable_through_ && entry <= *durable_through_;
}

void UndoJournal::DropEarlierRuns() {
    if (dropper_.joinable()) {
        return;
    }
    std::vector<std::string> earlier;
    for (const std::uint64_t run : RunsIn(folder_)) {
        std::string run_folder = RunFolderIn(folder_, run);
        if (run < run_ && !InUse(run_folder)) {
            // Before the run reads any file.
            if (!RanToItsEnd(run_folder)) {
                DropFurtherNames(run_folder);
            }
            earlier.push_back(std::move(run_folder));
        }
    }
    if (earlier.empty()) {
        return;
    }
    dropper_ = std::thread([this, earlier = std::move(earlier)] {
        // Until this run's journal is on the disk, the last run is theirs.
        try {
            MakeDurable(kStart, file_.Path());
        } catch (const EngineError&) {
            return;
        }
        for (const std::string& run_folder : earlier) {
            DropRunFolder(run_folder);
        }
    });
}

void ForgetRuns(const std::string& folder) noexcept {
    try {
        std::vector<std::string> forgotten;
        for (const std::uint64_t run : RunsIn(folder)) {
            std::string run_folder = RunFolderIn(folder, run);
            if (!InUse(run_folder)) {
                // Without its journal file a run is none to undo.
                fs::Remove(JournalPathIn(run_folder));
                forgotten.push_back(std::move(run_folder));
            }
        }
        if (forgotten.empty()) {
            return;
        }
        if (Syncing()) {
            for (const std::string& run_folder : forgotten) {
                fs::SyncFolder(run_folder);
            }
        }
        for (const std::string& run_folder : forgotten) {
            DropRunFolder(run_folder);
        }
    } catch (...) {
        // What could not be removed is left for the next run with a
        // journal to drop.
    }
}

std::string JournalProblem(const std::string& folder, const std::string& reason) {
    return "The undo journal cannot be kept in " + folder + ".\n" + reason;
}

std::optional<RunJournal> ParseRunJournal(std::string_view text, const std::string& run_folder) {
    const auto form = std::find_if(std::begin(kForms), std::end(kForms), [&](const JournalForm& f) {
        return text.starts_with(f.header);
    });
    if (form == std::end(kForms)) {
        return std::nullopt;  // a run that ended before its journal began
    }
    RunJournal journal;
    journal.folder = run_folder;
    std::map<std::uint64_t, std::size_t> index;  // entry -> its place
    std::vector<std::optional<JournalEntry>> entries;
    for (std::size_t at = form->header.size(); at < text.size();) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            break;
        }
        const std::vector<std::string_view> fields = Fields(text.substr(at, end - at));
        at = end + 1;
        const std::string_view kind = fields[0];
        if (kind == "program" && fields.size() == 2) {
            journal.program = Decoded(fields[1]);
            continue;
        }
        const std::optional<std::uint64_t> entry =
            fields.size() >= 2 ? NumberIn<std::uint64_t>(fields[1]) : std::nullopt;
        if (!entry) {
            continue;
        }
        if (kind == "keep" && fields.size() == 7) {
            index[*entry] = entries.size();
            entries.push_back(
                JournalEntry{Decoded(fields[6]),
                             JoinPath(KeptFolderIn(run_folder, *entry, form->kept_per_folder),
                                      std::to_string(*entry)),
                             VersionIn(fields, 2)});
        } else if (index.count(*entry) != 0 && entries[index[*entry]]) {
            if (kind == "wrote" && fields.size() == 6) {
                entries[index[*entry]]->replaced_by = VersionIn(fields, 2);
            } else if (kind == "drop") {
                entries[index[*entry]].reset();
            }
        }
    }
    for (std::optional<JournalEntry>& entry : entries) {
        if (entry) {
            journal.entries.push_back(std::move(*entry));
        }
    }
    return journal;
}

std::string JournalPathIn(const std::string& run_folder) {
    return JoinPath(run_folder, std::string(kJournalName));
}

std::optional<RunJournal> ReadLastRun(const std::string& folder) {
    for (const std::uint64_t run : RunsIn(folder)) {
        const std::string run_folder = RunFolderIn(folder, run);
        try {
            if (std::optional<RunJournal> journal =
                    ParseRunJournal(ReadWholeFile(JournalPathIn(run_folder)), run_folder)) {
                return journal;
            }
        } catch (const EngineError&) {
            // An unreadable journal is no run to undo; an earlier one may be.
        }
    }
    return std::nullopt;
}

}  // namespace korv
