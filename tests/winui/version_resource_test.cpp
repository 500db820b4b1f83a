// What korv.exe tells about itself in its version resource, as Explorer's
// properties show it.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Value(const std::vector<char>& info, const char* name) {
    char* text = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (::VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ==
            FALSE ||
        text == nullptr) {
        return "<missing>";
    }
    return std::string(text, length > 0 ? length - 1 : 0);
}

}  // namespace

TEST(ProgramResources, VersionResourceNamesTheProgram) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(KORV_EXE_PATH, &handle);
    ASSERT_GT(size, 0u) << KORV_EXE_PATH;
    std::vector<char> info(size);
    ASSERT_TRUE(::GetFileVersionInfoA(KORV_EXE_PATH, 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(Value(info, "FileVersion"), "1.0.0.0");
    EXPECT_EQ(Value(info, "ProductVersion"), "1.00");
    for (const char* name : {"ProductName", "FileDescription", "InternalName"}) {
        EXPECT_EQ(Value(info, name), "Korvane") << name;
    }
    EXPECT_EQ(Value(info, "OriginalFilename"), "korv.exe");

    // The program icon, 32 x 32, is the first icon group.
    HMODULE program = ::LoadLibraryExA(KORV_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HICON icon = static_cast<HICON>(
        ::LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) {
        ::DestroyIcon(icon);
    }
    ::FreeLibrary(program);
}
