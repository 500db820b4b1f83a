#include "activity_log.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "engine_error.h"
#include "file_system_helpers.h"
#include "file_test_helpers.h"
#include "log_lines.h"
#include "temp_dir.h"
#include "time_stamp.h"

namespace korv {
namespace {

using test::FailNthCall;
using test::FaultPlanScope;
using test::IsLine;
using test::Joined;
using test::kLogFormat;
using test::kStamp;
using test::ReadFile;
using test::SplitCrLf;
using test::TempDir;
using namespace std::string_literals;

TEST(ActivityLogTest, FirstStartWritesTheStartLineAlone) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    ActivityLog log(path, kLogFormat);
    log.Open();
    ASSERT_EQ(log.LogLines().size(), 1u);
    EXPECT_TRUE(IsLine(log.LogLines()[0], "Application Started")) << log.LogLines()[0];
    const std::string file = ReadFile(path);
    EXPECT_TRUE(std::regex_match(file, std::regex(kStamp + " - Application Started\r\n"))) << file;
    EXPECT_EQ(file, log.LogLines()[0] + "\r\n");
}

struct OldLogCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
    // Already its lines joined with CR LF: the start-up line is appended
    // to the file as it is, which gives the same bytes.
    bool appended = false;
};

class OldLogTest : public ::testing::TestWithParam<OldLogCase> {};

TEST_P(OldLogTest, IsRewrittenWithCrLfAndTheStartLineLast) {
    const OldLogCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.Write("korv.log", c.bytes);
    const FileIdentity before = test::IdentityOf(path);
    ActivityLog log(path, kLogFormat);
    log.Open();
    EXPECT_EQ(test::IdentityOf(path) == before, c.appended);
    const std::vector<std::string> lines = log.LogLines();
    ASSERT_EQ(lines.size(), c.lines.size() + 1);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end() - 1), c.lines);
    EXPECT_TRUE(IsLine(lines.back(), "Application Started"));
    EXPECT_EQ(ReadFile(path), Joined(c.lines) + lines.back() + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OldLogTest,
    ::testing::Values(OldLogCase{"Empty", "", {}, true},
                      OldLogCase{"Lf", "one\ntwo\n", {"one", "two"}},
                      OldLogCase{"Cr", "one\rtwo\r", {"one", "two"}},
                      OldLogCase{"CrLf", "one\r\ntwo\r\n", {"one", "two"}, true},
                      OldLogCase{"NoBreakAtTheEnd", "one\r\ntwo", {"one", "two"}},
                      OldLogCase{"LfCr", "one\n\rtwo\n", {"one", "", "two"}},
                      OldLogCase{"Nul", "one\ntwo\0lost\nlost too\n"s, {"one", "two"}},
                      OldLogCase{"HighBytes", "\xC4\xE4\xFF\n", {"\xC4\xE4\xFF"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ActivityLogTest, StartTwoEventsAndCloseGiveFourLinesInOrder) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    ActivityLog log(path, kLogFormat);
    log.Open();
    log.AddEvent("a found in /x/one.txt and replaced to b");
    log.AddEvent("a found in /x/two.txt and replaced to b");
    log.Close();

    std::vector<std::string> lines;
    ASSERT_TRUE(SplitCrLf(ReadFile(path), lines));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(IsLine(lines[0], "Application Started")) << lines[0];
    EXPECT_TRUE(IsLine(lines[1], "a found in /x/one.txt and replaced to b")) << lines[1];
    EXPECT_TRUE(IsLine(lines[2], "a found in /x/two.txt and replaced to b")) << lines[2];
    EXPECT_TRUE(IsLine(lines[3], "Application Closed")) << lines[3];
    EXPECT_EQ(lines, log.LogLines());
}

TEST(ActivityLogTest, ASecondStartKeepsTheFirstOnesLines) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    {
        ActivityLog log(path, kLogFormat);
        log.Open();
        log.Close();
    }
    ActivityLog log(path, kLogFormat);
    log.Open();
    ASSERT_EQ(log.LogLines().size(), 3u);
    EXPECT_TRUE(IsLine(log.LogLines()[1], "Application Closed"));
    EXPECT_TRUE(IsLine(log.LogLines()[2], "Application Started"));
    EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));
}

TEST(ActivityLogTest, AnEventWithALineBreakSpansTwoLines) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    ActivityLog log(path, kLogFormat);
    log.Open();
    log.AddEvent("two\r\nlines found in /a.txt and replaced to x");
    EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));

    std::vector<std::string> lines;
    ASSERT_TRUE(SplitCrLf(ReadFile(path), lines));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(IsLine(lines[1], "two")) << lines[1];
    EXPECT_EQ(lines[2], "lines found in /a.txt and replaced to x");

    // The next start reads them as two lines.
    ActivityLog again(path, kLogFormat);
    again.Open();
    ASSERT_EQ(again.LogLines().size(), 4u);
    EXPECT_EQ(again.LogLines()[2], "lines found in /a.txt and replaced to x");
}

TEST(ActivityLogTest, AnAddedLineIsAppendedAndTheBytesMatchARewrite) {
    TempDir dir;
    const std::string path = dir.Write("korv.log", "old line\n");
    ActivityLog log(path, kLogFormat);
    log.Open();
    const FileIdentity file = test::IdentityOf(path);
    for (int i = 0; i < 5; ++i) {
        log.AddEvent("event " + std::to_string(i));
        EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));
    }
    log.Close();
    EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));
    // Appending writes into the same file; a rewrite would have replaced it.
    EXPECT_EQ(test::IdentityOf(path), file);
    EXPECT_EQ(log.LogLines().size(), 8u);
}

