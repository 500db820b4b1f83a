// The file layer where POSIX has more to keep or to meet: modes and the
// umask, owners, symbolic links, users who may not write, size limits,
// folders, pipes and extended attributes.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine_error.h"
#include "file_ops.h"
#include "file_test_helpers.h"
#include "posix_file_helpers.h"
#include "save_scene_walk.h"
#include "temp_dir.h"
#include "text_document.h"

namespace korv {
namespace {

using test::ChildReport;
using test::ChildUser;
using test::ErrorOf;
using test::FileExists;
using test::Quoted;
using test::ReadFile;
using test::RunReporting;
using test::StatOf;
using test::TempDir;
using test::TempLeftovers;
using namespace std::string_literals;

// Makes a temporary folder every user may reach and write in.
void OpenToAll(const TempDir& dir) {
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
}

#define SKIP_IF_NO_UNPRIVILEGED_USER(report)                       \
    if ((report).status == test::kCannotDropRoot) {                \
        GTEST_SKIP() << "cannot run as an unprivileged user here"; \
    }

TEST(SafeSaveTest, KeepsThePermissionBitsWhateverTheUmask) {
    test::ScopedUmask umask(0077);
    for (mode_t mode : {0600, 0640, 0604, 0700, 0755, 0666}) {
        SCOPED_TRACE(mode);
        TempDir dir;
        const std::string path = dir.Write("a.txt", "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ReplaceWholeFile(path, "new text");
        EXPECT_EQ(ReadFile(path), "new text");
        EXPECT_EQ(StatOf(path).st_mode & 07777, mode);
        EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
    }
}

TEST(SafeSaveTest, ANewFileIsCreatedWithTheUmasksBits) {
    test::ScopedUmask umask(0022);
    TempDir dir;
    const std::string path = dir.File("new.txt");
    ReplaceWholeFile(path, "fresh");
    EXPECT_EQ(ReadFile(path), "fresh");
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0644u);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"new.txt"}));
}

TEST(SafeSaveTest, KeepsTheOwnerOfAnotherUsersFile) {
    if (!test::RunningAsRoot()) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    TempDir dir;
    const std::string path = dir.Write("theirs.txt", "old");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ReplaceWholeFile(path, "new");
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(StatOf(path).st_uid, 65534u);
    EXPECT_EQ(StatOf(path).st_gid, 65534u);
}

TEST(SafeSaveTest, ALinkStaysALinkAndItsTargetGetsTheText) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("real").c_str(), 0755), 0);
    const std::string target = dir.Write("real/t.txt", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    const std::string link = dir.File("link.txt");
    const std::string chain = dir.File("chain.txt");
    ASSERT_EQ(::symlink("real/t.txt", link.c_str()), 0);
    ASSERT_EQ(::symlink("link.txt", chain.c_str()), 0);

    ReplaceWholeFile(link, "through the link");
    EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode));
    EXPECT_EQ(ReadFile(target), "through the link");
    EXPECT_EQ(StatOf(target).st_mode & 07777, 0640u);

    ReplaceWholeFile(chain, "through two links");
    EXPECT_TRUE(S_ISLNK(StatOf(chain).st_mode));
    EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode));
    EXPECT_EQ(ReadFile(target), "through two links");
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());

    std::string link_text(64, '\0');
    ssize_t n = ::readlink(link.c_str(), link_text.data(), link_text.size());
    ASSERT_GT(n, 0);
    link_text.resize(static_cast<std::size_t>(n));
    EXPECT_EQ(link_text, "real/t.txt");
}

TEST(SafeSaveTest, ADanglingLinkGetsItsTargetCreated) {
    TempDir dir;
    const std::string link = dir.File("link.txt");
    ASSERT_EQ(::symlink("target.txt", link.c_str()), 0);
    ReplaceWholeFile(link, "made");
    EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode));
    EXPECT_EQ(ReadFile(dir.File("target.txt")), "made");
}

