#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "durable_saves.h"
#include "engine_error.h"
#include "file_ops.h"
#include "file_system.h"
#include "path_syntax.h"
#include "read_from_start.h"
#include "undo_journal.h"

// The safe save, the in-place write and the backup copy, over the system
// layer's primitives. A file is replaced by a temporary file beside it,
// filled, synced and closed before its name takes the file's place, so a
// kill or a power cut at any moment leaves the old bytes or the new ones.

namespace korv {

namespace {

const char* const kChangedMeanwhile = "Another program changed it since it was read";

// Writes a file from its start. With `start_writeback`, it has the system
// start writing what it was given to the disk every few MiB, so the sync
// that ends a big save waits for the last few only.
class FileSink final : public ContentSink {
public:
    FileSink(const fs::File& file, bool start_writeback)
        : file_(file), start_writeback_(start_writeback) {}
    bool Write(std::string_view bytes) override {
        if (!fs::WriteAt(file_, offset_, bytes)) {
            return false;
        }
        offset_ += static_cast<std::int64_t>(bytes.size());
        if (start_writeback_ && offset_ - started_up_to_ >= kWritebackStep) {
            fs::StartWriteback(file_);
            started_up_to_ = offset_;
        }
        return true;
    }

private:
    static constexpr std::int64_t kWritebackStep = std::int64_t{2} << 20;

    const fs::File& file_;
    const bool start_writeback_;
    std::int64_t offset_ = 0;
    std::int64_t started_up_to_ = 0;
};

class MemorySink final : public ContentSink {
public:
    explicit MemorySink(ByteBuffer& into) : into_(into) { into_.Clear(); }
    bool Write(std::string_view bytes) override {
        const std::size_t at = into_.Size();
        into_.Resize(at + bytes.size());
        if (!bytes.empty()) {
            std::memcpy(into_.Data() + at, bytes.data(), bytes.size());
        }
        return true;
    }

private:
    ByteBuffer& into_;
};

// Where the name of the file `path` starts: after the last separator of
// the system, or a slash, which every system takes in a path.
std::size_t NameStart(const std::string& path) {
    const std::size_t separator = LastPathSeparator(path);
    const std::size_t slash = path.rfind('/');
    if (separator == std::string::npos && slash == std::string::npos) {
        return 0;
    }
    if (separator == std::string::npos || (slash != std::string::npos && slash > separator)) {
        return slash + 1;
    }
    return separator + 1;
}

// The folder holding `path`, for syncing its names.
std::string FolderOf(const std::string& path) {
    const std::size_t name_at = NameStart(path);
    if (name_at == 0) {
        return ".";
    }
    return path.substr(0, name_at == 1 ? 1 : name_at - 1);
}

// Whether a file still stands as the facts `then` tell: the same file,
// owner, permissions, attributes, links and last change.
bool SameStanding(const fs::Facts& now, const fs::Facts& then) {
    return now.version.file == then.version.file && now.kind == then.kind &&
           now.links == then.links && now.standing == then.standing;
}

void CheckUnchanged(const std::string& path, const FileVersion& now,
                    const FileVersion* unchanged_since) {
    if (unchanged_since != nullptr && !(now == *unchanged_since)) {
        throw CannotOpenFile(path, kChangedMeanwhile);
    }
}

// Throws unless the file `target` names is still in the state it was read
// in: another program that wrote it since would lose its bytes to ours.
void CheckStillUnchanged(const std::string& path, const std::string& target,
                         const FileVersion* unchanged_since) {
    if (unchanged_since == nullptr) {
        return;
    }
    const std::optional<fs::Facts> now = fs::FactsAt(target, true, fs::Identity::kNeeded);
    if (!now) {
        throw CannotOpenFile(path, fs::LastError());
    }
    CheckUnchanged(path, now->version, unchanged_since);
}

// Empties the file and writes `bytes` into it from the start.
bool PutBack(const fs::File& file, std::string_view bytes) {
    return fs::Truncate(file, 0) && fs::WriteAt(file, 0, bytes);
}

// Waits for the file's data to reach the disk, when saves do.
bool Synced(const fs::File& file) {
    return !Syncing() || fs::SyncData(file);
}

// A temporary file beside the file it is to replace, named so a user
// recognises a leftover; removed when it goes, unless it took that file's
// place.
class TempFile {
public:
    // Creates it with the permissions of `like` (see fs::CreateNew);
    // nullopt with the system's code in `error` when it cannot be created.
    static std::optional<TempFile> CreateBeside(const std::string& target, const fs::Facts* like,
                                                int& error) {
        static thread_local std::mt19937_64 random{std::random_device{}()};
        const std::size_t name_at = NameStart(target);
        // The name must fit in a folder entry (255) with the dot, the marker
        // and nine digits, or a long-named file would lose its safe save
        // and its first backup: cut the file's name to make room.
        constexpr std::size_t kRoom = 255 - 1 - kTempMarker.size() - 9;
        const std::string prefix = target.substr(0, name_at) + "." + target.substr(name_at, kRoom) +
                                   std::string(kTempMarker);
        for (int attempt = 0; attempt < 16; ++attempt) {
            std::string name = prefix + std::to_string(random() % 1000000000ULL);
            fs::File file = fs::CreateNew(name, like);
            if (file.Valid()) {
                return TempFile(std::move(file));
            }
            error = fs::LastError();
            if (!fs::Is(error, fs::Failure::kExists)) {
                return std::nullopt;
            }
        }
        error = fs::CodeOf(fs::Failure::kExists);
        return std::nullopt;
    }

