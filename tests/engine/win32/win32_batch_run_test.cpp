// A run that plans big files ahead, on Windows, where a file being read
// shares no writing: planning a file ahead must never keep the run itself
// from writing it, its backup or the log.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "activity_log.h"
#include "batch_run.h"
#include "counting_fault_plan.h"
#include "file_fault.h"
#include "file_ops.h"
#include "temp_dir.h"
#include "time_stamp.h"
#include "wide_names.h"

namespace korv {
namespace {

using test::ReadFile;
using test::TempDir;

// A command-line run: fixed texts, options and list, so it plans ahead.
class FixedUi final : public BatchUi {
public:
    std::vector<std::string> entries;
    bool back_up = false;
    std::vector<std::string> messages;
    std::int64_t replaced = -1;

    bool AskConfirmation(const std::string&, const std::string&) override { return true; }
    void ReportError(const std::string& text, const std::string&) override {
        messages.push_back(text);
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void SetBusyCursor(bool) override {}
    std::int32_t EntryCount() override { return static_cast<std::int32_t>(entries.size()); }
    std::string Entry(std::int32_t index) override {
        return entries.at(static_cast<std::size_t>(index));
    }
    std::int32_t CurrentEntry() override { return current_; }
    void SetCurrentEntry(std::int32_t index) override { current_ = index; }
    std::string FindText() override { return "needle"; }
    std::string ReplaceText() override { return "pin"; }
    bool CaseSensitive() override { return true; }
    bool DynamicVariables() override { return false; }
    bool BackUp() override { return back_up; }
    void PumpEvents() override {}
    void ShowResults(std::int32_t, std::int64_t files_replaced) override {
        replaced = files_replaced;
    }
    bool StopRequested() override {
        if (after_entry) {
            after_entry();
        }
        return false;
    }

    // Runs after each entry's pass.
    std::function<void()> after_entry;

private:
    std::int32_t current_ = -1;
};

// Over 1 MiB, so it is planned ahead, with the find text in it.
std::string BigText(const std::string& word) {
    std::string text;
    for (int i = 0; i < 200'000; ++i) {  // some 3 MiB
        text += (i % 100 == 0 ? word : "hay") + " in line " + std::to_string(i) + "\r\n";
    }
    return text;
}

TEST(Win32BatchRun, PlanningAFileAheadNeverKeepsTheRunFromWritingIt) {
    struct Case {
        const char* name;
        bool back_up;
        std::vector<std::string> (*make)(const TempDir&);
        std::int64_t replaced;
        // The entry whose pass fails, if any: the log holds the find text
        // once the first pass has logged, and logging it again changes it
        // after it was read.
        int failing = -1;
    };
    const std::vector<Case> cases = {
        {"TheSameFileTwice", false,
         [](const TempDir& d) {
             const std::string a = d.Write("a.txt", BigText("needle"));
             return std::vector{a, a};
         },
         1},
        {"ABackupThatIsTheNextEntry", true,
         [](const TempDir& d) {
             const std::string a = d.Write("a.txt", BigText("needle"));
             d.Write("a.txt.bak", BigText("older"));
             return std::vector{a, a + ".bak"};
         },
         2},
        {"TheLogAsTheNextEntry", false,
         [](const TempDir& d) {
             const std::string a = d.Write("a.txt", BigText("needle"));
             d.Write("korv.log", BigText("older"));
             return std::vector{a, d.File("korv.log")};
         },
         1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        FixedUi ui;
        ui.entries = c.make(dir);
        ui.back_up = c.back_up;
        ActivityLog log(dir.File("korv.log"), TimeFormat{});
        log.Open();
        const BatchOutcome outcome = RunBatch(ui, log);
        std::vector<std::string> expected;
        if (c.failing >= 0) {
            expected.push_back("Cannot open file " +
                               ui.entries[static_cast<std::size_t>(c.failing)] + ".");
        }
        EXPECT_EQ(ui.messages, expected);
        EXPECT_EQ(outcome.FilesReplaced, c.replaced);
        EXPECT_TRUE(ReadFile(ui.entries[0]) == BigText("pin"));
    }
}

// Whether a temporary file for `name` lies in `dir`: its save was staged.
bool Staged(const TempDir& dir, const std::string& name) {
    const std::string prefix = "." + name + std::string(kTempMarker);
    const std::vector<std::string> names = dir.Names();
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& found) { return found.rfind(prefix, 0) == 0; });
}

// Tells when the temporary file of a save written ahead is created: the
// facts of the file it is to replace have been taken by then.
class StagingSeen final : public FileFaultPlan {
public:
    explicit StagingSeen(std::string prefix) : prefix_(std::move(prefix)) {}
    int Check(FileCall call, const FileCallDetail& detail) override {
        if (call == FileCall::kCreate && detail.path.rfind(prefix_, 0) == 0) {
            std::lock_guard lock(mutex_);
            seen_ = true;
            changed_.notify_all();
        }
        return 0;
    }
    bool Wait() {
        std::unique_lock lock(mutex_);
        // The deadline only keeps a broken run from hanging the suite.
        return changed_.wait_for(lock, std::chrono::seconds(60), [this] { return seen_; });
    }

private:
    std::string prefix_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool seen_ = false;
};

// A save written ahead carries the attributes the file had then: given
// another one before its pass, the file must keep it all the same.
TEST(Win32BatchRun, AnAttributeGivenAfterASaveWasWrittenAheadIsKept) {
    TempDir dir;
    FixedUi ui;
    const std::string a = dir.Write("a.txt", BigText("needle"));
    const std::wstring wide_a = WideName(a).value();
    ui.entries = {dir.Write("0.txt", BigText("needle")), a};
    StagingSeen staging(dir.File(".a.txt" + std::string(kTempMarker)));
    test::FaultPlanScope scope(staging);
    bool given = false;
    ui.after_entry = [&] {
        if (given) {
            return;
        }
        ASSERT_TRUE(staging.Wait()) << "the save of a.txt was never written ahead";
        ASSERT_TRUE(::SetFileAttributesW(wide_a.c_str(), FILE_ATTRIBUTE_HIDDEN));
        given = true;
    };
    ActivityLog log(dir.File("korv.log"), TimeFormat{});
    log.Open();
    const BatchOutcome outcome = RunBatch(ui, log);
    EXPECT_TRUE(given);
    EXPECT_EQ(ui.messages, std::vector<std::string>{});
    EXPECT_EQ(outcome.FilesReplaced, 2);
    EXPECT_TRUE(ReadFile(a) == BigText("pin"));
    EXPECT_NE(::GetFileAttributesW(wide_a.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0U);
    EXPECT_FALSE(Staged(dir, "a.txt"));
}

}  // namespace
}  // namespace korv
