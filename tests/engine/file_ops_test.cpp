#include "file_ops.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "engine_error.h"
#include "file_system_helpers.h"
#include "file_test_helpers.h"
#include "save_scene_walk.h"
#include "temp_dir.h"
#include "text_document.h"

namespace korv {
namespace {

using test::ErrorOf;
using test::FailNthCall;
using test::FaultPlanScope;
using test::FileExists;
using test::Quoted;
using test::ReadFile;
using test::TempDir;
using test::TempLeftovers;

// The run weighs each next file by its size alone; what it is told must be
// what the full query tells.
TEST(SizeOfTest, TellsTheSizeAndKindThatVersionOfTells) {
    TempDir dir;
    const std::string file = dir.Write("a.txt", "twelve bytes");
    const std::string missing = dir.File("missing.txt");
    for (const std::string& path : {file, dir.Path(), missing}) {
        SCOPED_TRACE(path);
        const std::optional<FileSize> size = SizeOf(path);
        const std::optional<FileVersion> version = VersionOf(path);
        ASSERT_EQ(size.has_value(), version.has_value());
        if (size) {
            EXPECT_EQ(size->bytes, version->size);
            EXPECT_EQ(size->regular, version->regular);
        }
    }
    ASSERT_TRUE(SizeOf(file));
    EXPECT_EQ(SizeOf(file)->bytes, 12);
    EXPECT_TRUE(SizeOf(file)->regular);
    ASSERT_TRUE(SizeOf(dir.Path()));
    EXPECT_FALSE(SizeOf(dir.Path())->regular);
    EXPECT_FALSE(SizeOf(missing));
}

TEST(SafeSaveTest, AFileWithTwoNamesIsWrittenInPlace) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "old text");
    const std::string other = dir.File("b.txt");
    ASSERT_TRUE(test::MakeHardLink(path, other));
    const FileIdentity file = test::IdentityOf(path);