TEST(SafeSaveTest, AReadOnlyFileFailsAndStaysAsItWas) {
    TempDir dir;
    OpenToAll(dir);
    const std::string path = dir.Write("ro.txt", "read only");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);

    const ChildReport report = RunReporting(
        [&] {
            TextDocument document;
            document.AssignText("changed");
            document.SaveFile(path);
            return std::string("saved");
        },
        ChildUser::kUnprivileged);
    SKIP_IF_NO_UNPRIVILEGED_USER(report);
    ASSERT_EQ(report.status, 0);
    EXPECT_EQ(report.text, "EngineError: Cannot create file \"" + path + "\". Permission denied");
    EXPECT_EQ(ReadFile(path), "read only");
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0444u);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST(SafeSaveTest, AReadOnlyFileOfTheUsersOwnFails) {
    TempDir dir;
    OpenToAll(dir);
    const std::string path = dir.File("own.txt");

    // The child makes the file its own, so only its mode forbids writing.
    const ChildReport report = RunReporting(
        [&] {
            test::WriteFile(path, "mine");
            if (::chmod(path.c_str(), 0444) != 0) {
                return std::string("chmod failed");
            }
            ReplaceWholeFile(path, "changed");
            return std::string("saved");
        },
        ChildUser::kUnprivileged);
    SKIP_IF_NO_UNPRIVILEGED_USER(report);
    ASSERT_EQ(report.status, 0);
    EXPECT_EQ(report.text, "EngineError: Cannot create file \"" + path + "\". Permission denied");
    EXPECT_EQ(ReadFile(path), "mine");
}

TEST(SafeSaveTest, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
    TempDir dir;
    const std::string path = dir.Write("w.txt", "old content here");
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    const ino_t inode = StatOf(path).st_ino;

    const ChildReport report = RunReporting(
        [&] {
            ReplaceWholeFile(path, "new");
            return std::string("saved");
        },
        ChildUser::kUnprivileged);
    SKIP_IF_NO_UNPRIVILEGED_USER(report);
    ASSERT_EQ(report.status, 0);
    EXPECT_EQ(report.text, "saved");
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(StatOf(path).st_ino, inode);
}

TEST(SafeSaveTest, AnotherUsersWritableFileKeepsItsOwner) {
    if (!test::RunningAsRoot()) {
        GTEST_SKIP() << "needs a file of another user";
    }
    TempDir dir;
    OpenToAll(dir);
    const std::string path = dir.Write("roots.txt", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const ino_t inode = StatOf(path).st_ino;

    const ChildReport report = RunReporting(
        [&] {
            ReplaceWholeFile(path, "written by nobody");
            return std::string("saved");
        },
        ChildUser::kUnprivileged);
    SKIP_IF_NO_UNPRIVILEGED_USER(report);
    ASSERT_EQ(report.status, 0);
    EXPECT_EQ(report.text, "saved");
    EXPECT_EQ(ReadFile(path), "written by nobody");
    EXPECT_EQ(StatOf(path).st_uid, 0u);
    EXPECT_EQ(StatOf(path).st_ino, inode);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

// A save that runs past the size limit of a child: "Stream write error",
// the old bytes exactly and no temporary file.
void ExpectFailedWriteKeepsTheOldBytes(const TempDir& dir, const std::string& path,
                                       const std::string& old_bytes) {
    const std::string new_bytes(6000, 'n');
    const ChildReport report = RunReporting([&] {
        test::LimitFileSize(1000);
        ReplaceWholeFile(path, new_bytes);
        return std::string("saved");
    });
    ASSERT_EQ(report.status, 0);
    EXPECT_EQ(report.text, "EngineError: Stream write error");
    EXPECT_EQ(ReadFile(path), old_bytes);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST(SafeSaveTest, AFailedWriteLeavesTheOldBytes) {
    TempDir dir;
    const std::string old_bytes = "old\nbytes\0kept\r"s;
    const std::string path = dir.Write("a.txt", old_bytes);
    ExpectFailedWriteKeepsTheOldBytes(dir, path, old_bytes);
}

TEST(SafeSaveTest, AFailedWriteInPlacePutsTheOldBytesBack) {
    TempDir dir;
    const std::string old_bytes = std::string(300, 'o') + "\r\nend";
    const std::string path = dir.Write("a.txt", old_bytes);
    ASSERT_EQ(::link(path.c_str(), dir.File("b.txt").c_str()), 0);
    const ino_t inode = StatOf(path).st_ino;
    ExpectFailedWriteKeepsTheOldBytes(dir, path, old_bytes);
    EXPECT_EQ(ReadFile(dir.File("b.txt")), old_bytes);
    EXPECT_EQ(StatOf(path).st_ino, inode);
}

TEST(SpecialFileTest, AFolderInPlaceOfAFileFailsCleanly) {
    TempDir dir;
    const std::string folder = dir.File("folder");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    EXPECT_EQ(ErrorOf([&] { (void)ReadWholeFile(folder); }),
              "Cannot open file " + Quoted(folder) + "Is a directory");
    EXPECT_EQ(ErrorOf([&] { ReplaceWholeFile(folder, "x"); }),
              "Cannot create file " + Quoted(folder) + "Is a directory");
    EXPECT_EQ(ErrorOf([&] { AppendToFile(folder, "x"); }),
              "Cannot create file " + Quoted(folder) + "Is a directory");
    EXPECT_FALSE(TextDocument::MakeBackup(folder));
    EXPECT_TRUE(S_ISDIR(StatOf(folder).st_mode));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"folder"}));
}

