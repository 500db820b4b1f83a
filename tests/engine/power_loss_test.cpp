// A whole run (log opened, batch run, log closed) recorded change by change
// through the fault seam; then, for every prefix of those changes, the files
// as a power cut at that point may leave them: names changed by then stay
// changed, data written since its file's last sync is lost (the file keeps
// its size, in zeros, or is as it was last synced) and what was synced
// stays. Each listed file must hold its old bytes or its complete new ones,
// a replaced file's backup the old ones, the undo journal an entry keeping
// the old ones, and the log whole lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "activity_log.h"
#include "batch_run.h"
#include "counting_fault_plan.h"
#include "engine_error.h"
#include "file_fault.h"
#include "file_system_helpers.h"
#include "path_syntax.h"
#include "temp_dir.h"
#include "time_stamp.h"
#include "undo_journal.h"
#include "walk_seeds.h"
#include "whole_log.h"

namespace korv {
namespace {

using test::FaultPlanScope;
using test::ReadFile;
using test::SeedFile;
using test::TempDir;

// One call that changes what the disk holds, or makes it hold it.
struct Change {
    FileCall call;
    std::string path;
    std::string to;
    std::int64_t offset = 0;
    std::string bytes;
    bool at_end = false;
};

// Lets every call go ahead and records those that change files or sync them.
class ChangeRecorder final : public FileFaultPlan {
public:
    int Check(FileCall call, const FileCallDetail& detail) override {
        switch (call) {
            case FileCall::kCreate:
            case FileCall::kWrite:
            case FileCall::kTruncate:
            case FileCall::kSyncData:
            case FileCall::kSyncFolder:
            case FileCall::kReplaceName:
            case FileCall::kLink:
            case FileCall::kRemove:
                changes.push_back({call, std::string(detail.path), std::string(detail.to),
                                   detail.offset, std::string(detail.bytes), detail.at_end});
                break;
            default:
                break;
        }
        return 0;
    }

    std::vector<Change> changes;
};

// The files of a folder as a disk holds them: each name's file, with the
// bytes written to it and the bytes last synced.
class DiskModel {
public:
    void Lay(const std::string& path, const std::string& bytes) {
        names_[path] = files_.size();
        files_.push_back({bytes, bytes});
    }

    void Apply(const Change& change) {
        switch (change.call) {
            case FileCall::kCreate:
                if (names_.count(change.path) == 0) {
                    Lay(change.path, {});
                    files_.back().synced.clear();
                }
                break;
            case FileCall::kWrite: {
                std::string& bytes = At(change.path).written;
                const std::size_t offset =
                    change.at_end ? bytes.size() : static_cast<std::size_t>(change.offset);
                if (bytes.size() < offset + change.bytes.size()) {
                    bytes.resize(offset + change.bytes.size());
                }
                bytes.replace(offset, change.bytes.size(), change.bytes);
                break;
            }
            case FileCall::kTruncate:
                At(change.path).written.resize(static_cast<std::size_t>(change.offset));
                break;
            case FileCall::kSyncData:
                At(change.path).synced = At(change.path).written;
                break;
            case FileCall::kReplaceName:
                names_[change.to] = names_.at(change.path);
                names_.erase(change.path);
                break;
            case FileCall::kLink:
                names_[change.to] = names_.at(change.path);
                break;
            case FileCall::kRemove:
                names_.erase(change.path);
                break;
            default:
                break;
        }
    }

    // What each name holds after a power cut: each file's unsynced data
    // lost as zeros over the size it had, or (`as_zeros` false) the file
    // as it was last synced.
    [[nodiscard]] std::map<std::string, std::string> AfterPowerCut(bool as_zeros) const {
        std::map<std::string, std::string> held;
        for (const auto& [name, index] : names_) {
            const File& file = files_[index];
            if (!as_zeros) {
                held[name] = file.synced;
                continue;
            }
            std::string bytes = file.written;
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if (i >= file.synced.size() || bytes[i] != file.synced[i]) {
                    bytes[i] = '\0';
                }
            }
            held[name] = bytes;
        }
        return held;
    }

    // Whether every file holds on the disk what was written to it.
    [[nodiscard]] bool AllSynced() const {
        for (const auto& [name, index] : names_) {
            if (files_[index].written != files_[index].synced) {
                return false;
            }
        }
        return true;
    }

private:
    struct File {
        std::string written;
        std::string synced;
    };
    File& At(const std::string& path) { return files_.at(names_.at(path)); }

    std::vector<File> files_;
    std::map<std::string, std::size_t> names_;
};

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of("/\\"));
}

// Both ways of running (planning ahead and pass by pass), with every entry
// backed up or only one, as the first run or after another.
using PowerParam = std::tuple<bool, bool, bool>;

class PowerLoss : public ::testing::TestWithParam<PowerParam> {
protected:
    const bool planning_ahead_ = std::get<0>(GetParam());
    const bool back_up_all_ = std::get<1>(GetParam());
    const bool after_a_run_ = std::get<2>(GetParam());
    const std::vector<SeedFile> seeds_ = test::AllSeeds(planning_ahead_, /*keep=*/true);
};