    TempFile(TempFile&& other) noexcept
        : file_(std::move(other.file_)), path_(std::exchange(other.path_, {})) {}
    TempFile& operator=(TempFile&&) = delete;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (!path_.empty()) {
            file_.Close();
            fs::Remove(path_);
        }
    }

    [[nodiscard]] const std::string& Path() const { return path_; }

    // Which file it is, its size and last write: asked of the open file
    // while it is open.
    [[nodiscard]] std::optional<FileVersion> Version() const {
        const std::optional<fs::Facts> facts =
            file_.Valid() ? fs::FactsOf(file_, fs::Identity::kNeeded)
                          : fs::FactsAt(path_, false, fs::Identity::kNeeded);
        if (!facts) {
            return std::nullopt;
        }
        return facts->version;
    }

    // Writes the content `write_content` produces and has the system start
    // writing it to the disk. Throws StreamWriteError when a write fails
    // (or the writer says so).
    void Write(const ContentWriter& write_content) {
        FileSink sink(file_, Syncing());
        if (!write_content(sink)) {
            throw StreamWriteError();
        }
        if (Syncing()) {
            fs::StartWriteback(file_);
        }
    }

    // Waits for the content to reach the disk and closes the file; throws
    // the save's message for `path` with the system's reason on failure.
    void SyncAndClose(const std::string& path) {
        if (!Synced(file_) || !file_.Close()) {
            throw CannotCreateFile(path, fs::LastError());
        }
    }

    // Puts the file in the place of `target`; throws on failure.
    void Replace(const std::string& path, const std::string& target) {
        if (!fs::ReplaceName(path_, target)) {
            throw CannotCreateFile(path, fs::LastError());
        }
        path_.clear();
        NoteNamesChanged(FolderOf(target));
    }

private:
    explicit TempFile(fs::File file) : file_(std::move(file)), path_(file_.Path()) {}

