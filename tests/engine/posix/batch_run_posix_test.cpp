// Runs where only POSIX can set the stage: a user who may not write a file,
// a folder or the log, and a file size limit.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "activity_log.h"
#include "batch_run.h"
#include "child_process.h"
#include "fake_batch_ui.h"
#include "file_test_helpers.h"
#include "temp_dir.h"
#include "time_stamp.h"

namespace korv {
namespace {

using test::FakeUi;
using test::FileExists;
using test::LogEvents;
using test::ReadFile;
using test::Replaced;
using test::TempDir;

// What a run in an unprivileged child reports back: its calls and outcome.
std::string Report(const FakeUi& ui, const BatchOutcome& outcome) {
    std::string text;
    for (const std::string& call : ui.calls) {
        text += call + "\n";
    }
    text += "replaced " + std::to_string(outcome.FilesReplaced) + ", failed " +
            std::to_string(outcome.FilesFailed) + "\n";
    return text;
}

// Runs `body` in a child as a user without root's right to write any file
// and returns what it reported. The folder must let that user write.
std::optional<std::string> RunUnprivileged(const TempDir& dir,
                                           const std::function<std::string()>& body) {
    const std::string report = dir.File("child-report");
    const int status = test::RunInChild([&] {
        if (test::RunningAsRoot() && !test::DropToUnprivilegedUser()) {
            return 97;
        }
        test::WriteFile(report, body());
        return 0;
    });
    if (status != 0) {
        ADD_FAILURE() << "the unprivileged child ended with status " << status;
        return std::nullopt;
    }
    return ReadFile(report);
}

// Opens a folder and its files to everybody, so the unprivileged child
// may work in it.
void OpenToEverybody(const TempDir& dir, const std::vector<std::string>& files) {
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
    for (const std::string& file : files) {
        ASSERT_EQ(chmod(file.c_str(), 0666), 0);
    }
}

TEST(BatchRunUnprivileged, AReadOnlyFileFailsAfterItsLogLineAndBackupAndIsNotCounted) {
    TempDir dir;
    const std::string a = dir.Write("a.txt", "x\r\n");
    const std::string ro = dir.Write("ro.txt", "x here\r\n");
    const std::string b = dir.Write("b.txt", "x\r\n");
    OpenToEverybody(dir, {a, ro, b});
    ASSERT_EQ(chmod(ro.c_str(), 0444), 0);
    const std::string log_path = dir.File("korv.log");

    const auto report = RunUnprivileged(dir, [&] {
        ActivityLog log(log_path, TimeFormat{});
        log.Open();
        FakeUi ui;
        ui.entries = {a, ro, b};
        ui.find = "x";
        ui.replacement = "y";
        ui.back_up = true;
        const BatchOutcome outcome = RunBatch(ui, log);
        return Report(ui, outcome);
    });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(*report,
              "confirm\nbusy on\ncurrent 0\ncurrent 0\ncurrent 1\nmessage Cannot open file " + ro +
                  ".\ncurrent 2\nresults 3 2\ncurrent 0\nbusy off\nreplaced 2, failed 1\n");
    EXPECT_EQ(ReadFile(ro), "x here\r\n");
    EXPECT_EQ(ReadFile(ro + ".bak"), "x here\r\n");
    EXPECT_EQ(ReadFile(a), "y\r\n");
    EXPECT_EQ(ReadFile(b), "y\r\n");
    EXPECT_EQ(LogEvents(log_path),
              (std::vector<std::string>{"Application Started", Replaced("x", a, "y"),
                                        Replaced("x", ro, "y"), Replaced("x", b, "y")}));
}

TEST(BatchRunUnprivileged, AFailedBackupInAReadOnlyFolderIsSilent) {
    TempDir dir;
    ASSERT_EQ(mkdir(dir.File("locked").c_str(), 0755), 0);
    const std::string a = dir.Write("locked/a.txt", "x\r\n");
    OpenToEverybody(dir, {a});
    // Nobody may create files in the folder, its owner included.
    ASSERT_EQ(chmod(dir.File("locked").c_str(), 0555), 0);
    const std::string log_path = dir.File("korv.log");

    const auto report = RunUnprivileged(dir, [&] {
        ActivityLog log(log_path, TimeFormat{});
        log.Open();
        FakeUi ui;
        ui.entries = {a};
        ui.find = "x";
        ui.replacement = "y";
        ui.back_up = true;
        return Report(ui, RunBatch(ui, log));
    });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(*report,
              "confirm\nbusy on\ncurrent 0\ncurrent 0\nresults 1 1\ncurrent 0\nbusy off\n"
              "replaced 1, failed 0\n");
    EXPECT_EQ(ReadFile(a), "y\r\n");
    EXPECT_FALSE(FileExists(a + ".bak"));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("locked"))) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"a.txt"});
}

