// korv-cli --list - and -0: the file list read from standard input, as
// lines or as NUL-separated paths.

#include <algorithm>
#include <string>
#include <vector>

#include "cli_fixture.h"

namespace {

using korv::test::CliTest;
using korv::test::CommandResult;
using korv::test::Contains;
using korv::test::ReadFile;
using korv::test::Results;

TEST_F(CliTest, AListFromStandardInputIsTakenAsLinesOrAsNulSeparatedPaths) {
    const std::string p1 = dir_.Write("p1", "x\r\n");
    const std::string p2 = dir_.Write("p2", "x\r\n");
    // Names a line-based list cannot hold, but -0 can.
    const std::string odd = dir_.Write("with\nbreak", "x\r\n");
    const std::string list0 = dir_.Write("zero.list", p2 + '\0' + odd + '\0');
    struct Case {
        std::vector<std::string> options;
        std::string input;
        std::vector<std::string> changed;
    };
    const std::vector<Case> cases{
        {{"--list", "-"}, p1 + "\r\n" + p2 + "\r", {p1, p2}},
        {{"-0", "--list", "-"}, p1 + '\0' + odd + '\0', {p1, odd}},
        {{"-0y", "-l", "-"}, odd + '\0' + p2, {odd, p2}},
        {{"--null", "--list", list0}, "", {p2, odd}},
    };
    for (const Case& c : cases) {
        for (const std::string& path : {p1, p2, odd}) {
            korv::test::WriteFile(path, "x\r\n");
        }
        std::vector<std::string> args{"-f", "x", "-r", "y", "-y"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CommandResult r = Cli(args, c.input);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, Results(2, 2)) << c.options[0];
        for (const std::string& path : {p1, p2, odd}) {
            const bool changed =
                std::find(c.changed.begin(), c.changed.end(), path) != c.changed.end();
            EXPECT_EQ(ReadFile(path), changed ? "y\r\n" : "x\r\n") << c.options[0] << " " << path;
        }
    }
}

TEST_F(CliTest, StandardInputHoldingTheListNeedsYesAndNullNeedsAList) {
    const std::string a = dir_.Write("a", "x\r\n");
    struct Case {
        std::vector<std::string> args;
        std::string err_part;
    };
    const std::vector<Case> cases{
        {{"-f", "x", "-r", "y", "--list", "-"}, "add --yes"},
        {{"-f", "x", "-r", "y", "-n", "-0", "-l", "-"}, "add --yes"},
        {{"-f", "x", "-r", "y", "-y", "--list", "-", "-l", "-"}, "once"},
        {{"-f", "x", "-r", "y", "-y", "-0", a}, "--null needs --list"},
        {{"-f", "x", "-r", "y", "-y", "--include", "*", a}, "need --recursive"},
    };
    for (const Case& c : cases) {
        const CommandResult r = Cli(c.args, a + "\n");
        EXPECT_EQ(r.status, 2) << c.err_part;
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(Contains(r.err, c.err_part)) << r.err;
    }
    EXPECT_EQ(ReadFile(a), "x\r\n");
    EXPECT_TRUE(LogEvents().empty());
}

}  // namespace
