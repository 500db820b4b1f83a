// Finding a file list entry by typing its beginning.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/prefix_typing.h"

namespace {

using korv::behaviour::FindPrefix;
using korv::behaviour::PrefixTyping;

TEST(PrefixTyping, StartsAfreshAfterAPause) {
    PrefixTyping typing;
    EXPECT_EQ(typing.Type("a", 1000), "a");
    EXPECT_EQ(typing.Type("l", 1499), "al");
    EXPECT_EQ(typing.Backspace(1600), "a");
    EXPECT_EQ(typing.Type("b", 2099), "ab");
    // 500 ms or more since the last key: a new text.
    EXPECT_EQ(typing.Type("c", 2599), "c");
}

TEST(PrefixTyping, BackspaceTakesBackAWholeCharacter) {
    PrefixTyping typing;
    typing.Type("x", 0);
    EXPECT_EQ(typing.Type("\xc3\xa9", 10), "x\xc3\xa9");
    EXPECT_EQ(typing.Backspace(20), "x");
}

TEST(PrefixTyping, FindsTheFirstEntryLetterCaseIgnored) {
    const std::vector<std::string> entries{"beta", "Alpha", "alpine"};
    EXPECT_EQ(FindPrefix(entries, "AL"), 1);
    EXPECT_EQ(FindPrefix(entries, "alpi"), 2);
    EXPECT_EQ(FindPrefix(entries, "gamma"), -1);
    EXPECT_EQ(FindPrefix(entries, ""), -1);
}

}  // namespace
