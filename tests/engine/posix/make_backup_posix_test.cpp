// Backup copies where POSIX has more to keep: modes, symbolic links at the
// copy's name, and a copy the user may not write.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "file_test_helpers.h"
#include "posix_file_helpers.h"
#include "temp_dir.h"
#include "text_document.h"

namespace korv {
namespace {

using test::ChildUser;
using test::FileExists;
using test::ReadFile;
using test::StatOf;
using test::TempDir;

TEST(MakeBackupTest, ACopyOfAPrivateFileIsPrivate) {
    TempDir dir;
    const std::string path = dir.Write("secret.txt", "s");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    ASSERT_TRUE(TextDocument::MakeBackup(path));
    EXPECT_EQ(StatOf(path + ".bak").st_mode & 0077, 0u);
}

TEST(MakeBackupTest, ALinkInPlaceOfTheCopyIsReplacedNotFollowed) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "content");
    const std::string victim = dir.Write("victim.txt", "must stay");
    ASSERT_EQ(::symlink(victim.c_str(), (path + ".bak").c_str()), 0);
    EXPECT_TRUE(TextDocument::MakeBackup(path));
    EXPECT_TRUE(S_ISREG(StatOf(path + ".bak").st_mode));
    EXPECT_EQ(ReadFile(path + ".bak"), "content");
    EXPECT_EQ(ReadFile(victim), "must stay");
    EXPECT_TRUE(test::TempLeftovers(dir.Path()).empty());
}

TEST(MakeBackupTest, ADanglingLinkInPlaceOfTheCopyCreatesNothingElsewhere) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "content");
    const std::string elsewhere = dir.File("elsewhere.txt");
    ASSERT_EQ(::symlink(elsewhere.c_str(), (path + ".bak").c_str()), 0);
    EXPECT_TRUE(TextDocument::MakeBackup(path));
    EXPECT_TRUE(S_ISREG(StatOf(path + ".bak").st_mode));
    EXPECT_EQ(ReadFile(path + ".bak"), "content");
    EXPECT_FALSE(FileExists(elsewhere));
}

TEST(MakeBackupTest, AReadOnlyCopyIsKeptWithoutAWord) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    const std::string path = dir.Write("a.txt", "new content");
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const std::string bak = dir.Write("a.txt.bak", "old copy");
    ASSERT_EQ(::chmod(bak.c_str(), 0444), 0);

    const test::ChildReport report = test::RunReporting(
        [&] { return std::string(TextDocument::MakeBackup(path) ? "copied" : "not copied"); },
        ChildUser::kUnprivileged);
    if (report.status == test::kCannotDropRoot) {
        GTEST_SKIP() << "cannot run as an unprivileged user here";
    }
    ASSERT_EQ(report.status, 0);
    EXPECT_EQ(report.text, "not copied");
    EXPECT_EQ(ReadFile(bak), "old copy");
    EXPECT_EQ(ReadFile(path), "new content");
    EXPECT_TRUE(test::TempLeftovers(dir.Path()).empty());
}

}  // namespace
}  // namespace korv