    fs::File file_;
    std::string path_;  // empty once it took its target's place
};

// Writes the new content over the regular file open as `file`, keeping its
// old content to put back if the write fails, the sync and the close
// included: a file reported as not written must hold its old bytes.
void OverwriteInPlace(fs::File file, const std::string& path, const ContentWriter& write_content,
                      const FileVersion* unchanged_since, UndoJournal* journal) {
    std::optional<fs::Facts> facts = fs::FactsOf(file, fs::Identity::kNotNeeded);
    if (!facts) {
        throw CannotCreateFile(path, fs::LastError());
    }
    if (facts->version.size > kLargestFile) {
        throw CannotCreateFile(path, "File too large");
    }
    ByteBuffer old_bytes;
    old_bytes.Resize(static_cast<std::size_t>(facts->version.size));
    if (ReadFromStart(file, old_bytes.Data(), old_bytes.Size()) != old_bytes.Size()) {
        throw StreamWriteError();
    }
    // The new content is complete before the file is emptied, so a writer
    // that fails leaves it as it was. It may read from this very file (a
    // big file is searched where it lies), so it runs before the file is
    // touched.
    ByteBuffer content;
    MemorySink staging(content);
    if (!write_content(staging)) {
        throw StreamWriteError();
    }
    if (unchanged_since != nullptr) {
        facts = fs::FactsOf(file, fs::Identity::kNeeded);
        if (!facts) {
            throw CannotOpenFile(path, fs::LastError());
        }
        CheckUnchanged(path, facts->version, unchanged_since);
    }
    std::optional<UndoJournal::Entry> entry;
    if (journal != nullptr) {
        entry = journal->KeepOverwritten(path, old_bytes.View());
        journal->MakeDurable(*entry, path);
    }
    // The old bytes are put back on every failure, so the file was not
    // replaced after all.
    const auto drop = [&] {
        if (entry) {
            journal->Drop(*entry);
        }
    };
    if (!PutBack(file, content.View())) {
        PutBack(file, old_bytes.View());  // the error is reported either way
        drop();
        throw StreamWriteError();
    }
    if (!Synced(file)) {
        const int error = fs::LastError();
        PutBack(file, old_bytes.View());
        Synced(file);
        drop();
        throw CannotCreateFile(path, error);
    }
    const std::string target = file.Path();
    if (!file.Close()) {
        const fs::File again = fs::OpenExisting(target, fs::Access::kUpdate);
        if (again.Valid() && PutBack(again, old_bytes.View())) {
            Synced(again);
            drop();
        }
        throw StreamWriteError();
    }
    if (entry) {
        journal->NoteWritten(*entry, target);
    }
}

// Writes `path` where no replace can go: in place when `target` is a
// regular file, directly when it is none (a device, a new file behind a
// dangling link).
void WriteInPlace(const std::string& path, const std::string& target,
                  const ContentWriter& write_content, const FileVersion* unchanged_since,
                  UndoJournal* journal) {
    const std::optional<fs::Facts> facts = fs::FactsAt(target, true, fs::Identity::kNotNeeded);
    if (!facts && !fs::Is(fs::LastError(), fs::Failure::kNotFound)) {
        // Unknown is not "no regular file": writing blind could empty it.
        throw CannotCreateFile(path, fs::LastError());
    }
    if (facts && facts->kind == fs::Kind::kRegular) {
        fs::File file = fs::OpenExisting(target, fs::Access::kUpdate);
        if (!file.Valid()) {
            throw CannotCreateFile(path, fs::LastError());
        }
        OverwriteInPlace(std::move(file), path, write_content, unchanged_since, journal);
        return;
    }
    if (unchanged_since != nullptr) {
        // What was read was a regular file: this is another one, or none.
        throw CannotOpenFile(path, facts ? std::string(kChangedMeanwhile)
                                         : SystemErrorText(fs::CodeOf(fs::Failure::kNotFound)));
    }
    fs::File file = fs::OpenToOverwrite(path);
    if (!file.Valid()) {
        throw CannotCreateFile(path, fs::LastError());
    }
    FileSink sink(file, false);
    if (!write_content(sink)) {
        throw StreamWriteError();
    }
    // A device or a pipe takes no sync; a file made here does.
    const bool made = !facts;
    if (made && !Synced(file)) {
        throw CannotCreateFile(path, fs::LastError());
    }
    if (!file.Close()) {
        throw StreamWriteError();
    }
    if (made) {
        NoteNamesChanged(FolderOf(target));
    }
}

// The version of `temp` a journal entry records, for the save of `path`.
FileVersion VersionOf(const TempFile& temp, const std::string& path) {
    const std::optional<FileVersion> version = temp.Version();
    if (!version) {
        throw CannotCreateFile(path, fs::LastError());
    }
    return *version;
}

// Puts `temp` in the place of `target` once the journal entry `entry`
// that keeps the old content is on the disk, checking first that the file
// is still as it was read; the entry is dropped when the file is not
// replaced after all.
void ReplaceKept(TempFile& temp, const std::string& path, const std::string& target,
                 const FileVersion* unchanged_since, UndoJournal* journal,
                 std::optional<UndoJournal::Entry> entry) {
    try {
        if (entry) {
            journal->MakeDurable(*entry, path);
        }
        CheckStillUnchanged(path, target, unchanged_since);
        temp.Replace(path, target);
    } catch (const EngineError&) {
        if (entry) {
            journal->Drop(*entry);
        }
        throw;
    }
}

// A save whose new content waits beside the file in a temporary file.
class TempFileSave final : public PendingSave {
public:
    // `synced` when its content reached the disk already.
    TempFileSave(std::string path, std::string target, TempFile temp,
                 const FileVersion* unchanged_since, UndoJournal* journal, bool synced = false)
        : path_(std::move(path)),
          target_(std::move(target)),
          temp_(std::move(temp)),
          journal_(journal),
          synced_(synced) {
        if (unchanged_since != nullptr) {
            unchanged_since_ = *unchanged_since;
        }
    }

