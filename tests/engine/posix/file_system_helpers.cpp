#include "file_system_helpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "child_process.h"

namespace korv::test {

const bool kFolderNamesSynced = true;
const bool kBigFilesMapped = true;
const bool kXdgUserFolders = true;

namespace {

struct stat StatusOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        st = {};
        st.st_size = -1;
    }
    return st;
}

}  // namespace

std::string MissingFileText() {
    return "No such file or directory";
}

std::string MissingFolderText() {
    return MissingFileText();
}

std::string InFolder(const std::string& folder, const std::string& relative) {
    return folder + "/" + relative;
}

FileIdentity IdentityOf(const std::string& path) {
    const struct stat st = StatusOf(path);
    if (st.st_ino == 0) {
        return {};
    }
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::int64_t SizeOf(const std::string& path) {
    return StatusOf(path).st_size;
}

int LinkCountOf(const std::string& path) {
    return static_cast<int>(StatusOf(path).st_nlink);
}

bool MakeHardLink(const std::string& existing, const std::string& name) {
    return ::link(existing.c_str(), name.c_str()) == 0;
}

bool MakeReadOnly(const std::string& path) {
    return ::chmod(path.c_str(), 0444) == 0;
}

bool IsReadOnly(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

bool CutFile(const std::string& path, std::int64_t size) {
    return ::truncate(path.c_str(), static_cast<off_t>(size)) == 0;
}

bool MakeSparseFile(const std::string& path, const std::string& head, std::int64_t size) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    bool ok = ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
              ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    return ::close(fd) == 0 && ok;
}

bool MakeSymbolicLink(const std::string& target, const std::string& name) {
    return ::symlink(target.c_str(), name.c_str()) == 0;
}

bool IsSymbolicLink(const std::string& path) {
    return S_ISLNK(StatusOf(path).st_mode);
}

bool SymbolicLinksWork() {
    return true;
}

bool GiveSettings(const std::string& path, std::uint32_t mode) {
    return ::chmod(path.c_str(), static_cast<mode_t>(mode)) == 0;
}

std::uint32_t SettingsOf(const std::string& path) {
    return StatusOf(path).st_mode & 07777;
}

std::uint32_t SettingsFor(std::uint32_t mode) {
    return mode;
}

// From a child process, as another program would.
bool WriteAsAnotherProgram(const std::string& path, const std::string& bytes, OtherWrite how) {
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) {
        return false;
    }
    const int status = RunInChild([&] {
        const std::string target =
            how == OtherWrite::kAnotherFileOfTheSameSizeAndTime ? path + ".new" : path;
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 ||
            ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::close(fd) != 0) {
            return 1;
        }
        if (how != OtherWrite::kOtherBytes) {
            timespec times[2] = {before.st_atim, before.st_mtim};
            if (how == OtherWrite::kSameSizeOneTickLater) {
                times[1].tv_nsec = (times[1].tv_nsec + 1) % 1'000'000'000;
                times[1].tv_sec += times[1].tv_nsec == 0 ? 1 : 0;
            }
            if (::utimensat(AT_FDCWD, target.c_str(), times, 0) != 0) {
                return 2;
            }
        }
        if (target != path && ::rename(target.c_str(), path.c_str()) != 0) {
            return 3;
        }
        return 0;
    });
    return status == 0;
}

std::string ReadAt(const std::string& path, std::int64_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    ssize_t n = ::pread(fd, bytes.data(), size, static_cast<off_t>(offset));
    ::close(fd);
    bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return bytes;
}

}  // namespace korv::test
