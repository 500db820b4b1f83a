#include "file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "file_fault.h"
#include "mapped_file.h"

namespace korv::fs {

namespace {

// True (with errno set) when the fault plan makes this call fail.
bool Injected(FileCall call, const FileCallDetail& detail = {}) {
    const int error = InjectedFault(call, detail);
    if (error == 0) {
        return false;
    }
    errno = error;
    return true;
}

int Fd(const File& file) {
    return static_cast<int>(file.Get());
}

Facts FactsFrom(const struct stat& st) {
    constexpr std::int64_t kNsPerSecond = 1'000'000'000;
    Facts facts;
    facts.version = FileVersion{
        {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)},
        static_cast<std::int64_t>(st.st_size),
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * kNsPerSecond + st.st_mtim.tv_nsec,
        S_ISREG(st.st_mode)};
    facts.kind = S_ISREG(st.st_mode)   ? Kind::kRegular
                 : S_ISDIR(st.st_mode) ? Kind::kFolder
                 : S_ISLNK(st.st_mode) ? Kind::kLink
                                       : Kind::kOther;
    facts.links = static_cast<std::uint32_t>(st.st_nlink);
    facts.standing = {
        static_cast<std::int64_t>(st.st_mode), static_cast<std::int64_t>(st.st_uid),
        static_cast<std::int64_t>(st.st_gid),
        static_cast<std::int64_t>(st.st_ctim.tv_sec) * kNsPerSecond + st.st_ctim.tv_nsec};
    return facts;
}

mode_t ModeOf(const Facts& facts) {
    return static_cast<mode_t>(facts.standing[0]) & 07777;
}

// Opens without waiting for a writer or a reader: a named pipe in the list
// fails or reads empty at once instead of hanging the program. Reads and
// writes on the descriptor then block as usual.
int OpenNonBlocking(const std::string& path, int flags, mode_t mode = 0) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd >= 0) {
        const int status = ::fcntl(fd, F_GETFL, 0);
        if (status != -1) {
            ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
        }
    }
    return fd;
}

File Opened(int fd, const std::string& path) {
    return fd >= 0 ? File(fd, path) : File();
}