TEST(BatchRunFailedWrite, AFileThatCannotBeWrittenInFullStaysAsItWas) {
    // A size limit makes the save fail part way, both when a temporary
    // file is written and when the file is written in place (it has a
    // second hard link).
    TempDir dir;
    const std::string old_content = std::string(1000, 'x') + "\r\n";
    const std::string a = dir.Write("a.txt", old_content);
    const std::string linked = dir.Write("linked.txt", old_content);
    ASSERT_EQ(link(linked.c_str(), dir.File("other-name.txt").c_str()), 0);
    const std::string small = dir.Write("small.txt", "x\r\n");
    const std::string log_path = dir.File("korv.log");
    const std::string report_path = dir.File("report");

    const int status = test::RunInChild([&] {
        test::LimitFileSize(4096);
        ActivityLog log(log_path, TimeFormat{});
        log.Open();
        FakeUi ui;
        ui.entries = {a, linked, small};
        ui.find = "x";
        ui.replacement = "xxxxxxxx";
        test::WriteFile(report_path, Report(ui, RunBatch(ui, log)));
        return 0;
    });
    ASSERT_EQ(status, 0);
    EXPECT_EQ(ReadFile(report_path),
              "confirm\nbusy on\ncurrent 0\ncurrent 0\nmessage Cannot open file " + a +
                  ".\ncurrent 1\nmessage Cannot open file " + linked +
                  ".\ncurrent 2\nresults 3 1\ncurrent 0\nbusy off\nreplaced 1, failed 2\n");
    EXPECT_EQ(ReadFile(a), old_content);
    EXPECT_EQ(ReadFile(linked), old_content);
    EXPECT_EQ(ReadFile(small), "xxxxxxxx\r\n");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "korv.log", "linked.txt",
                                                     "other-name.txt", "report", "small.txt"}));
    // The log lines of the failed files stay.
    EXPECT_EQ(LogEvents(log_path).size(), 4U);
}

TEST(BatchRunUnprivileged, AnUnwritableLogFailsEveryFileThatHoldsTheText) {
    TempDir dir;
    const std::string a = dir.Write("a.txt", "x\r\n");
    const std::string clean = dir.Write("clean.txt", "nothing\r\n");
    const std::string b = dir.Write("b.txt", "x x\r\n");
    OpenToEverybody(dir, {a, clean, b});
    const std::string log_path = dir.Write("korv.log", "old line\r\n");
    ASSERT_EQ(chmod(log_path.c_str(), 0444), 0);

    const auto report = RunUnprivileged(dir, [&] {
        ActivityLog log(log_path, TimeFormat{});
        try {
            log.Open();
        } catch (const std::exception&) {
            // The window program reports this and runs on.
        }
        FakeUi ui;
        ui.entries = {a, clean, b};
        ui.find = "x";
        ui.replacement = "y";
        ui.back_up = true;
        return Report(ui, RunBatch(ui, log));
    });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(*report, "confirm\nbusy on\ncurrent 0\ncurrent 0\nmessage Cannot open file " + a +
                           ".\ncurrent 1\ncurrent 2\nmessage Cannot open file " + b +
                           ".\nresults 3 0\ncurrent 0\nbusy off\nreplaced 0, failed 2\n");
    EXPECT_EQ(ReadFile(a), "x\r\n");
    EXPECT_EQ(ReadFile(clean), "nothing\r\n");
    EXPECT_EQ(ReadFile(b), "x x\r\n");
    EXPECT_FALSE(FileExists(a + ".bak"));
    EXPECT_FALSE(FileExists(b + ".bak"));
    EXPECT_EQ(ReadFile(log_path), "old line\r\n");
}

}  // namespace
}  // namespace korv
