// The file-name patterns of a folder walk (korv-cli's --include and --exclude).

#include "glob_match.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(GlobMatchTest, MatchesWholeNamesByteForByte) {
    struct Case {
        std::string pattern;
        std::string name;
        bool matches;
    };
    const std::vector<Case> cases{
        {"*.txt", "a.txt", true},
        {"*.txt", "a.txt.bak", false},
        {"*.txt", ".txt", true},
        {"*.TXT", "a.txt", false},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"*", "", true},
        {"?", "", false},
        {"?.md", "x.md", true},
        {"?.md", "xy.md", false},
        {"[ab].txt", "b.txt", true},
        {"[ab].txt", "c.txt", false},
        {"[a-c]*", "cat", true},
        {"[!a-c]*", "cat", false},
        {"[!a-c]*", "dog", true},
        {"[]x]", "]", true},
        {"[abc", "[abc", true},
        {"\\*", "*", true},
        {"\\*", "a", false},
        {"\xe9*", "\xe9t\xe9", true},
        {"[\xe0-\xef]t*", "\xe9t\xe9", true},
        {"**a", "a", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(korv::GlobMatch(c.pattern, c.name), c.matches) << c.pattern << " on " << c.name;
    }
}

}  // namespace
