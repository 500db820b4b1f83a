#include "code_page_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace korv {
namespace {

constexpr unsigned kShiftJis = 932;
constexpr unsigned kWesternEurope = 1252;
constexpr auto kNone = std::string_view::npos;

// U+8868 in code page 932 is 0x95 0x5C: its second byte is a backslash.
const std::string kTable = "\x95\x5C";

TEST(CodePagePaths, ATrailByteBackslashSeparatesNothing) {
    const std::string path = "C:\\docs\\" + kTable + ".txt";
    EXPECT_EQ(win32::LastSeparatorIn(path, kShiftJis), 7u);
    EXPECT_FALSE(win32::IsSeparatorIn(path, 9, kShiftJis));
    EXPECT_TRUE(win32::IsSeparatorIn(path, 7, kShiftJis));
    EXPECT_TRUE(win32::IsSeparatorIn(path, 2, kShiftJis));
    EXPECT_TRUE(win32::IsSeparatorIn(path, 1, kShiftJis));
    // In a single-byte code page the same byte is a backslash.
    EXPECT_EQ(win32::LastSeparatorIn(path, kWesternEurope), 9u);
    EXPECT_TRUE(win32::IsSeparatorIn(path, 9, kWesternEurope));
}

TEST(CodePagePaths, AFolderEndingInATrailByteBackslashKeepsItsName) {
    // C:\<U+8868>\a.txt: the last separator is the real one after it.
    const std::string path = "C:\\" + kTable + "\\a.txt";
    EXPECT_EQ(win32::LastSeparatorIn(path, kShiftJis), 5u);
    // A lead byte before the backslash is itself no separator, so the
    // directory part drops that backslash.
    EXPECT_FALSE(win32::IsSeparatorIn(path, 4, kShiftJis));
    EXPECT_EQ(win32::LastSeparatorIn("C:" + kTable, kShiftJis), 1u);
    EXPECT_EQ(win32::LastSeparatorIn(kTable, kShiftJis), kNone);
    EXPECT_EQ(win32::LastSeparatorIn(kTable, kWesternEurope), 1u);
}

TEST(CodePagePaths, ALeadByteAtTheEndStandsAlone) {
    EXPECT_EQ(win32::LastSeparatorIn("a\\\x95", kShiftJis), 1u);
    EXPECT_EQ(win32::LastSeparatorIn("", kShiftJis), kNone);
}

}  // namespace
}  // namespace korv
