// korv-cli end to end: real files in a temporary folder, the program run as
// a separate process with its log in the same folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "engine_error.h"

namespace {

using korv::test::CliTest;
using korv::test::CommandResult;
using korv::test::Contains;
using korv::test::FileExists;
using korv::test::ReadFile;
using korv::test::Results;
using korv::test::WriteFile;

const std::string kConfirmationLines =
    "Please click Yes, if you are really sure all files you want to compress are plain text files "
    "(example: *.TXT, *.HTM).\n"
    "A binary file (example: *.DOC, *.EXE, *.JPG) will be damaged.\n";

TEST_F(CliTest, ARunPrintsExactlyTheTwoResultLinesAndLogsItsEvents) {
    const std::string a = dir_.Write("a.txt", "one foo\nfoo two\n");
    const std::string b = dir_.Write("b.txt", "nothing\n");
    const CommandResult r = Cli({"-f", "foo", "-r", "bar", "-y", a, b});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Results(2, 1));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadFile(a), "one bar\r\nbar two\r\n");
    EXPECT_EQ(ReadFile(b), "nothing\n");
    EXPECT_FALSE(FileExists(a + ".bak"));
    EXPECT_EQ(LogEvents(), (std::vector<std::string>{"Application Started",
                                                     "foo found in " + a + " and replaced to bar",
                                                     "Application Closed"}));

    // A second run adds its lines after the first run's.
    EXPECT_EQ(Cli({"--find=bar", "--replace=baz", "--yes", a}).status, 0);
    const std::vector<std::string> events = LogEvents();
    ASSERT_EQ(events.size(), 6U);
    EXPECT_EQ(events[3], "Application Started");
    EXPECT_EQ(events[4], "bar found in " + a + " and replaced to baz");
    EXPECT_EQ(events[5], "Application Closed");
}

TEST_F(CliTest, AMissingFileIsReportedOnStandardErrorAndExitsWithOne) {
    const std::string a = dir_.Write("a.txt", "x\r\n");
    const std::string missing = dir_.File("missing.txt");
    const CommandResult r = Cli({"-f", "x", "-r", "y", "-y", missing, a});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, Results(2, 1));
    // The message, then the reason the engine met on the next line, in the
    // system's words (ENOENT and ERROR_FILE_NOT_FOUND are both 2).
    constexpr int kFileNotFound = 2;
    EXPECT_EQ(r.err, "Cannot open file " + missing + ".\nCannot open file \"" + missing + "\". " +
                         korv::SystemErrorText(kFileNotFound) + "\n");
    EXPECT_EQ(ReadFile(a), "y\r\n");
}

TEST_F(CliTest, RefusedTextsAndBadUsageExitWithTwoAndTouchNothing) {
    const std::string a = dir_.Write("a.txt", "same x\n");
    struct Case {
        std::vector<std::string> args;
        std::string err_part;
    };
    const std::vector<Case> cases{
        {{"-f", "", "-r", "x", "-y", a}, "Find text can't be blank!"},
        {{"-f", "", "-y", a}, "Find text can't be blank!"},
        {{"-f", "same", "-r", "same", "-y", a}, "Find and replace texts can't be the same!"},
        {{"-f", "x", "-r", "y", "--frobnicate", "-y", a}, "--frobnicate"},
        {{"-r", "y", "-y", a}, "find"},
        {{"-f", "x", "-r", "y", "-y", "--list", dir_.File("no-such.list"), a}, "no-such.list"},
        {{"-f", "x", "-r", "y", "-y", "--log"}, "--log"},
    };
    for (const Case& c : cases) {
        const CommandResult r = Cli(c.args);
        EXPECT_EQ(r.status, 2) << c.err_part << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.err_part;
        EXPECT_TRUE(Contains(r.err, c.err_part)) << r.err;
    }
    EXPECT_EQ(ReadFile(a), "same x\n");
    EXPECT_FALSE(FileExists(a + ".bak"));
}

TEST_F(CliTest, TheConfirmationIsAskedOnStandardErrorAndOnlyYesGoesOn) {
    const std::string a = dir_.Write("a.txt", "x\n");
    struct Case {
        std::string input;
        int status;
    };
    const std::vector<Case> cases{{"n\n", 3},    {"", 3},    {"no\n", 3},
                                  {"yess\n", 3}, {"y\n", 0}, {"yes\n", 0}};
    for (const Case& c : cases) {
        korv::test::WriteFile(a, "x\n");
        const CommandResult r = Cli({"-f", "x", "-r", "y", a}, c.input);
        EXPECT_EQ(r.status, c.status) << "answer \"" << c.input << "\"";
        EXPECT_TRUE(Contains(r.err, kConfirmationLines)) << r.err;
        if (c.status == 3) {
            EXPECT_EQ(r.out, "") << c.input;
            EXPECT_EQ(ReadFile(a), "x\n") << c.input;
        } else {
            EXPECT_EQ(r.out, Results(1, 1)) << c.input;
            EXPECT_EQ(ReadFile(a), "y\r\n") << c.input;
        }
    }
    // Declined runs leave only their start and closing lines.
    const std::vector<std::string> events = LogEvents();
    EXPECT_EQ(std::count(events.begin(), events.end(), "x found in " + a + " and replaced to y"),
              2);
    EXPECT_EQ(events.size(), cases.size() * 2 + 2);
}