    // A save given up after its keep (its sync failed, say) has its entry
    // dropped.
    ~TempFileSave() override {
        if (entry_) {
            journal_->Drop(*entry_);
        }
    }
    TempFileSave(const TempFileSave&) = delete;
    TempFileSave& operator=(const TempFileSave&) = delete;

    void Sync() override {
        if (!synced_) {
            temp_.SyncAndClose(path_);
            synced_ = true;
        }
    }

    void Keep() override {
        if (journal_ == nullptr || entry_) {
            return;
        }
        try {
            const FileVersion next = VersionOf(temp_, path_);
            entry_ = journal_->KeepReplaced(path_, target_, next);
            size_ = next.size;
        } catch (const EngineError&) {
            // A file changed or gone since it was read is told as such.
            CheckStillUnchanged(path_, target_, UnchangedSince());
            throw;
        }
    }

    void Finish() override {
        Sync();
        Keep();
        // The one check, after the wait for the disk: a file changed before
        // its keep is caught too, and its entry dropped.
        const std::optional<UndoJournal::Entry> entry = std::exchange(entry_, std::nullopt);
        ReplaceKept(temp_, path_, target_, UnchangedSince(), journal_, entry);
        if (entry) {
            journal_->NoteReplaced(*entry, size_);
        }
    }

private:
    std::string path_;
    std::string target_;
    TempFile temp_;
    UndoJournal* journal_;
    std::optional<FileVersion> unchanged_since_;
    std::optional<UndoJournal::Entry> entry_;  // kept, not yet replaced
    std::int64_t size_ = 0;                    // of the new content, once kept
    bool synced_;

