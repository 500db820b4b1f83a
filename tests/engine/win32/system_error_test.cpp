#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine_error.h"

namespace korv {
namespace {

TEST(SystemErrorText, IsTheSystemsTextWithoutTheFullStopAndLineBreak) {
    for (const DWORD code :
         {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_DISK_FULL}) {
        const std::string text = SystemErrorText(static_cast<int>(code));
        ASSERT_FALSE(text.empty()) << code;
        const char last = text.back();
        EXPECT_TRUE(last != '.' && last != ' ' && last != '\r' && last != '\n') << text;
        EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    }
    EXPECT_NE(SystemErrorText(ERROR_FILE_NOT_FOUND), SystemErrorText(ERROR_SHARING_VIOLATION));
}

TEST(SystemErrorText, NamesACodeTheSystemHasNoTextFor) {
    constexpr int kUnknown = 0x2BADBEEF;
    EXPECT_EQ(SystemErrorText(kUnknown), "System error " + std::to_string(kUnknown));
}

TEST(AbsolutePath, IsTheFullNameTheSystemGives) {
    char dir[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, dir), 0u);
    std::string expected = dir;
    if (expected.back() != '\\') {
        expected += '\\';
    }
    EXPECT_EQ(AbsolutePath("a.txt"), expected + "a.txt");
    EXPECT_EQ(AbsolutePath("C:\\docs\\..\\a.txt"), "C:\\a.txt");
    EXPECT_EQ(AbsolutePath("C:\\docs\\a.txt"), "C:\\docs\\a.txt");
    EXPECT_EQ(CannotOpenFile("C:\\docs\\a.txt", ERROR_FILE_NOT_FOUND).what(),
              "Cannot open file \"C:\\docs\\a.txt\". " + SystemErrorText(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace korv
