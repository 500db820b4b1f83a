#include "temp_dir.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace korv {
namespace {

// The cases of the read-only attribute must leave nothing behind.
TEST(TempDirWin32, GoesWithTheReadOnlyFilesInIt) {
    std::string folder;
    {
        test::TempDir dir;
        folder = dir.Path();
        const std::string path = dir.Write("locked.txt", "text");
        std::filesystem::create_directory(dir.File("sub"));
        const std::string inner = dir.Write("sub\\inner.txt", "text");
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        ASSERT_TRUE(SetFileAttributesA(inner.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    EXPECT_FALSE(std::filesystem::exists(folder)) << folder;
}

}  // namespace
}  // namespace korv
