#include "activity_log.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <regex>
#include <string>
#include <vector>

#include "engine_error.h"
#include "file_test_helpers.h"
#include "posix_file_helpers.h"
#include "temp_dir.h"
#include "time_stamp.h"

namespace korv {
namespace {

using test::ChildReport;
using test::ChildUser;
using test::FailNthCall;
using test::FaultPlanScope;
using test::ReadFile;
using test::RunReporting;
using test::StatOf;
using test::TempDir;
using namespace std::string_literals;

// Fixed pictures, so a line's stamp can be matched by its shape.
const TimeFormat kFormat{"yyyy-mm-dd", "hh:nn:ss", "AM", "PM"};
const std::string kStamp = R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})";

bool IsLine(const std::string& line, const std::string& event) {
    // The event is matched literally.
    const std::string quoted =
        std::regex_replace(event, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
    return std::regex_match(line, std::regex(kStamp + " - " + quoted));
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// The file's lines as CR LF breaks separate them; false when a line lacks
// its CR LF or holds a lone CR or LF.
bool SplitCrLf(const std::string& text, std::vector<std::string>& lines) {
    lines.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            return false;
        }
        std::string line = text.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) {
            return false;
        }
        lines.push_back(line);
        start = end + 2;
    }
    return true;
}

TEST(ActivityLogTest, FirstStartWritesTheStartLineAlone) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    ActivityLog log(path, kFormat);
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
    const ino_t before = StatOf(path).st_ino;
    ActivityLog log(path, kFormat);
    log.Open();
    EXPECT_EQ(StatOf(path).st_ino == before, c.appended);
    ASSERT_EQ(log.LogLines().size(), c.lines.size() + 1);
    EXPECT_EQ(std::vector<std::string>(log.LogLines().begin(), log.LogLines().end() - 1), c.lines);
    EXPECT_TRUE(IsLine(log.LogLines().back(), "Application Started"));
    EXPECT_EQ(ReadFile(path), Joined(c.lines) + log.LogLines().back() + "\r\n");
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
    ActivityLog log(path, kFormat);
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
        ActivityLog log(path, kFormat);
        log.Open();
        log.Close();
    }
    ActivityLog log(path, kFormat);
    log.Open();
    ASSERT_EQ(log.LogLines().size(), 3u);
    EXPECT_TRUE(IsLine(log.LogLines()[1], "Application Closed"));
    EXPECT_TRUE(IsLine(log.LogLines()[2], "Application Started"));
    EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));
}

TEST(ActivityLogTest, AnEventWithALineBreakSpansTwoLines) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    ActivityLog log(path, kFormat);
    log.Open();
    log.AddEvent("two\r\nlines found in /a.txt and replaced to x");
    EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));

    std::vector<std::string> lines;
    ASSERT_TRUE(SplitCrLf(ReadFile(path), lines));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(IsLine(lines[1], "two")) << lines[1];
    EXPECT_EQ(lines[2], "lines found in /a.txt and replaced to x");

    // The next start reads them as two lines.
    ActivityLog again(path, kFormat);
    again.Open();
    ASSERT_EQ(again.LogLines().size(), 4u);
    EXPECT_EQ(again.LogLines()[2], "lines found in /a.txt and replaced to x");
}

TEST(ActivityLogTest, AnAddedLineIsAppendedAndTheBytesMatchARewrite) {
    TempDir dir;
    const std::string path = dir.Write("korv.log", "old line\n");
    ActivityLog log(path, kFormat);
    log.Open();
    const ino_t inode = StatOf(path).st_ino;
    for (int i = 0; i < 5; ++i) {
        log.AddEvent("event " + std::to_string(i));
        EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));
    }
    log.Close();
    EXPECT_EQ(ReadFile(path), Joined(log.LogLines()));
    // Appending writes into the same file; a rewrite would have replaced it.
    EXPECT_EQ(StatOf(path).st_ino, inode);
    EXPECT_EQ(log.LogLines().size(), 8u);
}

