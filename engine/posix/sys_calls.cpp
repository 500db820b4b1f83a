#include "sys_calls.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "file_fault.h"

namespace korv::sys {

namespace {
// True (with errno set) when the fault plan makes this call fail.
bool Injected(const char* operation) {
    const int error = InjectedFault(operation);
    if (error == 0) {
        return false;
    }
    errno = error;
    return true;
}
}  // namespace

int Open(const char* path, int flags, mode_t mode) {
    return Injected("open") ? -1 : ::open(path, flags, mode);
}
ssize_t Read(int fd, void* buffer, std::size_t size) {
    return Injected("read") ? -1 : ::read(fd, buffer, size);
}
ssize_t PRead(int fd, void* buffer, std::size_t size, off_t offset) {
    return Injected("read") ? -1 : ::pread(fd, buffer, size, offset);
}
ssize_t Write(int fd, const void* buffer, std::size_t size) {
    return Injected("write") ? -1 : ::write(fd, buffer, size);
}
ssize_t PWrite(int fd, const void* buffer, std::size_t size, off_t offset) {
    return Injected("write") ? -1 : ::pwrite(fd, buffer, size, offset);
}
int FStat(int fd, struct stat* st) {
    return Injected("fstat") ? -1 : ::fstat(fd, st);
}
int FStatAt(int dir_fd, const char* name, struct stat* st, int flags) {
    return Injected("fstatat") ? -1 : ::fstatat(dir_fd, name, st, flags);
}
int Stat(const char* path, struct stat* st) {
    return Injected("stat") ? -1 : ::stat(path, st);
}
int LStat(const char* path, struct stat* st) {
    return Injected("lstat") ? -1 : ::lstat(path, st);
}
int FChmod(int fd, mode_t mode) {
    return Injected("fchmod") ? -1 : ::fchmod(fd, mode);
}
int FChown(int fd, uid_t uid, gid_t gid) {
    return Injected("fchown") ? -1 : ::fchown(fd, uid, gid);
}
int FTruncate(int fd, off_t length) {
    return Injected("ftruncate") ? -1 : ::ftruncate(fd, length);
}
int Rename(const char* from, const char* to) {
    return Injected("rename") ? -1 : ::rename(from, to);
}
// Cleaning up must not be made to fail, or a test would see leftovers that
// only its own plan caused.
int Unlink(const char* path) {
    return ::unlink(path);
}
int Close(int fd) {
    return Injected("close") ? (::close(fd), -1) : ::close(fd);
}

int FAccessAt(int dir_fd, const char* path, int mode, int flags) {
    return Injected("faccessat") ? -1 : ::faccessat(dir_fd, path, mode, flags);
}
int Fcntl(int fd, int command, int argument) {
    return Injected("fcntl") ? -1 : ::fcntl(fd, command, argument);
}
DIR* OpenDir(const char* path) {
    return Injected("opendir") ? nullptr : ::opendir(path);
}
dirent* ReadDir(DIR* dir) {
    errno = 0;
    return Injected("readdir") ? nullptr : ::readdir(dir);
}
std::string RealPath(const char* path) {
    if (Injected("realpath")) {
        return {};
    }
    char* resolved = ::realpath(path, nullptr);
    if (resolved == nullptr) {
        return {};
    }
    std::string result = resolved;
    std::free(resolved);
    return result;
}
ssize_t ListXattr(const char* path, char* names, std::size_t size) {
    return Injected("listxattr") ? -1 : ::listxattr(path, names, size);
}
ssize_t GetXattr(const char* path, const char* name, void* value, std::size_t size) {
    return Injected("getxattr") ? -1 : ::getxattr(path, name, value, size);
}
int FSetXattr(int fd, const char* name, const void* value, std::size_t size) {
    return Injected("fsetxattr") ? -1 : ::fsetxattr(fd, name, value, size, 0);
}
int AnonymousFile() {
    if (Injected("memfd_create")) {
        return -1;
    }
#if defined(__linux__)
    return ::memfd_create("korv-staging", MFD_CLOEXEC);
#else
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        return -1;
    }
    const int fd = ::dup(::fileno(file));
    std::fclose(file);
    return fd;
#endif
}

void* MapFile(int fd, std::size_t size) {
    if (Injected("mmap")) {
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
