#include "folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "engine_error.h"
#include "sys_calls.h"

namespace korv {

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
    if (sys::FStatAt(dir_fd, name, &own, AT_SYMLINK_NOFOLLOW) != 0) {
        return EntryKind::Other;
    }
    if (S_ISDIR(own.st_mode)) {
        return EntryKind::Folder;
    }
    if (!S_ISLNK(own.st_mode)) {
        return S_ISREG(own.st_mode) ? EntryKind::File : EntryKind::Other;
    }
    struct stat target {};
    return sys::FStatAt(dir_fd, name, &target, 0) == 0 && S_ISREG(target.st_mode)
               ? EntryKind::File
               : EntryKind::Other;
}

}  // namespace

bool ListFolder(const std::string& path, std::vector<FolderItem>& items, std::string& problem) {
    const std::unique_ptr<DIR, FolderCloser> dir(sys::OpenDir(path.c_str()));
    if (!dir) {
        problem = SystemErrorText(errno);
        return false;
    }
    const int dir_fd = ::dirfd(dir.get());
    for (;;) {
        const dirent* entry = sys::ReadDir(dir.get());
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

bool IsFolder(const std::string& path) {
    struct stat st {};
    return sys::Stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace korv