// Opens a log, adds "a", then adds "b" with `fault` installed and "c"
// without: whatever failed, the file ends as the four lines in order.
void ExpectNoLineLostOrDoubled(const std::string& operation, int nth) {
    SCOPED_TRACE(operation + " #" + std::to_string(nth));
    TempDir dir;
    const std::string path = dir.File("korv.log");
    ActivityLog log(path, kFormat);
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
    std::vector<std::pair<std::string, int>> calls;
    {
        TempDir dir;
        ActivityLog log(dir.File("korv.log"), kFormat);
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
        FailNthCall fail_append("write", 1, ENOSPC);
        FaultPlanScope scope(fail_append);
        EXPECT_THROW(log.AddEvent("a"), EngineError);
    };
    std::vector<std::pair<std::string, int>> calls;
    {
        TempDir dir;
        ActivityLog log(dir.File("korv.log"), kFormat);
        prepare(log);
        calls = test::EveryCallOf([&] { log.AddEvent("b"); });
        EXPECT_EQ(ReadFile(dir.File("korv.log")), Joined(log.LogLines()));
    }
    for (const auto& [operation, nth] : calls) {
        SCOPED_TRACE(operation + " #" + std::to_string(nth));
        TempDir dir;
        const std::string path = dir.File("korv.log");
        ActivityLog log(path, kFormat);
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

TEST(ActivityLogTest, AnAppendPastTheFileSizeLimitLosesNoLine) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    const ChildReport report = RunReporting([&] {
        ActivityLog log(path, kFormat);
        log.Open();
        log.AddEvent("a");
        const off_t before = StatOf(path).st_size;
        // A soft limit only, so it can be lifted again.
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit lifted = limit;
        limit.rlim_cur = static_cast<rlim_t>(before + 20);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string outcome;
        try {
            log.AddEvent(std::string(300, 'b'));
            outcome = "appended";
        } catch (const EngineError& error) {
            outcome = error.what();
        }
        outcome += StatOf(path).st_size == before ? "; cut back" : "; left longer";
        ::setrlimit(RLIMIT_FSIZE, &lifted);
        log.AddEvent("c");
        outcome += ReadFile(path) == Joined(log.LogLines()) ? "; whole" : "; differs";
        outcome += "; " + std::to_string(log.LogLines().size());
        return outcome;
    });
    ASSERT_EQ(report.status, 0);
    EXPECT_EQ(report.text, "Stream write error; cut back; whole; 4");
}

TEST(ActivityLogTest, AnUnwritableFolderFailsTheOpenButKeepsTheStartLine) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    const std::string path = dir.File("korv.log");
    const ChildReport report = RunReporting(
        [&] {
            ActivityLog log(path, kFormat);
            std::string outcome;
            try {
                log.Open();
                outcome = "opened";
            } catch (const EngineError& error) {
                outcome = error.what();
            }
            outcome += "\n" + std::to_string(log.LogLines().size());
            for (const auto& line : log.LogLines()) {
                outcome += "\n" + line;
            }
            return outcome;
        },
        ChildUser::kUnprivileged);
    if (report.status == test::kCannotDropRoot) {
        GTEST_SKIP() << "cannot run as an unprivileged user here";
    }
    ASSERT_EQ(report.status, 0);
    const std::string expected_error =
        "Cannot create file \"" + path + "\". Permission denied\n1\n";
    ASSERT_EQ(report.text.substr(0, expected_error.size()), expected_error) << report.text;
    EXPECT_TRUE(IsLine(report.text.substr(expected_error.size()), "Application Started"))
        << report.text;
    EXPECT_FALSE(test::FileExists(path));
}

TEST(ActivityLogTest, AnUnreadableLogIsKeptAndTheStartLineAppended) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    const std::string old_bytes = "old\nlog\r\n";
    const std::string path = dir.Write("korv.log", old_bytes);
    if (test::RunningAsRoot()) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(::chmod(path.c_str(), 0200), 0);

    const ChildReport report = RunReporting(
        [&] {
            ActivityLog log(path, kFormat);
            log.Open();
            std::string lines = std::to_string(log.LogLines().size()) + "\n";
            log.AddEvent("later");
            return lines + Joined(log.LogLines());
        },
        ChildUser::kUnprivileged);
    if (report.status == test::kCannotDropRoot) {
        GTEST_SKIP() << "cannot run as an unprivileged user here";
    }
    ASSERT_EQ(report.status, 0);
    ASSERT_EQ(report.text.substr(0, 2), "1\n") << report.text;
    const std::string ours = report.text.substr(2);
    std::vector<std::string> lines;
    ASSERT_TRUE(SplitCrLf(ours, lines));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(IsLine(lines[0], "Application Started"));
    EXPECT_TRUE(IsLine(lines[1], "later"));
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    EXPECT_EQ(ReadFile(path), old_bytes + ours);
}

// A log of 2 GiB and more is not read; it is kept, and our lines go after it
// whatever happens to our writes.
TEST(ActivityLogTest, AHugeLogIsKeptEvenWhenAWriteFails) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    const off_t old_size = 0x80000000LL;
    ASSERT_TRUE(test::MakeSparseFile(path, "head\r\n", old_size));
    ActivityLog log(path, kFormat);
    log.Open();
    ASSERT_EQ(log.LogLines().size(), 1u);
    EXPECT_TRUE(IsLine(log.LogLines()[0], "Application Started"));

    auto expect_kept = [&] {
        const std::string ours = Joined(log.LogLines());
        ASSERT_EQ(StatOf(path).st_size, old_size + static_cast<off_t>(ours.size()));
        EXPECT_EQ(test::ReadAt(path, 0, 6), "head\r\n");
        EXPECT_EQ(test::ReadAt(path, old_size, ours.size()), ours);
    };
    expect_kept();
    log.AddEvent("one");
    expect_kept();

    FailNthCall fault("write", 1, ENOSPC);
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
    const off_t old_size = 0x80000000LL;
    ASSERT_TRUE(test::MakeSparseFile(path, "head\r\n", old_size));
    ActivityLog log(path, kFormat);
    FailNthCall fault("write", 1, ENOSPC);
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
    ASSERT_EQ(StatOf(path).st_size, old_size + static_cast<off_t>(ours.size()));
    EXPECT_EQ(test::ReadAt(path, 0, 6), "head\r\n");
    EXPECT_EQ(test::ReadAt(path, old_size, ours.size()), ours);
}

}  // namespace
}  // namespace korv
