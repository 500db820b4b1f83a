// The log where only POSIX can set the stage: a file size limit, a
// folder and a log the user may not write or read.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "activity_log.h"
#include "engine_error.h"
#include "file_system_helpers.h"
#include "log_lines.h"
#include "posix_file_helpers.h"
#include "temp_dir.h"

namespace korv {
namespace {

using test::ChildReport;
using test::ChildUser;
using test::IsLine;
using test::Joined;
using test::kLogFormat;
using test::ReadFile;
using test::RunReporting;
using test::SplitCrLf;
using test::TempDir;

TEST(ActivityLogTest, AnAppendPastTheFileSizeLimitLosesNoLine) {
    TempDir dir;
    const std::string path = dir.File("korv.log");
    const ChildReport report = RunReporting([&] {
        ActivityLog log(path, kLogFormat);
        log.Open();
        log.AddEvent("a");
        const std::int64_t before = test::SizeOf(path);
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
        outcome += test::SizeOf(path) == before ? "; cut back" : "; left longer";
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
            ActivityLog log(path, kLogFormat);
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
            ActivityLog log(path, kLogFormat);
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

}  // namespace
}  // namespace korv
