#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "byte_buffer.h"
#include "mapped_file.h"

namespace korv {

class UndoJournal;

// Whole-file operations, each opening and closing its files within the one
// call. All the engine's file access goes through here; the system layer
// (posix/file_ops.cpp or win32/file_ops.cpp, one chosen by the build)
// implements them, and every system call it makes asks the fault plan
// (file_fault.h) first.

// Which file a path names at one moment.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// One state of a file: which file, with what size, last written when.
// Another program that writes the file changes it.
struct FileVersion {
    FileIdentity file;
    std::int64_t size = 0;
    std::int64_t modified_ns = 0;  // since the epoch
    bool regular = false;          // a regular file, not a folder, device or pipe
    bool operator==(const FileVersion&) const = default;
};

// The file `path` names now (through a symbolic link when `follow_links`);
// nullopt (fs::LastError() set) when it cannot be asked.
[[nodiscard]] std::optional<FileVersion> VersionOf(const std::string& path,
                                                   bool follow_links = true);

// The size and kind of the file `path` names now (through a symbolic
// link): what VersionOf tells, less which file it is, which on Windows
// costs far more to ask. nullopt (fs::LastError() set) when it cannot be asked.
struct FileSize {
    std::int64_t bytes = 0;
    bool regular = false;  // a regular file, not a folder, device or pipe
};
[[nodiscard]] std::optional<FileSize> SizeOf(const std::string& path);

// Files of 2 GiB and more lie outside the text model's signed 32-bit
// lengths: they are neither read nor written.
inline constexpr std::int64_t kLargestFile = 0x7FFFFFFF;

// Reads the whole regular file at `path`. Throws EngineError
// "Cannot open file ..." when it cannot be opened or read in full, and for
// files of 2 GiB or more.
[[nodiscard]] std::string ReadWholeFile(const std::string& path);
// The same into `into`, reusing its storage (`into` is unspecified after
// a failure); but a big file is mapped rather than read where the system
// allows it: its bytes are then in the result (check Intact() after use)
// and `into` is left alone; otherwise they are in `into` and the result
// is null. `version`, when given, is set to the state of the file read.
std::unique_ptr<MappedFile> ReadOrMapWholeFile(const std::string& path, ByteBuffer& into,
                                               FileVersion* version = nullptr);

// Where a file's new content goes, in order, piece by piece.
class ContentSink {
public:
    virtual ~ContentSink() = default;
    // Writes all of `bytes` after what was written before, going on after
    // an interrupted or short write; false when a write fails.
    virtual bool Write(std::string_view bytes) = 0;
};

// Replaces the content of the file at `path` by `bytes` so that a failure
// leaves the old content: the bytes go to a temporary file beside the
// target, which replaces it once complete (its permissions, owner and
// attributes kept; a symbolic link keeps pointing at its target, which is
// replaced). Where a replace would lose something (several hard links, an
// owner or attributes we cannot carry over, a folder we cannot create
// files in, a file that is no regular file) the file is written in place
// and restored on failure.
// Throws EngineError "Cannot create file ..." when the file may not be
// written, and "Stream write error" when writing fails.
// With `unchanged_since`, the file must still be in that state right
// before it is replaced, or another program wrote it since we read it:
// it is then left as that program left it, and "Cannot open file ..."
// is thrown.
// With `journal`, the file's old content is kept there, on the disk, before
// it is replaced; a file whose old content cannot be kept is not written.
void ReplaceWholeFile(const std::string& path, std::string_view bytes,
                      const FileVersion* unchanged_since = nullptr, UndoJournal* journal = nullptr);

// Writes a file's whole new content to the sink; false when a write fails.
using ContentWriter = std::function<bool(ContentSink& sink)>;
// The same with the content produced by `write_content`, which may be
// called more than once (once per attempt).
void ReplaceWholeFile(const std::string& path, const ContentWriter& write_content,
                      const FileVersion* unchanged_since = nullptr, UndoJournal* journal = nullptr);

// A save begun: the new content written into a temporary file beside the
// file, not yet on the disk nor in the file's place. Dropped unfinished,
// the file stays as it was and the temporary file goes.
class PendingSave {
public:
    virtual ~PendingSave() = default;
    // Waits for the new content to reach the disk; throws as
    // ReplaceWholeFile does. Several saves synced before any finishes may
    // share one wait of the disk.
    virtual void Sync() = 0;
    // Keeps the file's old content in the journal, before or after Sync;
    // throws as ReplaceWholeFile does. Several saves kept before any
    // finishes share one wait of the disk for the journal, and with it the
    // wait for their own data.
    virtual void Keep() = 0;
    // Syncs and keeps, unless that was done, checks that the file is as it
    // was read, then puts the new content in the file's place; throws as
    // ReplaceWholeFile does.
    virtual void Finish() = 0;
};

// ReplaceWholeFile up to that last step, which it leaves to the caller (on
// another thread, say); null when the save was done whole (a file written
// in place). `write_content` is not used once it returns.
[[nodiscard]] std::unique_ptr<PendingSave> BeginReplaceWholeFile(
    const std::string& path, const ContentWriter& write_content,
    const FileVersion* unchanged_since = nullptr, UndoJournal* journal = nullptr);

// A file's new content written ahead of its save into a temporary file
// beside it, which replaces the file only once taken as a save and
// finished; dropped unused, the temporary file goes with it.
class StagedReplacement {
public:
    virtual ~StagedReplacement() = default;
    // The save of the staged content, begun as BeginReplaceWholeFile would
    // begin it, if the path still names the file it was staged for with
    // the owner, permissions and links it had then, and in the state
    // `unchanged_since` (when given); its old content is kept in `journal`
    // (when given) as it finishes. Otherwise the staged file goes, the
    // file is left as it is and null is returned, for the caller to save
    // the usual way and meet whatever stands in its way.
    [[nodiscard]] virtual std::unique_ptr<PendingSave> Take(const FileVersion* unchanged_since,
                                                            UndoJournal* journal) = 0;
};

// Writes the content `write_content` produces for the file at `path` ahead
// of its save, leaving the file itself untouched, and with `sync_now` waits
// for it to reach the disk (otherwise its save does); null, leaving nothing
// behind, where the save could not go through a temporary file (it would
// write in place) or anything fails. Never throws.
[[nodiscard]] std::unique_ptr<StagedReplacement> StageReplacement(
    const std::string& path, const ContentWriter& write_content, bool sync_now) noexcept;

// Appends `bytes` to the existing file at `path`; on failure the file is
// cut back to its old length. Throws EngineError.
void AppendToFile(const std::string& path, std::string_view bytes);

// Cuts the file at `path` back to its first `keep` bytes (all of them when
// it has fewer) and appends `bytes`, creating the file when it is gone; on
// failure the file is cut back to that length. Throws EngineError.
void ReplaceFileTail(const std::string& path, std::int64_t keep, std::string_view bytes);

// Up to the first `limit` bytes of the file at `path` (fewer when it is
// shorter); nullopt when it cannot be opened or read.
[[nodiscard]] std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit);

// The last byte of the file at `path`; nullopt when the file is empty or
// cannot be read.
[[nodiscard]] std::optional<char> LastByteOf(const std::string& path);

// Copies the file at `from` over `to` the same safe way (a link at `to`
// is replaced, never followed). Returns false on any failure.
bool CopyWholeFile(const std::string& from, const std::string& to) noexcept;

// The prefix of this program's temporary files, so a user recognises one
// that a crash left behind: ".<name>.korv-tmp-<random>" (a long name cut).
inline constexpr std::string_view kTempMarker = ".korv-tmp-";

}  // namespace korv
