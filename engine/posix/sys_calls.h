#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

// The system calls of the file layer, each first asking the installed
// fault plan (see file_fault.h) whether it should fail. They behave like
// the calls they wrap: -1 and errno on failure.
namespace korv::sys {

int Open(const char* path, int flags, mode_t mode = 0);
ssize_t Read(int fd, void* buffer, std::size_t size);
ssize_t PRead(int fd, void* buffer, std::size_t size, off_t offset);
ssize_t Write(int fd, const void* buffer, std::size_t size);
ssize_t PWrite(int fd, const void* buffer, std::size_t size, off_t offset);
int FStat(int fd, struct stat* st);
int FStatAt(int dir_fd, const char* name, struct stat* st, int flags);
int Stat(const char* path, struct stat* st);
int LStat(const char* path, struct stat* st);
int FChmod(int fd, mode_t mode);
int FChown(int fd, uid_t uid, gid_t gid);
int FTruncate(int fd, off_t length);
int Rename(const char* from, const char* to);
int Unlink(const char* path);
int Close(int fd);
int FAccessAt(int dir_fd, const char* path, int mode, int flags);
int Fcntl(int fd, int command, int argument);
DIR* OpenDir(const char* path);
// The next entry, or nullptr: at the end with errno left 0, on failure set.
dirent* ReadDir(DIR* dir);
// The path with every symbolic link resolved; empty (errno set) on failure.
std::string RealPath(const char* path);
ssize_t ListXattr(const char* path, char* names, std::size_t size);
ssize_t GetXattr(const char* path, const char* name, void* value, std::size_t size);
int FSetXattr(int fd, const char* name, const void* value, std::size_t size);
// A file that lives in memory only, gone when closed; -1 on failure.
int AnonymousFile();
// Maps `size` bytes of `fd` read-only and private, faulted in up front;
// MAP_FAILED on failure.
void* MapFile(int fd, std::size_t size);

}  // namespace korv::sys
