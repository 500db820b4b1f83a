#include "memory_temp_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace korv::test {

// /dev/shm, by way of $TMPDIR.
std::unique_ptr<TempDir> MakeTempDirInMemory() {
    const char* const old = std::getenv("TMPDIR");
    const std::string saved = old != nullptr ? old : "";
    const bool in_memory = ::access("/dev/shm", W_OK | X_OK) == 0;
    if (in_memory) {
        ::setenv("TMPDIR", "/dev/shm", 1);
    }
    auto dir = std::make_unique<TempDir>();
    if (in_memory) {
        old != nullptr ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
    }
    return dir;
}

}  // namespace korv::test
