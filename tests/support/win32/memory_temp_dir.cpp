#include "memory_temp_dir.h"

#include <windows.h>

#include <string>

namespace korv::test {

namespace {

// Under Wine the Unix root is drive Z:, and its /dev/shm is in memory;
// Windows itself has no such folder.
constexpr const wchar_t* kInMemory = L"Z:\\dev\\shm\\";

bool Usable(const wchar_t* folder) {
    const DWORD attributes = ::GetFileAttributesW(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

// The temporary folder is where TMP says, so it points there for a moment.
std::unique_ptr<TempDir> MakeTempDirInMemory() {
    if (!Usable(kInMemory)) {
        return std::make_unique<TempDir>();
    }
    wchar_t saved[MAX_PATH + 1];
    const DWORD length = ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH + 1);
    ::SetEnvironmentVariableW(L"TMP", kInMemory);
    auto dir = std::make_unique<TempDir>();
    ::SetEnvironmentVariableW(L"TMP", length > 0 && length <= MAX_PATH ? saved : nullptr);
    return dir;
}

}  // namespace korv::test