    ReplaceWholeFile(path, "new");
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(ReadFile(other), "new");
    EXPECT_EQ(test::IdentityOf(path), file);
    EXPECT_EQ(test::LinkCountOf(other), 2);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST(SafeSaveTest, AWriterThatThrowsLeavesTheOldBytesAndNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", "old text");
    const ContentWriter throwing = [](ContentSink& sink) -> bool {
        sink.Write("half");
        throw std::bad_alloc();
    };
    EXPECT_THROW(ReplaceWholeFile(path, throwing), std::bad_alloc);
    EXPECT_EQ(ReadFile(path), "old text");
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST(LargeFileTest, FilesOf2GiBOrMoreAreRefusedUnread) {
    for (std::int64_t size : {std::int64_t{0x80000000LL}, std::int64_t{0x100000005LL}}) {
        SCOPED_TRACE(size);
        TempDir dir;
        const std::string path = dir.File("huge.txt");
        ASSERT_TRUE(test::MakeSparseFile(path, "head\r\n", size));
        const FileIdentity file = test::IdentityOf(path);

        TextDocument document;
        document.AssignText("kept");
        FailNthCall recorder;
        std::string error;
        {
            FaultPlanScope scope(recorder);
            error = ErrorOf([&] { document.LoadFile(path); });
        }
        EXPECT_EQ(error, "Cannot open file " + Quoted(path) + "File too large");
        EXPECT_EQ(recorder.Counts().count(FileCall::kRead), 0u);
        EXPECT_EQ(document.JoinedText(), "kept\r\n");
        EXPECT_EQ(test::SizeOf(path), size);
        EXPECT_EQ(test::IdentityOf(path), file);
        EXPECT_EQ(test::ReadAt(path, 0, 6), "head\r\n");
        EXPECT_FALSE(TextDocument::MakeBackup(path));
        EXPECT_FALSE(FileExists(path + ".bak"));
    }
}

// The saves every system meets; those through symbolic links are in the
// system's own tests.
TEST(FaultWalkTest, EveryFailingCallOfASaveLeavesOldOrNewBytes) {
    const std::vector<test::SaveScene> scenes = {
        {"PlainFile",
         [](const TempDir& dir, const std::string& old_bytes) {
             return dir.Write("a.txt", old_bytes);
         },
         [](const TempDir& dir) { return dir.File("a.txt"); }},
        {"TwoNames",
         [](const TempDir& dir, const std::string& old_bytes) {
             const std::string path = dir.Write("a.txt", old_bytes);
             EXPECT_TRUE(test::MakeHardLink(path, dir.File("b.txt")));
             return path;
         },
         [](const TempDir& dir) { return dir.File("b.txt"); }},
    };
    for (const test::SaveScene& scene : scenes) {
        test::ExpectEveryFailingCallOfASaveLeavesOldOrNewBytes(scene);
    }
}

TEST(FaultWalkTest, EveryFailingCallOfANewFilesSaveLeavesNothingOrTheFile) {
    const std::string new_bytes = "created\r\n";
    std::vector<std::pair<FileCall, int>> calls;
    {
        TempDir dir;
        calls = test::EveryCallOf([&] { ReplaceWholeFile(dir.File("new.txt"), new_bytes); });
    }
    for (const auto& [operation, nth] : calls) {
        SCOPED_TRACE(std::string(FileCallName(operation)) + " #" + std::to_string(nth));
        TempDir dir;
        const std::string path = dir.File("new.txt");
        FailNthCall fault(operation, nth, EIO);
        std::string error;
        {
            FaultPlanScope scope(fault);
            error = ErrorOf([&] { ReplaceWholeFile(path, new_bytes); });
        }
        if (error == "no error") {
            EXPECT_EQ(ReadFile(path), new_bytes);
        } else {
            EXPECT_TRUE(!FileExists(path) || ReadFile(path) == new_bytes);
        }
        EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
    }
}

TEST(FaultWalkTest, EveryFailingCallOfABackupLeavesTheOldOrTheNewCopy) {
    std::vector<std::pair<FileCall, int>> calls;
    {
        TempDir dir;
        const std::string path = dir.Write("a.txt", "current");
        dir.Write("a.txt.bak", "older copy");
        calls = test::EveryCallOf([&] { EXPECT_TRUE(TextDocument::MakeBackup(path)); });
    }
    for (const auto& [operation, nth] : calls) {
        SCOPED_TRACE(std::string(FileCallName(operation)) + " #" + std::to_string(nth));
        TempDir dir;
        const std::string path = dir.Write("a.txt", "current");
        dir.Write("a.txt.bak", "older copy");
        FailNthCall fault(operation, nth, EIO);
        bool copied = false;
        {
            FaultPlanScope scope(fault);
            copied = TextDocument::MakeBackup(path);
        }
        const std::string bak = ReadFile(path + ".bak");
        EXPECT_EQ(bak, copied ? "current" : bak);
        EXPECT_TRUE(bak == "current" || bak == "older copy") << bak;
        EXPECT_EQ(ReadFile(path), "current");
        EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
    }
}

TEST(AppendTest, AppendsToTheEnd) {
    TempDir dir;
    const std::string path = dir.Write("log.txt", "one\r\n");
    const FileIdentity file = test::IdentityOf(path);
    AppendToFile(path, "two\r\n");
    EXPECT_EQ(ReadFile(path), "one\r\ntwo\r\n");
    EXPECT_EQ(test::IdentityOf(path), file);
}

TEST(AppendTest, AMissingFileIsNotCreated) {
    TempDir dir;
    const std::string path = dir.File("missing.txt");
    EXPECT_EQ(ErrorOf([&] { AppendToFile(path, "x"); }),
              "Cannot create file " + Quoted(path) + test::MissingFileText());
    EXPECT_FALSE(FileExists(path));
}

TEST(AppendTest, EveryFailingCallLeavesTheOldOrTheWholeNewEnd) {
    const std::string old_bytes = "first\r\n";
    const std::string more = "second\r\n";
    std::vector<std::pair<FileCall, int>> calls;
    {
        TempDir dir;
        const std::string path = dir.Write("log.txt", old_bytes);
        calls = test::EveryCallOf([&] { AppendToFile(path, more); });
    }
    ASSERT_FALSE(calls.empty());
    for (const auto& [operation, nth] : calls) {
        SCOPED_TRACE(std::string(FileCallName(operation)) + " #" + std::to_string(nth));
        TempDir dir;
        const std::string path = dir.Write("log.txt", old_bytes);
        FailNthCall fault(operation, nth, EIO);
        std::string error;
        {
            FaultPlanScope scope(fault);
            error = ErrorOf([&] { AppendToFile(path, more); });
        }
        const std::string now = ReadFile(path);
        if (error == "no error") {
            EXPECT_EQ(now, old_bytes + more);
        } else {
            EXPECT_TRUE(now == old_bytes || now == old_bytes + more) << now;
        }
    }
}

TEST(ReplaceTailTest, KeepsTheHeadAndReplacesWhatFollows) {
    TempDir dir;
    const std::string path = dir.Write("log.txt", "kept head|old tail");
    const FileIdentity file = test::IdentityOf(path);
    ReplaceFileTail(path, 10, "new tail");
    EXPECT_EQ(ReadFile(path), "kept head|new tail");
    EXPECT_EQ(test::IdentityOf(path), file);
    // A file shorter than the head keeps all it has.
    ReplaceFileTail(path, 1000, "+more");
    EXPECT_EQ(ReadFile(path), "kept head|new tail+more");
}

TEST(ReplaceTailTest, CreatesAFileThatIsGone) {
    TempDir dir;
    const std::string path = dir.File("gone.txt");
    ReplaceFileTail(path, 10, "fresh");
    EXPECT_EQ(ReadFile(path), "fresh");
}

}  // namespace
}  // namespace korv