TEST_F(CliTest, TextsFromFilesKeepTheirBytesWithLineBreaksAsCrLf) {
    const std::string find = dir_.Write("find.txt", "one \t\ntwo");
    const std::string repl = dir_.Write("repl.txt", "1\r2\r\n3\n");
    const std::string a = dir_.Write("a.txt", "zero\none \t\ntwo\nthree\none\ntwo\n");
    const CommandResult r = Cli({"--find-file", find, "--replace-file", repl, "-y", a});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(a), "zero\r\n1\r\n2\r\n3\r\n\r\nthree\r\none\r\ntwo\r\n");
    // The texts go into the log unchanged, so their line breaks show as lines.
    EXPECT_TRUE(Contains(ReadFile(LogPath()),
                         " - one \t\r\ntwo found in " + a + " and replaced to 1\r\n2\r\n3\r\n\r\n"))
        << ReadFile(LogPath());

    // The same with the texts given on the command line.
    const std::string b = dir_.Write("b.txt", "a\rb\n");
    EXPECT_EQ(Cli({"-f", "a\nb", "-r", "c\r\rd", "-y", b}).status, 0);
    EXPECT_EQ(ReadFile(b), "c\r\n\r\nd\r\n");
}

TEST_F(CliTest, ListsAreAppendedInOrderBeforeTheFileArguments) {
    std::vector<std::string> paths;
    for (const char* name : {"p1", "p2", "p3", "p4", "p5"}) {
        paths.push_back(dir_.Write(name, "x\r\n"));
    }
    // CR LF, LF and lone CR breaks; the empty line is an entry that fails.
    const std::string list1 = dir_.Write("one.list", paths[0] + "\r\n" + paths[1] + "\n\n");
    const std::string list2 = dir_.Write("two.list", paths[2] + "\r" + paths[3]);
    const CommandResult r =
        Cli({"-f", "x", "-r", "y", "-y", paths[4], "-l", list1, "--list", list2});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, Results(6, 5));
    EXPECT_TRUE(r.err.rfind("Cannot open file .\nCannot open file \"", 0) == 0) << r.err;
    std::vector<std::string> expected{"Application Started"};
    for (const std::string& p : paths) {
        expected.push_back("x found in " + p + " and replaced to y");
        EXPECT_EQ(ReadFile(p), "y\r\n");
    }
    expected.emplace_back("Application Closed");
    EXPECT_EQ(LogEvents(), expected);
}

TEST_F(CliTest, OptionsBackUpCaseAndVariables) {
    const std::string a = dir_.Write("a.txt", "Foo foo\n");
    EXPECT_EQ(Cli({"-f", "foo", "-r", "bar", "-y", "-b", "-c", a}).status, 0);
    EXPECT_EQ(ReadFile(a), "Foo bar\r\n");
    EXPECT_EQ(ReadFile(a + ".bak"), "Foo foo\n");

    EXPECT_EQ(Cli({"--find", "FOO", "--replace", "baz", "--yes", "--backup", a}).status, 0);
    EXPECT_EQ(ReadFile(a), "baz bar\r\n");
    EXPECT_EQ(ReadFile(a + ".bak"), "Foo bar\r\n");

    // Without the case option a case-only difference is still a change.
    const std::string h = dir_.Write("h.txt", "hello\r\n");
    EXPECT_EQ(Cli({"-f", "hello", "-r", "HELLO", "-y", h}).out, Results(1, 1));
    EXPECT_EQ(ReadFile(h), "HELLO\r\n");
    EXPECT_EQ(Cli({"-f", "hello", "-r", "HELLO", "-y", h}).out, Results(1, 0));
    EXPECT_EQ(Cli({"-f", "HELLO", "-r", "hello", "-y", "--case-sensitive", h}).out, Results(1, 1));
    EXPECT_EQ(ReadFile(h), "hello\r\n");

    const std::string report = dir_.Write("report.txt", "name: report.txt, dir: DIR\n");
    const std::string other = dir_.Write("other.md", "name: other.md\n");
    EXPECT_EQ(Cli({"-f", "$filename", "-r", "$file ($fileext)", "-y", report, other}).out,
              Results(2, 0));
    EXPECT_EQ(Cli({"-f", "$filename", "-r", "$file ($fileext)", "-y", "-d", report, other}).out,
              Results(2, 2));
    EXPECT_EQ(ReadFile(report), "name: report (txt), dir: DIR\r\n");
    EXPECT_EQ(ReadFile(other), "name: other (md)\r\n");
    EXPECT_EQ(
        Cli({"-f", "DIR", "-r", "$filedir", "-y", "-c", "--dynamic-variables", report}).status, 0);
    EXPECT_EQ(ReadFile(report), "name: report (txt), dir: " + dir_.Path() + "\r\n");
}

