#include "file_ops.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "engine_error.h"
#include "fd_sink.h"
#include "sys_calls.h"
#include "unique_fd.h"

namespace korv {

namespace {

// Files of 2 GiB and more lie outside the text model's signed 32-bit lengths.
constexpr off_t kLargestFile = 0x7FFFFFFF;

// Writes all of `bytes`, from the descriptor's offset, or from the
// file's start when `from_start` (whatever the descriptor's offset).
bool WriteFully(int fd, std::string_view bytes, bool from_start) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const char* data = bytes.data() + done;
        const std::size_t size = bytes.size() - done;
        ssize_t n = from_start ? sys::PWrite(fd, data, size, static_cast<off_t>(done))
                               : sys::Write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Reads `size` bytes from the start of `fd`; false on an error or early end.
bool ReadExactly(int fd, char* into, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = sys::PRead(fd, into + done, size - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = 0;  // an early end, not an error of the system
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

FileVersion VersionFrom(const struct stat& st) {
    constexpr std::int64_t kNsPerSecond = 1'000'000'000;
    return FileVersion{
        {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)},
        static_cast<std::int64_t>(st.st_size),
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * kNsPerSecond + st.st_mtim.tv_nsec,
        S_ISREG(st.st_mode)};
}

// Throws unless the file `st` describes is still in the state it was read
// in: another program that wrote it since would lose its bytes to ours.
void CheckUnchanged(const std::string& path, const struct stat& st,
                    const FileVersion* unchanged_since) {
    if (unchanged_since != nullptr && !(VersionFrom(st) == *unchanged_since)) {
        throw CannotOpenFile(path, "Another program changed it since it was read");
    }
}

// The same for the file `target` names now.
void CheckStillUnchanged(const std::string& path, const std::string& target,
                         const FileVersion* unchanged_since) {
    if (unchanged_since == nullptr) {
        return;
    }
    struct stat st {};
    if (sys::Stat(target.c_str(), &st) != 0) {
        throw CannotOpenFile(path, errno);
    }
    CheckUnchanged(path, st, unchanged_since);
}

std::string DirectoryOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The target a write through `path` reaches: symbolic links resolved, so
// the link stays and its target is replaced. Empty for a dangling link.
std::string ResolveLinks(const std::string& path) {
    return sys::RealPath(path.c_str());
}

// A temporary file beside `target`, named so a user recognises a leftover.
struct TempFile {
    std::string path;
    UniqueFd fd;
};

bool CreateTempBeside(const std::string& target, mode_t mode, TempFile& temp, int& error) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    // The name must fit in a folder entry (NAME_MAX bytes) with the dot,
    // the marker and nine digits, or a long-named file would lose its safe
    // save and its first backup: cut the file's name to make room.
    std::string base = BaseNameOf(target);
    constexpr std::size_t kRoom = NAME_MAX - 1 - kTempMarker.size() - 9;
    if (base.size() > kRoom) {
        base.resize(kRoom);
    }
    const std::string prefix = DirectoryOf(target) + "/." + base + std::string(kTempMarker);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = prefix + std::to_string(random() % 1000000000ULL);
        int fd = sys::Open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            temp.path = std::move(name);
            temp.fd.Reset(fd);
            return true;
        }
        if (errno != EEXIST) {
            error = errno;
            return false;
        }
    }
    error = EEXIST;
    return false;
}

// Opens `path` for writing without waiting for a reader: a named pipe
// that no one reads fails at once (ENXIO) instead of hanging the program.
// Writes on the descriptor block as usual.
int OpenForWriting(const std::string& path, int flags, mode_t mode = 0) {
    int fd = sys::Open(path.c_str(), flags | O_NONBLOCK, mode);
    if (fd >= 0) {
        int status = sys::Fcntl(fd, F_GETFL, 0);
        if (status != -1) {
            sys::Fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
        }
    }
    return fd;
}

// Empties the file open as `fd` and writes `bytes` into it from the start.
bool PutBack(int fd, std::string_view bytes) {
    return sys::FTruncate(fd, 0) == 0 && WriteFully(fd, bytes, true);
}

