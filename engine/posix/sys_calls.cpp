#include "sys_calls.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>

#include "file_fault.h"

namespace korv::sys {

namespace {
// True (with errno set) when the fault plan makes this call fail.
bool Injected(FileCall call, const char* path = "") {
    const int error = InjectedFault(call, {path});
    if (error == 0) {
        return false;
    }
    errno = error;
    return true;
}
}  // namespace

int FStatAt(int dir_fd, const char* name, struct stat* st, int flags) {
    return Injected(FileCall::kStatus, name) ? -1 : ::fstatat(dir_fd, name, st, flags);
}
int Stat(const char* path, struct stat* st) {
    return Injected(FileCall::kStatus, path) ? -1 : ::stat(path, st);
}
DIR* OpenDir(const char* path) {
    return Injected(FileCall::kListFolder, path) ? nullptr : ::opendir(path);
}
dirent* ReadDir(DIR* dir) {
    errno = 0;
    return Injected(FileCall::kReadFolder) ? nullptr : ::readdir(dir);
}
void* MapFile(int fd, std::size_t size) {
    if (Injected(FileCall::kMap)) {
        return MAP_FAILED;
    }
#if defined(MAP_POPULATE)
    const int populate = MAP_POPULATE;
#else
    const int populate = 0;
#endif
    return ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | populate, fd, 0);
}

}  // namespace korv::sys