TEST_F(CliTest, HelpAndVersionExitWithZero) {
    const CommandResult help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(Contains(help.out, "--find-file")) << help.out;
    const CommandResult version = Cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_FALSE(version.out.empty());
}

}  // namespace

TEST_F(CliTest, JoinedShortSwitchesSplitButOptionValuesStayWhole) {
    const std::string a = dir_.Write("a.txt", "Foo -cb foo\r\n");
    EXPECT_EQ(Cli({"-f", "foo", "-r", "bar", "-cby", a}).out, Results(1, 1));
    EXPECT_EQ(ReadFile(a), "Foo -cb bar\r\n");
    EXPECT_EQ(ReadFile(a + ".bak"), "Foo -cb foo\r\n");

    // A value that looks like joined switches is the option's text.
    EXPECT_EQ(Cli({"-f", "-cb", "-r", "--", "-y", a}).out, Results(1, 1));
    EXPECT_EQ(ReadFile(a), "Foo -- bar\r\n");

    EXPECT_EQ(Cli({"-cyx", "-f", "Foo", a}).status, 2);
}

TEST_F(CliTest, UndoPutsBackWhatTheRunChangedAndNamesWhatItLeaves) {
    const std::string a = dir_.Write("a.txt", "foo\n");
    const std::string b = dir_.Write("b.txt", "foo\rfoo");
    const std::string c = dir_.Write("c.txt", "foo\n");
    ASSERT_EQ(Cli({"-y", "-f", "foo", "-r", "bar", a, b, c}).status, 0);
    WriteFile(c, "edited since\n");

    // Last replaced first.
    const CommandResult listed = Cli({"--undo", "-n"});
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(listed.out, b + "\n" + a + "\nFiles to restore: 2\nFiles left: 1\n");
    EXPECT_EQ(ReadFile(a), "bar\r\n");

    const std::size_t events_before = LogEvents().size();
    const CommandResult undone = Cli({"--undo"});
    EXPECT_EQ(undone.status, 1);
    EXPECT_EQ(undone.out, "Files restored: 2\nFiles left: 1\n");
    EXPECT_EQ(undone.err, "Cannot undo " + c + ".\nIt changed since the run.\n");
    EXPECT_EQ(ReadFile(a), "foo\n");
    EXPECT_EQ(ReadFile(b), "foo\rfoo");
    EXPECT_EQ(ReadFile(c), "edited since\n");
    const std::vector<std::string> events = LogEvents();
    ASSERT_EQ(events.size(), events_before + 4);
    EXPECT_EQ(events[events_before + 1], b + " put back as it was before the last run");

    // The undo undone: the run's result again, everything put back.
    const CommandResult redone = Cli({"--undo"});
    EXPECT_EQ(redone.status, 0) << redone.err;
    EXPECT_EQ(ReadFile(a), "bar\r\n");

    // After a run without a journal, no earlier run is undone in its place.
    const std::string d = dir_.Write("d.txt", "foo\n");
    ASSERT_EQ(Cli({"-y", "--no-undo", "-f", "foo", "-r", "bar", d}).status, 0);
    const CommandResult none = Cli({"--undo"});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(Contains(none.err, "no run to undo")) << none.err;
    EXPECT_EQ(ReadFile(a), "bar\r\n");
    EXPECT_EQ(ReadFile(d), "bar\r\n");
}

TEST_F(CliTest, AJournalThatCannotBeKeptStopsTheRunBeforeAnyFile) {
    const std::string a = dir_.Write("a.txt", "foo\n");
    const std::string blocked = dir_.Write("not-a-folder", "");
    const CommandResult r = Cli({"-y", "-f", "foo", "-r", "bar", "--undo-folder", blocked, a});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Contains(r.err, blocked)) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(a), "foo\n");

    const CommandResult without =
        Cli({"-y", "-f", "foo", "-r", "bar", "--undo-folder", blocked, "--no-undo", a});
    EXPECT_EQ(without.status, 0) << without.err;
    EXPECT_EQ(ReadFile(a), "bar\r\n");
}