// Has `write_content` write the whole new content into memory. A writer
// may read from the very file about to be overwritten (a big file is
// searched where it lies), so it must run before that file is touched.
bool StageContent(const ContentWriter& write_content, ByteBuffer& content) {
    UniqueFd staging(sys::AnonymousFile());
    struct stat st {};
    FdSink sink(staging.Get());
    if (!staging.Valid() || !write_content(sink) || sys::FStat(staging.Get(), &st) != 0) {
        return false;
    }
    content.Clear();
    content.Resize(static_cast<std::size_t>(st.st_size));
    return ReadExactly(staging.Get(), content.Data(), content.Size());
}

// Writes the new content over the regular file `target` open as `fd`,
// keeping its old content to put back if the write fails, the close
// included: a failed close may mean the new bytes never reached the disk,
// and a file reported as not written must hold its old bytes.
void OverwriteInPlace(UniqueFd fd, const std::string& path, const std::string& target,
                      std::size_t old_size, const ContentWriter& write_content,
                      const FileVersion* unchanged_since) {
    ByteBuffer old_bytes;
    old_bytes.Resize(old_size);
    if (!ReadExactly(fd.Get(), old_bytes.Data(), old_size)) {
        throw StreamWriteError();
    }
    // The new content is complete before the file is emptied, so a writer
    // that fails leaves it as it was.
    ByteBuffer content;
    if (!StageContent(write_content, content)) {
        throw StreamWriteError();
    }
    if (unchanged_since != nullptr) {
        struct stat st {};
        if (sys::FStat(fd.Get(), &st) != 0) {
            throw CannotOpenFile(path, errno);
        }
        CheckUnchanged(path, st, unchanged_since);
    }
    if (!PutBack(fd.Get(), content.View())) {
        // Put the old bytes back; the error is reported either way.
        PutBack(fd.Get(), old_bytes.View());
        throw StreamWriteError();
    }
    if (sys::Close(fd.Release()) != 0) {
        UniqueFd again(sys::Open(target.c_str(), O_WRONLY | O_CLOEXEC));
        if (again.Valid()) {
            PutBack(again.Get(), old_bytes.View());
        }
        throw StreamWriteError();
    }
}

void WriteInPlace(const std::string& path, const std::string& target,
                  const ContentWriter& write_content, const FileVersion* unchanged_since) {
    struct stat st {};
    const bool found = sys::Stat(target.c_str(), &st) == 0;
    if (!found && errno != ENOENT) {
        // Unknown is not "no regular file": writing blind could empty it.
        throw CannotCreateFile(path, errno);
    }
    if (found && S_ISREG(st.st_mode)) {
        UniqueFd fd(sys::Open(target.c_str(), O_RDWR | O_CLOEXEC));
        if (!fd.Valid()) {
            throw CannotCreateFile(path, errno);
        }
        if (sys::FStat(fd.Get(), &st) != 0) {
            throw CannotCreateFile(path, errno);
        }
        OverwriteInPlace(std::move(fd), path, target, static_cast<std::size_t>(st.st_size),
                         write_content, unchanged_since);
        return;
    }
    if (unchanged_since != nullptr) {
        // What was read was a regular file: this is another one, or none.
        throw CannotOpenFile(
            path, found ? "Another program changed it since it was read" : SystemErrorText(ENOENT));
    }
    // Not a regular file (a device, a new file behind a dangling link):
    // nothing to keep, so write it directly.
    UniqueFd fd(OpenForWriting(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.Valid()) {
        throw CannotCreateFile(path, errno);
    }
    FdSink sink(fd.Get());
    if (!write_content(sink) || sys::Close(fd.Release()) != 0) {
        throw StreamWriteError();
    }
}

// Gives the file open as `fd` the extended attributes of `from` (access
// control lists, labels, user attributes); false when one cannot be read
// or set.
bool CopyExtendedAttributes(const std::string& from, int fd) {
    ssize_t size = sys::ListXattr(from.c_str(), nullptr, 0);
    if (size == 0 || (size < 0 && (errno == ENOTSUP || errno == ENOSYS))) {
        return true;
    }
    if (size < 0) {
        return false;
    }
    std::string names(static_cast<std::size_t>(size), '\0');
    size = sys::ListXattr(from.c_str(), names.data(), names.size());
    if (size < 0) {
        return false;
    }
    names.resize(static_cast<std::size_t>(size));
    std::string value;
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.c_str() + at;
        at += std::strlen(name) + 1;
        ssize_t length = sys::GetXattr(from.c_str(), name, nullptr, 0);
        if (length < 0) {
            return false;
        }
        value.resize(static_cast<std::size_t>(length));
        length = sys::GetXattr(from.c_str(), name, value.data(), value.size());
        if (length < 0 ||
            sys::FSetXattr(fd, name, value.data(), static_cast<std::size_t>(length)) != 0) {
            return false;
        }
    }
    return true;
}

