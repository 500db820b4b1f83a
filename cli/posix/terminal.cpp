#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "engine_error.h"
#include "terminal.h"

namespace korv::cli {

void UseExactOutput() {
    // Output streams pass their bytes as they are on POSIX.
}

bool IsTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

int TerminalColumns(std::FILE* stream) {
    winsize size{};
    if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
}

std::string ReadStandardInput() {
    std::string bytes;
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, block, sizeof block);
        if (n == 0) {
            return bytes;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw EngineError("Cannot read standard input. " + SystemErrorText(errno));
        }
        bytes.append(block, static_cast<std::size_t>(n));
    }
}

namespace {

struct FolderCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

EntryKind KindOf(int dir_fd, const char* name, unsigned char type) {
    switch (type) {
        case DT_REG:
            return EntryKind::File;
        case DT_DIR:
            return EntryKind::Folder;
        case DT_LNK:
        case DT_UNKNOWN:
            break;
        default:
            return EntryKind::Other;
    }
    struct stat own {};
    if (::fstatat(dir_fd, name, &own, AT_SYMLINK_NOFOLLOW) != 0) {
        return EntryKind::Other;
    }
    if (S_ISDIR(own.st_mode)) {
        return EntryKind::Folder;
    }
    if (!S_ISLNK(own.st_mode)) {
        return S_ISREG(own.st_mode) ? EntryKind::File : EntryKind::Other;
    }
    struct stat target {};
    return ::fstatat(dir_fd, name, &target, 0) == 0 && S_ISREG(target.st_mode) ? EntryKind::File
                                                                               : EntryKind::Other;
}

}  // namespace

bool ListFolder(const std::string& path, std::vector<FolderItem>& items, std::string& problem) {
    const std::unique_ptr<DIR, FolderCloser> dir(::opendir(path.c_str()));
    if (!dir) {
        problem = SystemErrorText(errno);
        return false;
    }
    const int dir_fd = ::dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            if (errno != 0) {
                problem = SystemErrorText(errno);
                return false;
            }
            return true;
        }
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
            continue;
        }
        items.push_back({name, KindOf(dir_fd, name, entry->d_type)});
    }
}

}  // namespace korv::cli
