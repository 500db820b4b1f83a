// A whole run (log opened, batch run, log closed) over a handful of files,
// repeated with each system call of the file layer failing in turn: after
// every failure each file holds its old bytes or its complete new text, no
// temporary file is left, the log is a list of whole lines that loses no
// line it was said to hold, and the counts and messages match the files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "activity_log.h"
#include "batch_run.h"
#include "counting_fault_plan.h"
#include "engine_error.h"
#include "file_ops.h"
#include "file_system_helpers.h"
#include "memory_temp_dir.h"
#include "temp_dir.h"
#include "time_stamp.h"
#include "walk_seeds.h"
#include "whole_log.h"

namespace korv {
namespace {

using test::CountingFaultPlan;
using test::FaultKind;
using test::FaultKinds;
using test::FaultPlanScope;
using test::IsSubsequence;
using test::ReadFile;
using test::ReadWholeLog;
using test::TempDir;
using test::WholeLog;

using test::AllSeeds;
using test::kBackedUp;
using test::kOldBackup;
using test::kOldLog;
using test::SeedFile;
using test::WalkUi;

struct RunResult {
    BatchOutcome outcome;
    std::vector<std::string> messages;
    std::int64_t shown_replaced = -1;
    bool open_failed = false;
    bool close_failed = false;
    // The entries that were being processed when a call was made to fail
    // (empty: outside the passes).
    std::set<std::string> failed_during;
    std::vector<std::string> failed_operations;
    long calls = 0;
    long calls_ahead = 0;  // made by the thread that plans ahead
};

// What a call made to fail on the thread that plans ahead was during: no
// entry's own pass, so it may make no file fail.
constexpr const char* kPlanningAhead = "<planning ahead>";

// The log's events with the folder's own path written as "<dir>", so runs
// in different folders compare.
std::vector<std::string> FolderFree(std::vector<std::string> events, const std::string& folder) {
    for (std::string& event : events) {
        for (std::size_t at = event.find(folder); at != std::string::npos;
             at = event.find(folder, at)) {
            event.replace(at, folder.size(), "<dir>");
        }
    }
    return events;
}

bool Contains(const std::vector<std::string>& items, const std::string& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

// Each walk runs both ways: pass by pass, and planning the next big file
// ahead on another thread, as korv-cli runs; with line breaks kept and
// written as CR LF; and one kind of failure at a time, so each part stays
// well within a test's time.
using WalkParam = std::tuple<bool, LineBreaks, FaultKind>;

class BatchFaultWalk : public ::testing::TestWithParam<WalkParam> {
protected:
    // A fresh folder with the seed files, the older backup and an old log.
    void Lay(const TempDir& dir) const {
        for (const SeedFile& seed : seeds_) {
            const std::string path = dir.Write(seed.name, seed.before);
            ASSERT_TRUE(test::GiveSettings(path, seed.mode));
            if (seed.second_name) {
                ASSERT_TRUE(test::MakeHardLink(path, path + ".link"));
            }
        }
        dir.Write(std::string(kBackedUp) + ".bak", kOldBackup);
        dir.Write("korv.log", kOldLog);
    }

    [[nodiscard]] std::vector<std::string> ExpectedNames() const {
        std::vector<std::string> names{std::string(kBackedUp) + ".bak", "korv.log"};
        for (const SeedFile& seed : seeds_) {
            names.emplace_back(seed.name);
            if (seed.second_name) {
                names.push_back(std::string(seed.name) + ".link");
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The entry a call made on another thread saves: a save's last step
    // (the sync and the rename of its temporary file) goes to a thread of
    // its own while the next files are read. Planning ahead saves none.
    [[nodiscard]] std::string SavedElsewhere(const TempDir& dir,
                                             const CountingFaultPlan& plan) const {
        const std::string& failing = plan.FailingPath();
        for (const SeedFile& seed : seeds_) {
            const std::string path = dir.File(seed.name);
            const std::string temp = dir.File("." + std::string(seed.name) + ".korv-tmp-");
            if (failing == path || failing.rfind(temp, 0) == 0) {
                return path;
            }
        }
        return kPlanningAhead;
    }

    // Opens the log, runs the batch over the seeds and closes the log, with
    // call `fail_at` (0: none) failing as `kind` says.
    RunResult Run(const TempDir& dir, long fail_at, FaultKind kind) const {
        RunResult result;
        WalkUi ui(planning_ahead_, breaks_);
        for (const SeedFile& seed : seeds_) {
            ui.entries.push_back(dir.File(seed.name));
        }
        ui.back_up_entry = dir.File(kBackedUp);
        CountingFaultPlan plan(fail_at, kind.error, kind.persistent);
        plan.on_fail = [&] {
            result.failed_during.insert(plan.OnCreatorThread() ? ui.active
                                                               : SavedElsewhere(dir, plan));
        };
        {
            FaultPlanScope scope(plan);
            ActivityLog log(dir.File("korv.log"), TimeFormat{});
            try {
                log.Open();
            } catch (const EngineError&) {
                result.open_failed = true;
            }
            result.outcome = RunBatch(ui, log);
            ui.active.clear();
            try {
                log.Close();
            } catch (const EngineError&) {
                result.close_failed = true;
            }
        }
        result.messages = ui.messages;
        result.shown_replaced = ui.shown_replaced;
        result.failed_operations = plan.Failed();
        result.calls = plan.Calls();
        result.calls_ahead = plan.CallsElsewhere();
        return result;
    }

    // Runs once cleanly, then once for every call of that run failing as
    // each of `kinds` says, and checks what every run leaves. The folders
    // are in memory: the walk writes gigabytes in all.
    void Walk(const std::vector<FaultKind>& kinds) {
        const std::unique_ptr<TempDir> clean_folder = test::MakeTempDirInMemory();
        const TempDir& clean_dir = *clean_folder;
        Lay(clean_dir);
        const RunResult clean = Run(clean_dir, 0, {0, false});
        ASSERT_TRUE(clean.messages.empty());
        ASSERT_FALSE(clean.open_failed || clean.close_failed);
        std::int64_t changing = 0;
        for (const SeedFile& seed : seeds_) {
            ASSERT_TRUE(ReadFile(clean_dir.File(seed.name)) == seed.after.value_or(seed.before))
                << seed.name;
            changing += seed.after ? 1 : 0;
        }
        ASSERT_EQ(clean.outcome.FilesReplaced, changing);
        const WholeLog clean_log = ReadWholeLog(ReadFile(clean_dir.File("korv.log")));
        ASSERT_TRUE(clean_log.whole) << clean_log.problem;
        clean_events_ = FolderFree(clean_log.events, clean_dir.Path());
        ASSERT_EQ(clean_events_.size(), 2 + 1 + static_cast<std::size_t>(changing) + 1);
        ASSERT_GT(clean.calls, 20);
        // Planning ahead must have happened, or this way tested nothing new.
        if (planning_ahead_) {
            ASSERT_GT(clean.calls_ahead, 0);
        }

        for (const FaultKind& kind : kinds) {
            for (long n = 1; n <= clean.calls; ++n) {
                SCOPED_TRACE("call " + std::to_string(n) + " fails with " +
                             std::strerror(kind.error) +
                             (kind.persistent ? ", and every call after it" : ""));
                const std::unique_ptr<TempDir> folder = test::MakeTempDirInMemory();
                const TempDir& dir = *folder;
                Lay(dir);
                const RunResult run = Run(dir, n, kind);
                Check(dir, run);
                if (HasFailure()) {
                    std::string operations;
                    for (const std::string& op : run.failed_operations) {
                        operations += op + " ";
                    }
                    FAIL() << "the calls made to fail: " << operations;
                }
            }
        }
    }

    void Check(const TempDir& dir, const RunResult& run) const {
        ASSERT_FALSE(run.failed_operations.empty());
        ASSERT_EQ(run.outcome.end, BatchEnd::Finished);
        ASSERT_EQ(run.outcome.FilesSearched, static_cast<std::int32_t>(seeds_.size()));

        // Each file old or new, with its settings and links; a file
        // that kept its old bytes although it was to change is reported.
        std::int64_t holding_new = 0;
        std::set<std::string> must_report;
        std::set<std::string> may_report;
        for (const std::string& entry : run.failed_during) {
            may_report.insert("Cannot open file " + entry + ".");
        }
        for (const SeedFile& seed : seeds_) {
            const std::string path = dir.File(seed.name);
            const std::string now = ReadFile(path);
            const bool is_new = seed.after && now == *seed.after;
            EXPECT_TRUE(is_new || now == seed.before)
                << seed.name << " holds: " << now.substr(0, 200);
            holding_new += is_new ? 1 : 0;
            EXPECT_EQ(test::SettingsOf(path), test::SettingsFor(seed.mode)) << seed.name;
            if (seed.second_name) {
                EXPECT_EQ(test::LinkCountOf(path), 2) << seed.name << " lost its second name";
            }
            if (seed.after && !is_new) {
                must_report.insert("Cannot open file " + path + ".");
            }
        }
        const std::set<std::string> shown(run.messages.begin(), run.messages.end());
        EXPECT_EQ(shown.size(), run.messages.size()) << "a file reported twice";
        for (const std::string& message : must_report) {
            EXPECT_TRUE(shown.count(message)) << "not reported: " << message;
        }
        for (const std::string& message : shown) {
            EXPECT_TRUE(must_report.count(message) || may_report.count(message))
                << "reported though untouched by the failure: " << message;
        }
        EXPECT_EQ(run.outcome.FilesFailed, static_cast<std::int32_t>(run.messages.size()));
        EXPECT_EQ(run.outcome.FilesReplaced, holding_new);
        EXPECT_EQ(run.shown_replaced, holding_new);

        // The backup: the older copy, or the whole file as it was.
        const std::string backup = ReadFile(dir.File(std::string(kBackedUp) + ".bak"));
        EXPECT_TRUE(backup == kOldBackup || backup == "backed up foo") << backup;

        // Nothing else in the folder, above all no temporary file.
        EXPECT_EQ(dir.Names(), ExpectedNames());

        // The log: whole lines, in the clean run's order, the old lines
        // kept, and the line of every file that now holds its new text.
        const std::string log_bytes = ReadFile(dir.File("korv.log"));
        const WholeLog log = ReadWholeLog(log_bytes);
        ASSERT_TRUE(log.whole) << log.problem << "\nlog:\n" << log_bytes;
        const std::vector<std::string> events = FolderFree(log.events, dir.Path());
        EXPECT_TRUE(IsSubsequence(events, clean_events_)) << "log:\n" << log_bytes;
        ASSERT_GE(events.size(), 2U) << "log:\n" << log_bytes;
        EXPECT_EQ(events[0], clean_events_[0]);
        EXPECT_EQ(events[1], clean_events_[1]);
        for (const SeedFile& seed : seeds_) {
            if (seed.after && ReadFile(dir.File(seed.name)) == *seed.after) {
                EXPECT_TRUE(Contains(events, "foo found in " + test::InFolder("<dir>", seed.name) +
                                                 " and replaced to bar!"))
                    << seed.name << " was replaced but its line is not in the log:\n"
                    << log_bytes;
            }
        }
        if (!run.open_failed) {
            EXPECT_TRUE(Contains(events, "Application Started")) << "log:\n" << log_bytes;
        }
        if (!run.close_failed) {
            EXPECT_EQ(events.back(), "Application Closed") << "log:\n" << log_bytes;
        }
    }

    const bool planning_ahead_ = std::get<0>(GetParam());
    const LineBreaks breaks_ = std::get<1>(GetParam());
    const FaultKind kind_ = std::get<2>(GetParam());
    std::vector<SeedFile> seeds_ = AllSeeds(planning_ahead_, breaks_ == LineBreaks::Keep);
    std::vector<std::string> clean_events_;
};

TEST_P(BatchFaultWalk, EveryFailingCallLeavesWholeFilesAndAWholeLog) {
    Walk({kind_});
}

// From some call on, every call fails. A file written in place can only get
// its old bytes back while writing still works, so this walk leaves it out.
class BatchFaultWalkForGood : public BatchFaultWalk {};

TEST_P(BatchFaultWalkForGood, ADiskFailingForGoodFromAnyCallOnLeavesWholeFilesAndAWholeLog) {
    std::erase_if(seeds_, [](const SeedFile& seed) { return seed.second_name; });
    Walk({kind_});
}

std::vector<FaultKind> KindsThat(bool persist) {
    std::vector<FaultKind> kinds;
    for (const FaultKind& kind : FaultKinds()) {
        if (kind.persistent == persist) {
            kinds.push_back(kind);
        }
    }
    return kinds;
}

std::string WalkName(const ::testing::TestParamInfo<WalkParam>& info) {
    const FaultKind& kind = std::get<2>(info.param);
    return std::string(std::get<0>(info.param) ? "PlanningAhead" : "PassByPass") +
           (std::get<1>(info.param) == LineBreaks::Keep ? "_Kept" : "_CrLf") + "_errno" +
           std::to_string(kind.error);
}

INSTANTIATE_TEST_SUITE_P(BothWays, BatchFaultWalk,
                         ::testing::Combine(::testing::Bool(),
                                            ::testing::Values(LineBreaks::Keep, LineBreaks::CrLf),
                                            ::testing::ValuesIn(KindsThat(false))),
                         WalkName);
INSTANTIATE_TEST_SUITE_P(BothWays, BatchFaultWalkForGood,
                         ::testing::Combine(::testing::Bool(),
                                            ::testing::Values(LineBreaks::Keep, LineBreaks::CrLf),
                                            ::testing::ValuesIn(KindsThat(true))),
                         WalkName);

}  // namespace
}  // namespace korv
