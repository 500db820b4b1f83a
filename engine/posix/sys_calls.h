#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

// The system calls of the folder listing and the mapping of files, each
// first asking the installed fault plan (see file_fault.h) whether it
// should fail. They behave like the calls they wrap: -1 and errno on
// failure.
namespace korv::sys {

int FStatAt(int dir_fd, const char* name, struct stat* st, int flags);
int Stat(const char* path, struct stat* st);
DIR* OpenDir(const char* path);
// The next entry, or nullptr: at the end with errno left 0, on failure set.
dirent* ReadDir(DIR* dir);
// Maps `size` bytes of `fd` read-only and private, faulted in up front;
// MAP_FAILED on failure.
void* MapFile(int fd, std::size_t size);

}  // namespace korv::sys