void Discard(TempFile& temp) {
    temp.fd.Reset();
    sys::Unlink(temp.path.c_str());
}

// Creates the temporary file that is to replace the existing regular file
// `target` (described by `st`), with its owner, permissions and extended
// attributes; false, leaving none, where the replace would lose one of
// them or the folder takes no new file: the file is then written in place.
bool CreateTempReplacing(const std::string& target, const struct stat& st, TempFile& temp) {
    int error = 0;
    if (!CreateTempBeside(target, 0600, temp, error)) {
        return false;  // a folder we cannot create files in
    }
    bool owner_differs = st.st_uid != ::geteuid() || st.st_gid != ::getegid();
    if (owner_differs && sys::FChown(temp.fd.Get(), st.st_uid, st.st_gid) != 0) {
        // A rename would hand the file to us: keep its owner instead.
        Discard(temp);
        return false;
    }
    if (sys::FChmod(temp.fd.Get(), st.st_mode & 07777) != 0 ||
        !CopyExtendedAttributes(target, temp.fd.Get())) {
        // Permissions, access lists or labels a rename would lose.
        Discard(temp);
        return false;
    }
    return true;
}

// Writes the content `write_content` produces into the temporary file and
// closes it; false when a write or the close fails. On any failure, and
// when `write_content` throws (which goes on), the temporary file is gone.
bool FillTemp(TempFile& temp, const ContentWriter& write_content) {
    bool written = false;
    try {
        FdSink sink(temp.fd.Get());
        written = write_content(sink);
    } catch (...) {
        Discard(temp);
        throw;
    }
    if (!written) {
        Discard(temp);
        return false;
    }
    if (sys::Close(temp.fd.Release()) != 0) {
        sys::Unlink(temp.path.c_str());
        return false;
    }
    return true;
}