// Opens a log, adds "a", then adds "b" with `fault` installed and "c"
// without: whatever failed, the file ends as the four lines in order.
void ExpectNoLineLostOrDoubled(FileCall operation, int nth) {
    SCOPED_TRACE(std::string(FileCallName(operation)) + " #" + std::to_string(nth));
    TempDir dir;
    const std::string path = dir.File("korv.log");
    ActivityLog log(path, kLogFormat);
    log.Open();
    log.AddEvent("a");
    FailNthCall fault(operation, nth, EIO);
    bool failed = false;
    {
        FaultPlanScope scope(fault);
        try {
            log.AddEvent("b");
        } catch (const EngineError&) {
            failed = true;
        }
    }
    EXPECT_TRUE(fault.Fired());
    if (!failed) {
        EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));
    }
    log.AddEvent("c");
    ASSERT_EQ(log.LogLines().size(), 4u);
    EXPECT_TRUE(IsLine(log.LogLines()[2], "b"));
    EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));
    EXPECT_TRUE(test::TempLeftovers(dir.Path()).empty());
}

TEST(ActivityLogTest, AFailedAppendIsMadeGoodByTheNextWrite) {
    std::vector<std::pair<FileCall, int>> calls;
    {
        TempDir dir;
        ActivityLog log(dir.File("korv.log"), kLogFormat);
        log.Open();
        log.AddEvent("a");
        calls = test::EveryCallOf([&] { log.AddEvent("b"); });
    }
    ASSERT_FALSE(calls.empty());
    for (const auto& [operation, nth] : calls) {
        ExpectNoLineLostOrDoubled(operation, nth);
    }
}

TEST(ActivityLogTest, AFailedRewriteIsMadeGoodByTheOneAfter) {
    // The write after a failed append rewrites the file: fail each of its
    // calls in turn, then write once more.
    auto prepare = [](ActivityLog& log) {
        log.Open();
        FailNthCall fail_append(FileCall::kWrite, 1, ENOSPC);
        FaultPlanScope scope(fail_append);
        EXPECT_THROW(log.AddEvent("a"), EngineError);
    };
    std::vector<std::pair<FileCall, int>> calls;
    {
        TempDir dir;
        ActivityLog log(dir.File("korv.log"), kLogFormat);
        prepare(log);
        calls = test::EveryCallOf([&] { log.AddEvent("b"); });
        EXPECT_EQ(ReadFile(dir.File("korv.log")), Joined(log.LogLines()));
    }
    for (const auto& [operation, nth] : calls) {
        SCOPED_TRACE(std::string(FileCallName(operation)) + " #" + std::to_string(nth));
        TempDir dir;
        const std::string path = dir.File("korv.log");
        ActivityLog log(path, kLogFormat);
        prepare(log);
        FailNthCall fault(operation, nth, EIO);
        {
            FaultPlanScope scope(fault);
            try {
                log.AddEvent("b");
            } catch (const EngineError&) {
            }
        }
        log.AddEvent("c");
        ASSERT_EQ(log.LogLines().size(), 4u);
        EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));
        EXPECT_TRUE(test::TempLeftovers(dir.Path()).empty());
    }
}

// A log of 2 GiB and more is not read; it is kept, and our lines go after it
// whatever happens to our writes.
TEST(ActivityLogTest, AHugeLogIsKeptEvenWhenAWriteFails) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    const std::int64_t old_size = 0x80000000LL;
    ASSERT_TRUE(test::MakeSparseFile(path, "head\r\n", old_size));
    ActivityLog log(path, kLogFormat);
    log.Open();
    ASSERT_EQ(log.LogLines().size(), 1u);
    EXPECT_TRUE(IsLine(log.LogLines()[0], "Application Started"));

    auto expect_kept = [&] {
        const std::string ours = Joined(log.LogLines());
        ASSERT_EQ(test::SizeOf(path), old_size + static_cast<std::int64_t>(ours.size()));
        EXPECT_EQ(test::ReadAt(path, 0, 6), "head\r\n");
        EXPECT_EQ(test::ReadAt(path, old_size, ours.size()), ours);
    };
    expect_kept();
    log.AddEvent("one");
    expect_kept();

    FailNthCall fault(FileCall::kWrite, 1, ENOSPC);
    {
        FaultPlanScope scope(fault);
        EXPECT_THROW(log.AddEvent("two"), EngineError);
    }
    log.AddEvent("three");
    expect_kept();
    EXPECT_EQ(log.LogLines().size(), 4u);
    EXPECT_TRUE(test::TempLeftovers(dir.Path()).empty());
}

TEST(ActivityLogTest, AHugeLogIsKeptWhenTheStartLineCannotBeAppended) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    const std::int64_t old_size = 0x80000000LL;
    ASSERT_TRUE(test::MakeSparseFile(path, "head\r\n", old_size));
    ActivityLog log(path, kLogFormat);
    FailNthCall fault(FileCall::kWrite, 1, ENOSPC);
    {
        FaultPlanScope scope(fault);
        try {
            log.Open();
        } catch (const EngineError&) {
        }
    }
    EXPECT_TRUE(fault.Fired());
    ASSERT_EQ(log.LogLines().size(), 1u);
    log.AddEvent("after");
    const std::string ours = Joined(log.LogLines());
    ASSERT_EQ(test::SizeOf(path), old_size + static_cast<std::int64_t>(ours.size()));
    EXPECT_EQ(test::ReadAt(path, 0, 6), "head\r\n");
    EXPECT_EQ(test::ReadAt(path, old_size, ours.size()), ours);
}

}  // namespace
}  // namespace korv