    [[nodiscard]] const FileVersion* UnchangedSince() const {
        return unchanged_since_ ? &*unchanged_since_ : nullptr;
    }
};

// The safe write shared by saving and copying, up to its last step: null
// when it was done whole (in place). `follow_links` says whether a link at
// `path` is written through (saving) or replaced (a backup copy). `like`
// gives the permissions of a file that is not there yet.
std::unique_ptr<PendingSave> BeginSafeWrite(const std::string& path,
                                            const ContentWriter& write_content, bool follow_links,
                                            const fs::Facts* like,
                                            const FileVersion* unchanged_since,
                                            UndoJournal* journal) {
    std::string target = path;
    std::optional<fs::Facts> facts = fs::FactsAt(path, false, fs::Identity::kNotNeeded);
    if (!facts && !fs::Is(fs::LastError(), fs::Failure::kNotFound)) {
        throw CannotCreateFile(path, fs::LastError());
    }
    if (facts && facts->kind == fs::Kind::kLink && follow_links) {
        const fs::LinkTarget link = fs::TargetOfLink(path);
        if (link.way == fs::LinkTarget::Way::kDangling) {
            // The write creates its target, as a direct write through the
            // link would.
            WriteInPlace(path, path, write_content, unchanged_since, journal);
            return nullptr;
        }
        facts = fs::FactsAt(path, true, fs::Identity::kNotNeeded);
        if (link.way == fs::LinkTarget::Way::kWriteThrough) {
            if (facts && facts->kind == fs::Kind::kFolder) {
                throw CannotCreateFile(path, fs::CodeOf(fs::Failure::kIsFolder));
            }
            if (facts && !fs::MayWrite(path, *facts)) {
                throw CannotCreateFile(path, fs::LastError());
            }
            WriteInPlace(path, path, write_content, unchanged_since, journal);
            return nullptr;
        }
        target = link.path;
        if (!facts) {
            WriteInPlace(path, path, write_content, unchanged_since, journal);
            return nullptr;
        }
    }

    const bool replace_existing = facts && facts->kind != fs::Kind::kLink;
    if (replace_existing) {
        if (facts->kind == fs::Kind::kFolder) {
            throw CannotCreateFile(path, fs::CodeOf(fs::Failure::kIsFolder));
        }
        if (facts->kind != fs::Kind::kRegular) {
            WriteInPlace(path, target, write_content, unchanged_since, journal);
            return nullptr;
        }
        // A file we may not write stays as it is, whatever its folder allows.
        if (!fs::MayWrite(target, *facts)) {
            throw CannotCreateFile(path, fs::LastError());
        }
        if (!fs::ReplaceCanKeepAll(*facts)) {
            WriteInPlace(path, target, write_content, unchanged_since, journal);
            return nullptr;
        }
    }
    int error = 0;
    std::optional<TempFile> temp =
        TempFile::CreateBeside(target, replace_existing ? &*facts : like, error);
    if (!temp) {
        if (replace_existing) {
            // A folder we cannot create files in: the file itself is writable.
            WriteInPlace(path, target, write_content, unchanged_since, journal);
            return nullptr;
        }
        throw CannotCreateFile(path, error);
    }
    temp->Write(write_content);
    if (replace_existing && !fs::CarryOver(target, *facts, temp->Path())) {
        // An owner, permissions or attributes a replace would lose.
        temp.reset();
        WriteInPlace(path, target, write_content, unchanged_since, journal);
        return nullptr;
    }
    return std::make_unique<TempFileSave>(path, std::move(target), std::move(*temp),
                                          unchanged_since, journal);
}

void SafeWrite(const std::string& path, const ContentWriter& write_content, bool follow_links,
               const fs::Facts* like, const FileVersion* unchanged_since, UndoJournal* journal) {
    if (std::unique_ptr<PendingSave> pending =
            BeginSafeWrite(path, write_content, follow_links, like, unchanged_since, journal)) {
        pending->Finish();
    }
}

// The regular file a save of `path` would replace through a temporary
// file, following links as saving does, with its facts; nullopt where it
// would write in place.
std::optional<fs::Facts> ReplacedThroughTemp(const std::string& path, std::string& target) {
    target = path;
    std::optional<fs::Facts> facts = fs::FactsAt(path, false, fs::Identity::kNeeded);
    if (facts && facts->kind == fs::Kind::kLink) {
        const fs::LinkTarget link = fs::TargetOfLink(path);
        if (link.way != fs::LinkTarget::Way::kReplaceTarget) {
            return std::nullopt;
        }
        target = link.path;
        facts = fs::FactsAt(target, true, fs::Identity::kNeeded);
    }
    if (!facts || facts->kind != fs::Kind::kRegular || !fs::ReplaceCanKeepAll(*facts) ||
        !fs::MayWrite(target, *facts)) {
        return std::nullopt;
    }
    return facts;
}

class StagedTempFile final : public StagedReplacement {
public:
    StagedTempFile(std::string path, std::string target, TempFile temp, const fs::Facts& facts,
                   bool synced)
        : path_(std::move(path)),
          target_(std::move(target)),
          temp_(std::move(temp)),
          facts_(facts),
          synced_(synced) {}

