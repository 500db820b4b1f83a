// korv-cli -R: the folder walk's order, hidden folders, links, the include
// and exclude patterns, and binary files passed over.

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "child_process.h"
#include "cli_fixture.h"

namespace {

using korv::test::CliTest;
using korv::test::CommandResult;
using korv::test::Results;
namespace fs = std::filesystem;

class WalkTest : public CliTest {
protected:
    void SetUp() override {
        for (const char* name :
             {"root/b.txt", "root/a.txt", "root/A.txt", "root/sub/c.txt", "root/sub/deeper/d.txt",
              "root/sub.txt", "root/x.md", "root/.dot.txt", "root/.hidden/h.txt", "root/skip/s.txt",
              "outside/o.txt"}) {
            fs::create_directories(fs::path(dir_.File(name)).parent_path());
            dir_.Write(name, "foo\n");
        }
        dir_.Write("root/sub/bin.dat", std::string("foo\0bar\n", 8));
        fs::create_directory_symlink("../outside", dir_.File("root/link-to-folder"));
        fs::create_symlink("a.txt", dir_.File("root/link.txt"));
    }

    // What a dry run prints when it would change `names`, in this order,
    // and was given `skipped` binary files besides.
    static std::string Listed(const std::vector<std::string>& names, int skipped) {
        std::string out;
        for (const std::string& name : names) {
            out += name + ": 1 occurrences\n";
        }
        const int changed = static_cast<int>(names.size());
        return out + Results(changed + skipped, changed);
    }
};

TEST_F(WalkTest, FoldersAreWalkedInNameOrderByTheRules) {
    struct Case {
        std::vector<std::string> options;
        std::vector<std::string> files;
        bool reaches_binary;
    };
    // Byte order: "A" before "a", "sub" before "sub.txt", "." first; a link
    // to a file is taken, a link to a folder is not followed.
    const std::vector<Case> cases{
        {{},
         {"root/.dot.txt", "root/A.txt", "root/a.txt", "root/b.txt", "root/link.txt",
          "root/skip/s.txt", "root/sub/c.txt", "root/sub/deeper/d.txt", "root/sub.txt",
          "root/x.md"},
         true},
        {{"--hidden"},
         {"root/.dot.txt", "root/.hidden/h.txt", "root/A.txt", "root/a.txt", "root/b.txt",
          "root/link.txt", "root/skip/s.txt", "root/sub/c.txt", "root/sub/deeper/d.txt",
          "root/sub.txt", "root/x.md"},
         true},
        {{"--include", "*.md", "--include", "[ab].txt"},
         {"root/a.txt", "root/b.txt", "root/x.md"},
         false},
        // An excluded folder is not entered; patterns match whole names.
        {{"--exclude", "skip", "--exclude", "deep*", "--exclude", "*.txt"}, {"root/x.md"}, true},
        {{"--exclude", "sub", "--include", "*.txt", "--exclude", "?.txt"},
         {"root/.dot.txt", "root/link.txt", "root/sub.txt"},
         false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"-R", "-n", "-f", "foo", "-r", "bar", "-y"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.emplace_back("root");
        const CommandResult r = CliInFolder(args);
        // The binary file is passed over without a failure.
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, c.reaches_binary ? "Binary files skipped: 1\n" : "") << r.out;
        EXPECT_EQ(r.out, Listed(c.files, c.reaches_binary ? 1 : 0)) << c.options.size();
    }
}

TEST_F(WalkTest, ARealRunChangesTheWalkedFilesAndANamedBinaryFileStillFails) {
    // A name that is no UTF-8 keeps its bytes.
    const std::string latin1 = dir_.Write("root/sub/\xe9t\xe9.txt", "foo\n");
    const CommandResult r =
        CliInFolder({"-R", "-f", "foo", "-r", "bar", "-y", "root/sub", "root/sub/bin.dat"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, Results(5, 3));
    EXPECT_EQ(korv::test::ReadFile(latin1), "bar\r\n");
    EXPECT_EQ(
        r.err,
        "Cannot open file root/sub/bin.dat.\nCannot open file \"" + dir_.File("root/sub/bin.dat") +
            "\". It holds a NUL byte, so it is no plain text file\nBinary files skipped: 1\n");
    EXPECT_EQ(korv::test::ReadFile(dir_.File("root/sub/c.txt")), "bar\r\n");
    EXPECT_EQ(korv::test::ReadFile(dir_.File("root/sub/deeper/d.txt")), "bar\r\n");
    EXPECT_EQ(korv::test::ReadFile(dir_.File("root/sub/bin.dat")), std::string("foo\0bar\n", 8));

    // Without -R a folder is an entry like any other, and fails.
    EXPECT_EQ(CliInFolder({"-f", "foo", "-r", "bar", "-y", "root"}).status, 1);
}

TEST_F(WalkTest, AFolderThatCannotBeReadIsReportedAndTheWalkGoesOn) {
    // Root may read every folder, so the run drops to another user.
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(dir_.Path())) {
        fs::permissions(entry.path(), fs::perms::all, fs::perm_options::add, ignored);
    }
    fs::permissions(dir_.Path(), fs::perms::all);
    fs::permissions(dir_.File("root/sub"), fs::perms::none);
    const CommandResult r = korv::test::RunCommand(
        {KORV_CLI_PATH, "--log", LogPath(), "-R", "-n", "-y", "-f", "foo", "-r", "bar",
         dir_.File("root")},
        {}, [] {
            if (korv::test::RunningAsRoot() && !korv::test::DropToUnprivilegedUser()) {
                ::_exit(97);
            }
        });
    fs::permissions(dir_.File("root/sub"), fs::perms::owner_all);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err, "Cannot read folder \"" + dir_.File("root/sub") + "\". Permission denied\n");
    // Every other file was searched.
    EXPECT_TRUE(r.out.ends_with(Results(8, 8))) << r.out;
}

}  // namespace
