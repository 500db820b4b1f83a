// korv-cli's dry runs: -n and --diff read and search as a real run does
// and write nothing; the diff, applied with patch, gives what a real run
// writes, byte for byte.

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli_fixture.h"

namespace {

using korv::test::CliTest;
using korv::test::CommandResult;
using korv::test::Contains;
using korv::test::ReadFile;
using korv::test::Results;
namespace fs = std::filesystem;

struct FileState {
    std::string bytes;
    timespec modified{};
    bool operator==(const FileState& other) const {
        return bytes == other.bytes && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

// Every file under `root` with its bytes and modification time.
std::map<std::string, FileState> Snapshot(const std::string& root) {
    std::map<std::string, FileState> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat st {};
        EXPECT_EQ(::lstat(entry.path().c_str(), &st), 0);
        files[entry.path().string()] = {
            entry.is_regular_file() ? ReadFile(entry.path().string()) : "", st.st_mtim};
    }
    return files;
}

// Puts a file's modification time in the past, so a rewrite within the
// same clock tick still shows.
void Age(const std::string& path) {
    const timespec times[2] = {{978307200, 0}, {978307200, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST_F(CliTest, ADryRunPrintsWhatWouldChangeAndLeavesEveryByteAndTimeAsItWas) {
    const std::string a = dir_.Write("a.txt", "one foo\nfoo two\n");
    const std::string b = dir_.Write("b.txt", "nothing\n");
    const std::string c = dir_.Write("c.foo", "foo\r\n");
    const std::string missing = dir_.File("missing.txt");
    for (const std::string& path : {a, b, c}) {
        Age(path);
    }
    const std::map<std::string, FileState> before = Snapshot(dir_.Path());
    const std::string counts = a + ": 2 occurrences\n" + c + ": 1 occurrences\n";
    struct Case {
        std::vector<std::string> options;
        std::string find;
        std::string out;  // empty: a diff, checked below
    };
    const std::vector<Case> cases{
        {{"-n"}, "foo", counts + Results(4, 2)},
        {{"--dry-run", "-b"}, "foo", counts + Results(4, 2)},
        // Counted after the variables are expanded for each file.
        {{"-n", "-d"}, "$fileext", c + ": 1 occurrences\n" + Results(4, 1)},
        {{"--diff", "--backup"}, "foo", ""},
    };
    for (const Case& k : cases) {
        std::vector<std::string> args = k.options;
        args.insert(args.end(), {"-f", k.find, "-r", "bar", "-y", a, b, missing, c});
        const CommandResult r = Cli(args);
        // The missing file fails as in a real run.
        EXPECT_EQ(r.status, 1) << k.options[0];
        EXPECT_EQ(r.err, "Cannot open file " + missing + ".\nCannot open file \"" + missing +
                             "\". No such file or directory\n");
        if (k.out.empty()) {
            EXPECT_TRUE(Contains(r.out, "--- " + a + "\n+++ " + a + "\n@@ -1,2 +1,2 @@\n"))
                << r.out;
            EXPECT_TRUE(Contains(r.out, "-foo\r\n+bar\r\n")) << r.out;
            EXPECT_FALSE(Contains(r.out, b)) << r.out;
            // Not a terminal, so no colours.
            EXPECT_FALSE(Contains(r.out, "\033")) << r.out;
            EXPECT_TRUE(r.out.ends_with("+bar\r\n" + Results(4, 2))) << r.out;
        } else {
            EXPECT_EQ(r.out, k.out) << k.options[0];
        }
        // No file, backup, temporary file or log was written.
        EXPECT_TRUE(Snapshot(dir_.Path()) == before) << k.options[0];
    }
}

TEST_F(CliTest, ADryRunOverBigFilesCountsEachOneInOrder) {
    // Big files are planned in turns on two threads; each must still be
    // reported for itself, in list order.
    std::vector<std::string> args{"-n", "-y", "-f", "foo", "-r", "bar"};
    std::string expected;
    const std::string line(99, 'x');
    for (int i = 0; i < 5; ++i) {
        std::string text;
        for (int k = 0; k < 16000; ++k) {
            text += (k % 1000 == 0 && k / 1000 <= i ? "foo" : "") + line + "\r\n";
        }
        args.push_back(dir_.Write("big" + std::to_string(i), text));
        expected += args.back() + ": " + std::to_string(i + 1) + " occurrences\n";
    }
    const CommandResult r = Cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected + Results(5, 5));
}

// Runs one find and replace over `files` as --diff, applies the diff with
// patch to copies of the files, then runs it for real, and compares; with
// the line breaks kept, and written as CR LF.
class DiffRoundTrip : public CliTest {
protected:
    void Check(const std::vector<std::pair<std::string, std::string>>& files,
               const std::vector<std::string>& options) {
        for (const std::string way : {"keep", "crlf"}) {
            const std::string work = way + "/work/";
            std::vector<std::string> paths;
            for (const auto& [name, bytes] : files) {
                fs::create_directories(dir_.File(work));
                fs::create_directories(dir_.File("copy/" + work));
                dir_.Write(work + name, bytes);
                dir_.Write("copy/" + work + name, bytes);
                paths.push_back(work + name);
            }
            std::vector<std::string> args = options;
            args.insert(args.end(), {"-y", "--line-breaks", way});
            args.insert(args.end(), paths.begin(), paths.end());
            std::vector<std::string> diff_args = args;
            diff_args.emplace_back("--diff");
            const CommandResult diff = CliInFolder(diff_args);
            ASSERT_EQ(diff.status, 0) << diff.err;
            const CommandResult patched = korv::test::RunCommand(
                {"/usr/bin/patch", "-s", "-p0", "-d", dir_.File("copy")}, diff.out);
            ASSERT_EQ(patched.status, 0) << patched.out << patched.err << diff.out;
            const CommandResult real = CliInFolder(args);
            ASSERT_EQ(real.status, 0) << real.err;
            for (const auto& [name, bytes] : files) {
                EXPECT_EQ(ReadFile(dir_.File("copy/" + work + name)),
                          ReadFile(dir_.File(work + name)))
                    << way << ": " << name << "\n"
                    << diff.out;
            }
        }
    }
};

std::string Lines(int count, const std::string& every_other, const std::string& brk) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += (i % 2 == 0 ? every_other : "line " + std::to_string(i)) + brk;
    }
    return text;
}

TEST_F(DiffRoundTrip, PatchGivesWhatTheRunWritesForEveryKindOfLineBreak) {
    std::string far_apart;
    for (int i = 0; i < 40; ++i) {
        far_apart +=
            (i == 1 || i == 8 || i == 30 || i == 39 ? "foo " : "") + std::to_string(i) + "\r\n";
    }
    Check({{"crlf.txt", "a\r\nfoo\r\nb\r\n"},
           {"lf.txt", "a\nfoo\nb\nc\nd\ne\nf\ng\nh\n"},
           {"cr.txt", "a\rfoo\rb\r"},
           {"no-final-break.txt", "a\r\nb\r\nfoo"},
           {"lf-no-final-break.txt", "foo\nb"},
           {"mixed.txt", "a\r\nb\nfoo\rc\r\n\r\n\n"},
           {"unchanged.txt", "a\nb\n"},
           {"hunks.txt", far_apart},
           {"big-lf.txt", Lines(6000, "foo", "\n")},
           {"many-changes.txt", Lines(6000, "foo", "\r\n")}},
          {"-f", "foo", "-r", "bar"});
}

TEST_F(DiffRoundTrip, PatchGivesWhatTheRunWritesWithVariablesAndLinesTakenAway) {
    Check({{"one.txt", "one.txt is here\r\n"}, {"two.md", "x\nsee two.md\n"}},
          {"-d", "-f", "$filename", "-r", "[$file] in $filedir"});
    Check({{"join.txt", "x\na\nb\ny"}, {"emptied.txt", "a\r\nb\r\n"}}, {"-f", "a\nb\n", "-r", ""});
}

}  // namespace