    std::unique_ptr<PendingSave> Take(const FileVersion* unchanged_since,
                                      UndoJournal* journal) override {
        std::string target;
        const std::optional<fs::Facts> now = ReplacedThroughTemp(path_, target);
        const bool stands = temp_ && now && target == target_ && SameStanding(*now, facts_) &&
                            (unchanged_since == nullptr || now->version == *unchanged_since);
        if (!stands) {
            temp_.reset();
            return nullptr;
        }
        auto save = std::make_unique<TempFileSave>(path_, target_, std::move(*temp_),
                                                   unchanged_since, journal, synced_);
        temp_.reset();
        return save;
    }

private:
    std::string path_;
    std::string target_;
    std::optional<TempFile> temp_;  // gone once taken
    fs::Facts facts_;
    bool synced_;
};

std::unique_ptr<StagedReplacement> StageThroughTemp(const std::string& path,
                                                    const ContentWriter& write_content,
                                                    bool sync_now) {
    std::string target;
    const std::optional<fs::Facts> facts = ReplacedThroughTemp(path, target);
    if (!facts) {
        return nullptr;
    }
    int error = 0;
    std::optional<TempFile> temp = TempFile::CreateBeside(target, &*facts, error);
    if (!temp) {
        return nullptr;
    }
    // Written here, ahead of the pass, on the thread planning it.
    temp->Write(write_content);
    if (!fs::CarryOver(target, *facts, temp->Path())) {
        return nullptr;
    }
    if (sync_now) {
        temp->SyncAndClose(path);
    }
    return std::make_unique<StagedTempFile>(path, std::move(target), std::move(*temp), *facts,
                                            sync_now);
}

}  // namespace

void ReplaceWholeFile(const std::string& path, const ContentWriter& write_content,
                      const FileVersion* unchanged_since, UndoJournal* journal) {
    SafeWrite(path, write_content, /*follow_links=*/true, nullptr, unchanged_since, journal);
}

std::unique_ptr<PendingSave> BeginReplaceWholeFile(const std::string& path,
                                                   const ContentWriter& write_content,
                                                   const FileVersion* unchanged_since,
                                                   UndoJournal* journal) {
    return BeginSafeWrite(path, write_content, /*follow_links=*/true, nullptr, unchanged_since,
                          journal);
}

std::unique_ptr<StagedReplacement> StageReplacement(const std::string& path,
                                                    const ContentWriter& write_content,
                                                    bool sync_now) noexcept {
    try {
        return StageThroughTemp(path, write_content, sync_now);
    } catch (...) {
        return nullptr;  // the save itself meets what failed here
    }
}

bool CopyWholeFile(const std::string& from, const std::string& to) noexcept {
    try {
        const std::optional<fs::Facts> source = fs::FactsAt(from, true, fs::Identity::kNotNeeded);
        if (!source) {
            return false;
        }
        ByteBuffer bytes;
        const std::unique_ptr<MappedFile> mapped = ReadOrMapWholeFile(from, bytes);
        const std::string_view content = mapped ? mapped->View() : bytes.View();
        SafeWrite(
            to,
            [&](ContentSink& sink) {
                // A mapped file cut short while copied gives no copy.
                return sink.Write(content) && (!mapped || mapped->Intact());
            },
            /*follow_links=*/false, &*source, nullptr, nullptr);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace korv