// Gives the file `to` the extended attributes of `from` (access control
// lists, labels, user attributes); false when one cannot be read or set.
bool CopyExtendedAttributes(const std::string& from, const std::string& to) {
    ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
    if (size == 0 || (size < 0 && (errno == ENOTSUP || errno == ENOSYS))) {
        return true;
    }
    if (size < 0) {
        return false;
    }
    std::string names(static_cast<std::size_t>(size), '\0');
    size = ::listxattr(from.c_str(), names.data(), names.size());
    if (size < 0) {
        return false;
    }
    names.resize(static_cast<std::size_t>(size));
    std::string value;
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.c_str() + at;
        at += std::strlen(name) + 1;
        ssize_t length = ::getxattr(from.c_str(), name, nullptr, 0);
        if (length < 0) {
            return false;
        }
        value.resize(static_cast<std::size_t>(length));
        length = ::getxattr(from.c_str(), name, value.data(), value.size());
        if (length < 0 ||
            ::setxattr(to.c_str(), name, value.data(), static_cast<std::size_t>(length), 0) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

int LastError() {
    return errno;
}

bool Is(int error, Failure failure) {
    return error == CodeOf(failure);
}

int CodeOf(Failure failure) {
    switch (failure) {
        case Failure::kNotFound:
            return ENOENT;
        case Failure::kExists:
            return EEXIST;
        case Failure::kIsFolder:
            return EISDIR;
    }
    return EIO;
}

bool File::Close() {
    if (native_ == kNone) {
        return true;
    }
    const int fd = static_cast<int>(native_);
    native_ = kNone;
    if (Injected(FileCall::kClose, {path_})) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    return ::close(fd) == 0;
}

std::optional<Facts> FactsAt(const std::string& path, bool follow_links, Identity) {
    struct stat st {};
    if (Injected(FileCall::kStatus, {path}) ||
        (follow_links ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) {
        return std::nullopt;
    }
    return FactsFrom(st);
}

std::optional<Facts> FactsOf(const File& file, Identity) {
    struct stat st {};
    if (Injected(FileCall::kStatus, {file.Path()}) || ::fstat(Fd(file), &st) != 0) {
        return std::nullopt;
    }
    return FactsFrom(st);
}

LinkTarget TargetOfLink(const std::string& path) {
    if (Injected(FileCall::kResolve, {path})) {
        return {LinkTarget::Way::kDangling, {}};
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return {LinkTarget::Way::kDangling, {}};
    }
    std::string target = resolved;
    std::free(resolved);
    return {LinkTarget::Way::kReplaceTarget, std::move(target)};
}

bool MayWrite(const std::string& path, const Facts&) {
    return !Injected(FileCall::kAccess, {path}) &&
           ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool ReplaceCanKeepAll(const Facts& facts) {
    // A second name would go on naming the old file. The owner and the
    // extended attributes are known only when they are carried over.
    return facts.kind == Kind::kRegular && facts.links == 1;
}

File OpenExisting(const std::string& path, Access access) {
    if (Injected(FileCall::kOpen, {path})) {
        return {};
    }
    switch (access) {
        case Access::kRead:
            // Left non-blocking: it changes nothing for a regular file, and a
            // named pipe then reads empty or fails at once.
            return Opened(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), path);
        case Access::kUpdate:
            return Opened(::open(path.c_str(), O_RDWR | O_CLOEXEC), path);
        case Access::kAppend:
            return Opened(OpenNonBlocking(path, O_WRONLY | O_APPEND), path);
    }
    return {};
}

File CreateNew(const std::string& path, const Facts* like) {
    const mode_t mode = like != nullptr ? ModeOf(*like) : 0666;
    if (Injected(FileCall::kCreate, {path})) {
        return {};
    }
    // Writable by its maker until written: a file copied from a read-only
    // one must still take its bytes.
    return Opened(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode | 0200), path);
}

File OpenToOverwrite(const std::string& path) {
    if (Injected(FileCall::kCreate, {path})) {
        return {};
    }
    return Opened(OpenNonBlocking(path, O_WRONLY | O_CREAT | O_TRUNC, 0666), path);
}

File OpenOrCreateToAppend(const std::string& path) {
    if (Injected(FileCall::kCreate, {path})) {
        return {};
    }
    return Opened(OpenNonBlocking(path, O_WRONLY | O_APPEND | O_CREAT, 0666), path);
}

std::unique_ptr<MappedFile> MapWhole(const File& file, std::size_t size) {
    return MappedFile::Map(file.Get(), size);
}

bool ReadAt(const File& file, std::int64_t offset, char* into, std::size_t size, std::size_t& got) {
    got = 0;
    for (;;) {
        if (Injected(FileCall::kRead, {file.Path()})) {
            return false;
        }
        const ssize_t n = ::pread(Fd(file), into, size, static_cast<off_t>(offset));
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return true;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

namespace {

// Writes all of `bytes`, at `offset` or, when `offset` is negative, at
// the descriptor's own position.
bool WriteAll(const File& file, std::int64_t offset, std::string_view bytes) {
    const FileCallDetail detail{file.Path(), {}, offset, bytes, offset < 0};
    if (Injected(FileCall::kWrite, detail)) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const char* data = bytes.data() + done;
        const std::size_t size = bytes.size() - done;
        const ssize_t n = offset < 0 ? ::write(Fd(file), data, size)
                                     : ::pwrite(Fd(file), data, size,
                                                static_cast<off_t>(offset + std::int64_t(done)));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteAt(const File& file, std::int64_t offset, std::string_view bytes) {
    return WriteAll(file, offset, bytes);
}

bool Append(const File& file, std::string_view bytes) {
    return WriteAll(file, -1, bytes);
}

bool Truncate(const File& file, std::int64_t length) {
    return !Injected(FileCall::kTruncate, {file.Path(), {}, length}) &&
           ::ftruncate(Fd(file), static_cast<off_t>(length)) == 0;
}

void StartWriteback(const File& file) {
#if defined(SYNC_FILE_RANGE_WRITE)
    // A hint only: what it fails to start, the sync still does.
    ::sync_file_range(Fd(file), 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)file;
#endif
}

void LetGoOfCache(const std::string& path) {
    const File file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), path);
    if (file.Valid()) {
        ::posix_fadvise(Fd(file), 0, 0, POSIX_FADV_DONTNEED);
    }
}

bool SyncData(const File& file) {
    if (Injected(FileCall::kSyncData, {file.Path()})) {
        return false;
    }
    int result = 0;
    do {
        result = ::fdatasync(Fd(file));
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool SyncFolder(const std::string& folder) {
    if (Injected(FileCall::kSyncFolder, {folder})) {
        return false;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    // Some file systems take no sync of a folder; their names need none.
    const bool synced = result == 0 || errno == EINVAL || errno == EROFS;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

bool CarryOver(const std::string& from, const Facts& facts, const std::string& to) {
    if (Injected(FileCall::kCarryOver, {to})) {
        return false;
    }
    const auto uid = static_cast<uid_t>(facts.standing[1]);
    const auto gid = static_cast<gid_t>(facts.standing[2]);
    // A rename would hand the file to us: keep its owner instead.
    if ((uid != ::geteuid() || gid != ::getegid()) && ::chown(to.c_str(), uid, gid) != 0) {
        return false;
    }
    return ::chmod(to.c_str(), ModeOf(facts)) == 0 && CopyExtendedAttributes(from, to);
}

bool ReplaceName(const std::string& from, const std::string& to) {
    return !Injected(FileCall::kReplaceName, {from, to}) && ::rename(from.c_str(), to.c_str()) == 0;
}

bool Remove(const std::string& path) {
    (void)InjectedFault(FileCall::kRemove, {path});
    return ::unlink(path.c_str()) == 0;
}

bool RemoveFolder(const std::string& path) {
    (void)InjectedFault(FileCall::kRemove, {path});
    return ::rmdir(path.c_str()) == 0;
}

bool MakeLink(const std::string& existing, const std::string& name) {
    if (Injected(FileCall::kLink, {existing, name})) {
        return false;
    }
    return ::link(existing.c_str(), name.c_str()) == 0;
}

bool TryLock(const File& file) {
    if (Injected(FileCall::kLock, {file.Path()})) {
        return false;
    }
    int result = 0;
    do {
        result = ::flock(Fd(file), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool SavesFinishAside() {
    // A rename replaces a name, whoever has the file open.
    return true;
}

}  // namespace korv::fs
