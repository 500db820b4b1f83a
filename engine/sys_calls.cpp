#include "sys_calls.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "file_fault.h"

namespace korv {

namespace {
thread_local FileFaultPlan* fault_plan = nullptr;

// True (with errno set) when the plan makes this call fail.
bool Injected(const char* operation) {
    if (fault_plan == nullptr) {
        return false;
    }
    int error = fault_plan->Check(operation);
    if (error == 0) {
        return false;
    }
    errno = error;
    return true;
}
}  // namespace

void SetFileFaultPlan(FileFaultPlan* plan) {
    fault_plan = plan;
}

namespace sys {

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

}  // namespace sys
}  // namespace korv