// The safe write shared by saving and copying. `follow_links` says whether
// a link at `path` is written through (saving) or replaced (a backup copy).
// `mode_of` gives the permission bits of a file that does not exist yet.
void SafeWrite(const std::string& path, const ContentWriter& write_content, bool follow_links,
               const struct stat* mode_of, const FileVersion* unchanged_since) {
    std::string target = path;
    struct stat st {};
    bool exists = false;
    if (sys::LStat(path.c_str(), &st) == 0) {
        exists = true;
        if (S_ISLNK(st.st_mode) && follow_links) {
            target = ResolveLinks(path);
            if (target.empty() || sys::Stat(target.c_str(), &st) != 0) {
                // A dangling link: the write creates its target, as a
                // direct write through the link would.
                WriteInPlace(path, path, write_content, unchanged_since);
                return;
            }
        }
    } else if (errno != ENOENT) {
        throw CannotCreateFile(path, errno);
    }

    if (exists && !S_ISLNK(st.st_mode)) {
        if (!S_ISREG(st.st_mode)) {
            if (S_ISDIR(st.st_mode)) {
                throw CannotCreateFile(path, EISDIR);
            }
            WriteInPlace(path, target, write_content, unchanged_since);
            return;
        }
        // A file we may not write stays as it is, whatever its folder allows.
        if (sys::FAccessAt(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            throw CannotCreateFile(path, errno);
        }
        if (st.st_nlink > 1) {
            WriteInPlace(path, target, write_content, unchanged_since);
            return;
        }
    }

    const bool replace_existing = exists && !S_ISLNK(st.st_mode);
    const mode_t mode = replace_existing ? (st.st_mode & 07777)
                        : mode_of        ? (mode_of->st_mode & 07777)
                                         : 0666;
    TempFile temp;
    if (replace_existing) {
        if (!CreateTempReplacing(target, st, temp)) {
            WriteInPlace(path, target, write_content, unchanged_since);
            return;
        }
    } else {
        int error = 0;
        if (!CreateTempBeside(target, mode, temp, error)) {
            throw CannotCreateFile(path, error);
        }
    }
    if (!FillTemp(temp, write_content)) {
        throw StreamWriteError();
    }
    try {
        CheckStillUnchanged(path, target, unchanged_since);
    } catch (...) {
        sys::Unlink(temp.path.c_str());
        throw;
    }
    if (sys::Rename(temp.path.c_str(), target.c_str()) != 0) {
        int rename_error = errno;
        sys::Unlink(temp.path.c_str());
        throw CannotCreateFile(path, rename_error);
    }
}

// Whether two states of a file are the same file with the same owner,
// permissions, links and last change: then what a save checks and copies
// over before it writes is still as it was.
bool SameStanding(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_mode == b.st_mode &&
           a.st_uid == b.st_uid && a.st_gid == b.st_gid && a.st_nlink == b.st_nlink &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// The regular file a save of `path` would replace through a temporary file,
// following links as saving does; false where it would write in place.
bool ReplacedThroughTemp(const std::string& path, std::string& target, struct stat& st) {
    target = path;
    if (sys::LStat(path.c_str(), &st) != 0) {
        return false;
    }
    if (S_ISLNK(st.st_mode)) {
        target = ResolveLinks(path);
        if (target.empty() || sys::Stat(target.c_str(), &st) != 0) {
            return false;
        }
    }
    return S_ISREG(st.st_mode) && st.st_nlink == 1 &&
           sys::FAccessAt(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

class PosixStagedReplacement final : public StagedReplacement {
public:
    PosixStagedReplacement(std::string path, std::string target, std::string temp,
                           const struct stat& st)
        : path_(std::move(path)), target_(std::move(target)), temp_(std::move(temp)), st_(st) {}
    ~PosixStagedReplacement() override {
        if (!temp_.empty()) {
            sys::Unlink(temp_.c_str());
        }
    }
    PosixStagedReplacement(const PosixStagedReplacement&) = delete;
    PosixStagedReplacement& operator=(const PosixStagedReplacement&) = delete;

    bool Commit(const FileVersion* unchanged_since) override {
        std::string target;
        struct stat st {};
        const bool stands = ReplacedThroughTemp(path_, target, st) && target == target_ &&
                            SameStanding(st, st_) &&
                            (unchanged_since == nullptr || VersionFrom(st) == *unchanged_since);
        if (!stands || sys::Rename(temp_.c_str(), target_.c_str()) != 0) {
            sys::Unlink(temp_.c_str());
            temp_.clear();
            return false;
        }
        temp_.clear();
        return true;
    }

private:
    std::string path_;
    std::string target_;
    std::string temp_;  // empty once renamed or removed
    struct stat st_;
};

// Stages the new content of `path`; see StageReplacement.
std::unique_ptr<StagedReplacement> StageThroughTemp(const std::string& path,
                                                    const ContentWriter& write_content) {
    std::string target;
    struct stat st {};
    TempFile temp;
    if (!ReplacedThroughTemp(path, target, st) || !CreateTempReplacing(target, st, temp)) {
        return nullptr;
    }
    if (!FillTemp(temp, write_content)) {
        return nullptr;  // left for the save itself to meet
    }
    return std::make_unique<PosixStagedReplacement>(path, std::move(target), std::move(temp.path),
                                                    st);
}

// Cuts the file at `path` back to `keep` bytes (when given and shorter)
// and appends `bytes`; a failed write is cut back to where it began.
void WriteTail(const std::string& path, int flags, std::optional<std::int64_t> keep,
               std::string_view bytes) {
    UniqueFd fd(OpenForWriting(path, O_WRONLY | O_APPEND | O_CLOEXEC | flags, 0666));
    if (!fd.Valid()) {
        throw CannotCreateFile(path, errno);
    }
    struct stat st {};
    if (sys::FStat(fd.Get(), &st) != 0) {
        throw CannotCreateFile(path, errno);
    }
    std::int64_t start = st.st_size;
    if (keep && *keep < start) {
        start = *keep;
        if (sys::FTruncate(fd.Get(), start) != 0) {
            throw StreamWriteError();
        }
    }
    if (!WriteFully(fd.Get(), bytes, false)) {
        // Leave no half line behind.
        sys::FTruncate(fd.Get(), start);
        throw StreamWriteError();
    }
    if (sys::Close(fd.Release()) != 0) {
        throw StreamWriteError();
    }
}

}  // namespace

bool FdSink::Write(std::string_view bytes) {
    return WriteFully(fd_, bytes, false);
}

namespace {

// Opens the regular file at `path` for a whole read, non-blocking so a
// named pipe in the list cannot hang the run, and gives its size.
UniqueFd OpenWhole(const std::string& path, std::size_t& size, FileVersion* version) {
    UniqueFd fd(sys::Open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.Valid()) {
        throw CannotOpenFile(path, errno);
    }
    struct stat st {};
    if (sys::FStat(fd.Get(), &st) != 0) {
        throw CannotOpenFile(path, errno);
    }
    if (S_ISDIR(st.st_mode)) {
        throw CannotOpenFile(path, EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        throw CannotOpenFile(path, "It is not a regular file");
    }
    if (st.st_size > kLargestFile) {
        throw CannotOpenFile(path, EFBIG);
    }
    size = static_cast<std::size_t>(st.st_size);
    if (version != nullptr) {
        *version = VersionFrom(st);
    }
    return fd;
}

void ReadWhole(const std::string& path, int fd, char* into, std::size_t size) {
    if (!ReadExactly(fd, into, size)) {
        throw CannotOpenFile(path, errno != 0 ? SystemErrorText(errno)
                                              : std::string("The file could not be read in full"));
    }
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    std::size_t size = 0;
    UniqueFd fd = OpenWhole(path, size, nullptr);
    std::string bytes(size, '\0');
    ReadWhole(path, fd.Get(), bytes.data(), size);
    return bytes;
}

std::optional<FileVersion> VersionOf(const std::string& path, bool follow_links) {
    struct stat st {};
    if ((follow_links ? sys::Stat(path.c_str(), &st) : sys::LStat(path.c_str(), &st)) != 0) {
        return std::nullopt;
    }
    return VersionFrom(st);
}

std::optional<FileSize> SizeOf(const std::string& path) {
    const std::optional<FileVersion> version = VersionOf(path);
    if (!version) {
        return std::nullopt;
    }
    return FileSize{version->size, version->regular};
}

std::unique_ptr<MappedFile> ReadOrMapWholeFile(const std::string& path, ByteBuffer& into,
                                               FileVersion* version) {
    // Below this size a read costs less than setting up a mapping.
    constexpr std::size_t kMapFrom = std::size_t{1} << 20;
    std::size_t size = 0;
    UniqueFd fd = OpenWhole(path, size, version);
    if (size >= kMapFrom) {
        if (std::unique_ptr<MappedFile> mapped = MappedFile::Map(fd.Get(), size)) {
            return mapped;
        }
    }
    into.Clear();  // nothing to keep: no copy when it grows
    into.Resize(size);
    ReadWhole(path, fd.Get(), into.Data(), size);
    return nullptr;
}

void ReplaceWholeFile(const std::string& path, const ContentWriter& write_content,
                      const FileVersion* unchanged_since) {
    SafeWrite(path, write_content, /*follow_links=*/true, nullptr, unchanged_since);
}

std::unique_ptr<StagedReplacement> StageReplacement(const std::string& path,
                                                    const ContentWriter& write_content) noexcept {
    try {
        return StageThroughTemp(path, write_content);
    } catch (...) {
        return nullptr;  // the save itself meets what failed here
    }
}

void AppendToFile(const std::string& path, std::string_view bytes) {
    WriteTail(path, 0, std::nullopt, bytes);
}

void ReplaceFileTail(const std::string& path, std::int64_t keep, std::string_view bytes) {
    WriteTail(path, O_CREAT, keep, bytes);
}

std::optional<std::string> ReadFileHead(const std::string& path, std::size_t limit) {
    const UniqueFd fd(sys::Open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.Valid()) {
        return std::nullopt;
    }
    std::string head(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = sys::Read(fd.Get(), head.data() + got, limit - got);
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        got += static_cast<std::size_t>(n);
    }
    head.resize(got);
    return head;
}

std::optional<char> LastByteOf(const std::string& path) {
    UniqueFd fd(sys::Open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    char last = 0;
    if (!fd.Valid() || sys::FStat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0 ||
        sys::PRead(fd.Get(), &last, 1, st.st_size - 1) != 1) {
        return std::nullopt;
    }
    return last;
}

bool CopyWholeFile(const std::string& from, const std::string& to) noexcept {
    try {
        struct stat st {};
        if (sys::Stat(from.c_str(), &st) != 0) {
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
            /*follow_links=*/false, &st, nullptr);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace korv