TEST_P(PowerLoss, ACutAtAnyMomentLeavesWholeFilesBackupsAndLog) {
    TempDir dir;
    DiskModel disk;
    const auto lay = [&](const std::string& name, const std::string& bytes) {
        disk.Lay(dir.Write(name, bytes), bytes);
    };
    test::WalkUi ui(planning_ahead_, LineBreaks::Keep);
    for (const SeedFile& seed : seeds_) {
        lay(seed.name, seed.before);
        if (seed.second_name) {
            ASSERT_TRUE(test::MakeHardLink(dir.File(seed.name), dir.File(seed.name) + ".link"));
        }
        ui.entries.push_back(dir.File(seed.name));
    }
    lay(std::string(test::kBackedUp) + ".bak", test::kOldBackup);
    lay("korv.log", test::kOldLog);
    ui.back_up_entry = dir.File(test::kBackedUp);
    ui.back_up_every_entry = back_up_all_;
    ui.undo_folder = dir.File("undo");
    std::string earlier_run;
    if (after_a_run_) {
        earlier_run = UndoJournal(ui.undo_folder, "korv").RunFolder();
        disk.Lay(JournalPathIn(earlier_run), ReadFile(JournalPathIn(earlier_run)));
    }
    const std::string run_folder = JoinPath(ui.undo_folder, after_a_run_ ? "run-2" : "run-1");

    ChangeRecorder recorder;
    {
        FaultPlanScope scope(recorder);
        ActivityLog log(dir.File("korv.log"), TimeFormat{});
        log.Open();
        const BatchOutcome outcome = RunBatch(ui, log);
        ASSERT_EQ(outcome.end, BatchEnd::Finished);
        ASSERT_EQ(outcome.FilesFailed, 0);
        log.Close();
    }
    ASSERT_TRUE(ui.messages.empty());
    for (const SeedFile& seed : seeds_) {
        ASSERT_EQ(ReadFile(dir.File(seed.name)), seed.after.value_or(seed.before)) << seed.name;
    }

    for (std::size_t done = 0; done <= recorder.changes.size(); ++done) {
        if (done > 0) {
            disk.Apply(recorder.changes[done - 1]);
        }
        for (const bool as_zeros : {true, false}) {
            SCOPED_TRACE("a power cut after " + std::to_string(done) + " of " +
                         std::to_string(recorder.changes.size()) + " changes, unsynced data " +
                         (as_zeros ? "zeroed" : "as last synced"));
            std::map<std::string, std::string> held = disk.AfterPowerCut(as_zeros);
            const std::optional<RunJournal> journal =
                ParseRunJournal(held[JournalPathIn(run_folder)], run_folder);
            if (after_a_run_ && !journal) {
                ASSERT_TRUE(ParseRunJournal(held[JournalPathIn(earlier_run)], earlier_run))
                    << "the earlier run's journal gone before this run's was on the disk";
            }
            for (const SeedFile& seed : seeds_) {
                // A file with a second name is written in place: only a
                // rename is atomic, so it is whole once synced, not before.
                if (seed.second_name) {
                    continue;
                }
                const std::string path = dir.File(seed.name);
                const std::string& now = held[path];
                const bool is_new = seed.after && now == *seed.after;
                ASSERT_TRUE(is_new || now == seed.before)
                    << seed.name << " holds: " << now.substr(0, 200);
                const bool backed_up = back_up_all_ || seed.name == std::string(test::kBackedUp);
                if (is_new && backed_up) {
                    ASSERT_EQ(held[path + ".bak"], seed.before) << seed.name << "'s backup";
                }
                if (is_new && seed.after != seed.before) {
                    ASSERT_TRUE(journal.has_value()) << seed.name << " replaced before the journal";
                    const auto entry = std::find_if(
                        journal->entries.begin(), journal->entries.end(),
                        [&](const JournalEntry& e) { return e.path == AbsolutePath(path); });
                    ASSERT_NE(entry, journal->entries.end()) << seed.name << " has no undo entry";
                    ASSERT_EQ(held[entry->kept], seed.before) << seed.name << "'s kept content";
                }
            }
            std::string log_bytes = held[dir.File("korv.log")];
            log_bytes.erase(log_bytes.find_last_not_of('\0') + 1);
            const test::WholeLog log = test::ReadWholeLog(log_bytes);
            ASSERT_TRUE(log.whole) << log.problem;
            ASSERT_EQ(log_bytes.compare(0, std::string(test::kOldLog).size(), test::kOldLog), 0);
        }
    }

    // Once the program has closed, a cut loses nothing: every file's data
    // was synced, and each folder whose names changed after its last change.
    EXPECT_TRUE(disk.AllSynced());
    if (test::kFolderNamesSynced) {
        std::map<std::string, bool> folder_synced;
        for (const Change& change : recorder.changes) {
            if (change.call == FileCall::kReplaceName) {
                folder_synced[FolderOf(change.to)] = false;
            } else if (change.call == FileCall::kSyncFolder) {
                folder_synced[change.path] = true;
            }
        }
        for (const auto& [folder, synced] : folder_synced) {
            EXPECT_TRUE(synced) << folder << " not synced after its names changed";
        }
    }
}

std::string PowerName(const ::testing::TestParamInfo<PowerParam>& info) {
    return std::string(std::get<0>(info.param) ? "PlanningAhead" : "PassByPass") +
           (std::get<1>(info.param) ? "_BackingUpAll" : "_BackingUpOne") +
           (std::get<2>(info.param) ? "_AfterARun" : "");
}

INSTANTIATE_TEST_SUITE_P(BothWays, PowerLoss,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool(),
                                            ::testing::Bool()),
                         PowerName);

}  // namespace
}  // namespace korv
