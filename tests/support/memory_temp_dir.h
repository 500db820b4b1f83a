#pragma once

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "temp_dir.h"

namespace korv::test {

// A fresh folder in memory where the system has one (/dev/shm), else under
// $TMPDIR: for tests that rewrite many megabytes, which a disk's write-back
// would slow to a crawl. Files behave the same there for the file layer.
inline std::unique_ptr<TempDir> MakeTempDirInMemory() {
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