TEST(SpecialFileTest, AFifoInPlaceOfAFileFailsWithoutHanging) {
    TempDir dir;
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // No one ever opens the other end; the alarm only ends a child that
    // hangs, so a hang fails the test instead of stopping the suite.
    const ChildReport report = RunReporting([&] {
        ::alarm(20);
        std::string seen;
        seen += ErrorOf([&] {
            TextDocument document;
            document.LoadFile(fifo);
        });
        seen += "\n" + ErrorOf([&] { ReplaceWholeFile(fifo, "x"); });
        seen += "\n" + ErrorOf([&] { AppendToFile(fifo, "x"); });
        seen += std::string("\n") + (TextDocument::MakeBackup(fifo) ? "copied" : "not copied");
        return seen;
    });
    ASSERT_EQ(report.status, 0) << "the child hung or crashed";
    const std::string open_error = "Cannot open file " + Quoted(fifo);
    const std::string create_error = "Cannot create file " + Quoted(fifo);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= report.text.size();) {
        std::size_t end = report.text.find('\n', start);
        if (end == std::string::npos) {
            end = report.text.size();
        }
        lines.push_back(report.text.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 4u) << report.text;
    EXPECT_EQ(lines[0].rfind(open_error, 0), 0u) << lines[0];
    EXPECT_GT(lines[0].size(), open_error.size());
    EXPECT_EQ(lines[1].rfind(create_error, 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind(create_error, 0), 0u) << lines[2];
    EXPECT_EQ(lines[3], "not copied");
    EXPECT_TRUE(S_ISFIFO(StatOf(fifo).st_mode));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"fifo"}));
}

TEST(AppendTest, AFailedAppendCutsBackToTheOldLength) {
    TempDir dir;
    const std::string old_bytes = std::string(100, 'o');
    const std::string path = dir.Write("log.txt", old_bytes);
    // Past the limit half way: the half written must go again.
    const ChildReport report = RunReporting([&] {
        test::LimitFileSize(150);
        AppendToFile(path, std::string(200, 'a'));
        return std::string("appended");
    });
    ASSERT_EQ(report.status, 0);
    EXPECT_EQ(report.text, "EngineError: Stream write error");
    EXPECT_EQ(ReadFile(path), old_bytes);
}

TEST(ReplaceTailTest, AFailedWriteLeavesTheHead) {
    TempDir dir;
    const std::string path = dir.Write("log.txt", "head|" + std::string(50, 't'));
    const ChildReport report = RunReporting([&] {
        test::LimitFileSize(100);
        ReplaceFileTail(path, 5, std::string(200, 'n'));
        return std::string("written");
    });
    ASSERT_EQ(report.status, 0);
    EXPECT_EQ(report.text, "EngineError: Stream write error");
    EXPECT_EQ(ReadFile(path), "head|");
}

TEST(SafeSaveTest, ExtendedAttributesSurviveTheReplacement) {
    TempDir dir;
    const std::string path = dir.Write("tagged.txt", "old\r\n");
    const std::string value = "kept";
    if (::setxattr(path.c_str(), "user.korv", value.data(), value.size(), 0) != 0) {
        GTEST_SKIP() << "no user attributes on this file system";
    }
    ReplaceWholeFile(path, "new\r\n");
    EXPECT_EQ(ReadFile(path), "new\r\n");
    char read_back[16] = {};
    ASSERT_EQ(::getxattr(path.c_str(), "user.korv", read_back, sizeof read_back),
              static_cast<ssize_t>(value.size()));
    EXPECT_EQ(std::string(read_back, value.size()), value);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST(FaultWalkTest, EveryFailingCallOfASaveThroughALinkLeavesOldOrNewBytes) {
    test::ExpectEveryFailingCallOfASaveLeavesOldOrNewBytes(
        {"Link",
         [](const TempDir& dir, const std::string& old_bytes) {
             dir.Write("target.txt", old_bytes);
             EXPECT_EQ(::symlink("target.txt", dir.File("link.txt").c_str()), 0);
             return dir.File("link.txt");
         },
         [](const TempDir& dir) { return dir.File("target.txt"); }});
}

}  // namespace
}  // namespace korv
