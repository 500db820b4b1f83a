#include "ansi_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace korv {
namespace {

struct Conversion {
    const wchar_t* wide;
    unsigned code_page;
    bool held;
    const char* bytes;
};

class AnsiTextTest : public testing::TestWithParam<Conversion> {};

TEST_P(AnsiTextTest, SpellsATextInACodePageWithoutLookAlikes) {
    std::string bytes = "old";
    EXPECT_EQ(win32::ToCodePage(GetParam().wide, GetParam().code_page, bytes), GetParam().held);
    EXPECT_EQ(bytes, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AnsiTextTest,
    testing::Values(Conversion{L"", 1252, true, ""},
                    Conversion{L"C:\\caf\u00e9.txt", 1252, true, "C:\\caf\xe9.txt"},
                    // U+0142 has no form in 1252; best fit would make it "l".
                    Conversion{L"C:\\\u0142.txt", 1252, false, "C:\\?.txt"},
                    Conversion{L"C:\\\u8868", 932, true, "C:\\\x95\x5C"},
                    Conversion{L"C:\\\u0142\u8868", CP_UTF8, true, "C:\\\xC5\x82\xE8\xA1\xA8"}));

}  // namespace
}  // namespace korv
