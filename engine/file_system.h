#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "file_ops.h"
#include "mapped_file.h"

// The file primitives of the system layer: each one thin call of the
// system (or the few a system needs for one thing), and each first asking
// the fault plan (file_fault.h) whether it should fail. posix/ and win32/
// file_system.cpp implement them. Every policy built on them (the safe
// save, the in-place write, the backup copy, the log's tail and the order
// of the syncs) is written once, in the portable core.
//
// A primitive fails by returning false or an empty value, with the
// system's code of the failure in LastError() (errno on POSIX, a
// GetLastError() code on Windows), which the messages of engine_error.h
// take as it is.
namespace korv::fs {

// The code of the last failure of a primitive on this thread.
[[nodiscard]] int LastError();

// Failures the core tells apart, whatever the system calls them.
enum class Failure {
    kNotFound,  // no file or folder of that name
    kExists,    // a new file's name is taken
    kIsFolder,  // a folder where a file is to be written
};
[[nodiscard]] bool Is(int error, Failure failure);
// The system's code for `failure`, for the core's own messages.
[[nodiscard]] int CodeOf(Failure failure);

// An open file, closed when it goes; it remembers the path it was opened
// under, for the fault plan and for messages.
class File {
public:
    using Native = std::intptr_t;

    File() = default;
    File(Native native, std::string path) : native_(native), path_(std::move(path)) {}
    ~File() { Close(); }
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    [[nodiscard]] bool Valid() const { return native_ != kNone; }
    [[nodiscard]] Native Get() const { return native_; }
    [[nodiscard]] const std::string& Path() const { return path_; }
    // Closes now and tells whether the close succeeded: a close that fails
    // may mean the bytes written never reached the disk.
    bool Close();

    static constexpr Native kNone = -1;

private:
    Native native_ = kNone;
    std::string path_;
};

inline File::File(File&& other) noexcept
    : native_(std::exchange(other.native_, kNone)), path_(std::move(other.path_)) {}

inline File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        native_ = std::exchange(other.native_, kNone);
        path_ = std::move(other.path_);
    }
    return *this;
}

// What a file is. `link` only when a name is asked about without
// following it.
enum class Kind { kRegular, kFolder, kLink, kOther };

// Whether a question must tell which file it is (version.file), which on
// Windows costs far more to ask than the rest.
enum class Identity { kNeeded, kNotNeeded };

// What a name or an open file stands for.
struct Facts {
    FileVersion version;  // version.file is {} unless Identity::kNeeded
    Kind kind = Kind::kOther;
    std::uint32_t links = 1;
    // Everything a replace carries over and a check of standing compares:
    // owner, permissions, attributes, the last change of any of them.
    std::array<std::int64_t, 4> standing{};
};

// The facts of what `path` names (through a symbolic link when
// `follow_links`).
[[nodiscard]] std::optional<Facts> FactsAt(const std::string& path, bool follow_links,
                                           Identity identity);
[[nodiscard]] std::optional<Facts> FactsOf(const File& file, Identity identity);

// Where a save through the symbolic link (or other reparse point) at
// `path` goes.
struct LinkTarget {
    enum class Way {
        kReplaceTarget,  // the file it points at is replaced; the link stays
        kDangling,       // it points at nothing: a direct write creates it
        kWriteThrough,   // the file is written in place through the link
    };
    Way way = Way::kWriteThrough;
    std::string path;  // the target, for kReplaceTarget
};
[[nodiscard]] LinkTarget TargetOfLink(const std::string& path);

// Whether this user may write the existing file `path`, whatever its
// folder allows (a file the user marked read-only stays as it is).
[[nodiscard]] bool MayWrite(const std::string& path, const Facts& facts);
// Whether a new file put in its place can have everything the file
// `facts` describes has, as far as its facts tell: one name only,
// attributes a new file can be given.
[[nodiscard]] bool ReplaceCanKeepAll(const Facts& facts);

// Whether a save's last step (its sync and rename) may run beside the
// reading of other files that may be the same file: not on Windows, where
// a file open for reading cannot be replaced, so saves there finish in turn.
[[nodiscard]] bool SavesFinishAside();

// How an existing file is opened.
enum class Access {
    kRead,    // a whole read; on Windows fails while another program writes it
    kUpdate,  // read and write in place, sharing reads only
    kAppend,  // writes go at the end
};
[[nodiscard]] File OpenExisting(const std::string& path, Access access);

// Creates a new file `path`, failing (Failure::kExists) when the name is
// taken. It starts with the permissions of `like` (those of a fresh file
// without), no more, but never read-only to this user, who writes it next.
[[nodiscard]] File CreateNew(const std::string& path, const Facts* like);
// Opens `path` for writing from its start, emptying it or creating it
// (through a dangling link, or a device): for what cannot be replaced.
[[nodiscard]] File OpenToOverwrite(const std::string& path);
// Opens `path` for writing at its end, creating it when it is not there.
[[nodiscard]] File OpenOrCreateToAppend(const std::string& path);

// Maps the first `size` bytes (size > 0) of a file opened with kRead;
// null where the system will not, or where a file mapped could not be
// replaced while the mapping lives (Windows): it is then read.
[[nodiscard]] std::unique_ptr<MappedFile> MapWhole(const File& file, std::size_t size);

// Reads up to `size` bytes at `offset`; `got` is 0 at the end.
bool ReadAt(const File& file, std::int64_t offset, char* into, std::size_t size, std::size_t& got);
// Writes all of `bytes` at `offset`, going on after a short write.
bool WriteAt(const File& file, std::int64_t offset, std::string_view bytes);
// Writes all of `bytes` at the end of a file opened with kAppend.
bool Append(const File& file, std::string_view bytes);
bool Truncate(const File& file, std::int64_t length);

// Asks the system to start writing the file's data to the disk now, not
// waiting for it: a sync that follows has less left to wait for.
void StartWriteback(const File& file);
// Tells the system the cached pages of the file `path` will not be read
// again soon, so it frees them now rather than pushing other files' pages
// out later. A hint only, never failing: pages still mapped stay, and
// some systems keep no such hint (nothing is opened there).
void LetGoOfCache(const std::string& path);
// Returns once the file's data (and what is needed to read it back) is
// on the disk.
bool SyncData(const File& file);
// Returns once the names in `folder` (new, removed, replaced) are on the
// disk; true where the system keeps them so on its own.
bool SyncFolder(const std::string& folder);

// Gives the new file `to` (a closed temporary file) the owner, permissions,
// attributes and security of the file `from` described by `facts`; false
// when one of them cannot be carried over.
bool CarryOver(const std::string& from, const Facts& facts, const std::string& to);

// Puts the file named `from` in the place of `to`, which it replaces
// whole, in one step.
bool ReplaceName(const std::string& from, const std::string& to);
// Removes the file `path`. Reported to the fault plan but never made to
// fail by it: cleaning up after a failure is not itself a test's failure.
bool Remove(const std::string& path);
// Removes the empty folder `path`; reported to the fault plan as Remove is.
bool RemoveFolder(const std::string& path);

// Gives the existing file `existing` the further name `name` (a hard
// link), failing where the file system keeps one name per file or the two
// lie on different file systems.
bool MakeLink(const std::string& existing, const std::string& name);

// Takes the lock of the open file without waiting: false when another
// open file holds it, in this process or another. It goes with the close,
// and with the process that holds it.
bool TryLock(const File& file);

}  // namespace korv::fs
