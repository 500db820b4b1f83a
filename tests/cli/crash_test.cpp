// korv-cli killed with SIGKILL at random moments of a run over 2,000 small
// files, and of one over big files that korv-cli plans ahead on a second
// thread: wherever the kill lands (before the start, mid-run or after the
// end), every file is untouched or completely replaced, every backup is a
// whole copy of the original, the log is a list of whole lines that names
// every file already replaced, and at most a batch of temporary files is
// left, each named after the file it was for; and an undo then puts every
// file back.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "memory_temp_dir.h"
#include "pass_prefetcher.h"
#include "save_committer.h"
#include "temp_dir.h"

namespace {

using korv::test::FileExists;
using korv::test::ReadFile;
using korv::test::TempDir;
using korv::test::WriteFile;
using Clock = std::chrono::steady_clock;

constexpr const char* kTempMarker = ".korv-tmp-";

// The files of one run: how many, whether each is big enough (over 1 MiB)
// for korv-cli to read it ahead while it saves the one before, and how a
// changed file is written.
struct RunShape {
    const char* name;
    int files;
    bool big;
    const char* line_breaks;
};

// The text of file `i`: of varied line breaks and lengths; nine in ten
// hold the find text "foo" (in varied case) once or more.
std::string Original(int i, bool big) {
    static const char* const kBreaks[] = {"\r\n", "\n", "\r"};
    const char* brk = kBreaks[i % 3];
    std::string text;
    if (big) {
        // Long lines: a pass costs more with its lines than with its bytes,
        // and the test makes dozens of runs.
        const std::string hay =
            "hay to search through before the first line" + std::string(960, '.');
        while (text.size() < (std::size_t{1} << 20) + 100) {
            text += hay;
            text += brk;
        }
    }
    for (int line = 0; line < 2 + i % 7; ++line) {
        text += "line " + std::to_string(line) + " of file " + std::to_string(i);
        if (i % 10 != 0 && line % 3 == 0) {
            text += i % 4 == 0 ? " FOO" : " foo";
        }
        text += brk;
    }
    if (i % 5 == 0) {
        text += "no break at the end";
    }
    return text;
}

std::string Name(int i) {
    std::string digits = std::to_string(i);
    return "f" + std::string(4 - digits.size(), '0') + digits + ".txt";
}

// Starts korv-cli with `args`, its outputs thrown away.
pid_t Start(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(KORV_CLI_PATH));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execv(KORV_CLI_PATH, argv.data());
        ::_exit(127);
    }
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

class CrashTest : public ::testing::TestWithParam<RunShape> {
protected:
    void SetUp() override {
        std::string list;
        for (int i = 0; i < file_count_; ++i) {
            paths_.push_back(dir_.File(Name(i)));
            originals_.push_back(Original(i, GetParam().big));
            changing_ += i % 10 != 0 ? 1 : 0;
            WriteFile(paths_.back(), originals_.back());
            list += paths_.back() + "\r\n";
        }
        list_ = dir_.Write("files.list", list);
    }

    [[nodiscard]] std::vector<std::string> Args(bool backup) const {
        std::vector<std::string> args{"-y",
                                      "-f",
                                      "foo",
                                      "-r",
                                      "bar",
                                      "--log",
                                      LogPath(),
                                      "-l",
                                      list_,
                                      "--line-breaks",
                                      GetParam().line_breaks,
                                      "--undo-folder",
                                      UndoFolder()};
        if (backup) {
            args.emplace_back("-b");
        }
        return args;
    }

    [[nodiscard]] std::string LogPath() const { return dir_.File("korv.log"); }
    [[nodiscard]] std::string UndoFolder() const { return dir_.File("undo"); }

    // Undoes the run (keeping no journal of the undo, so the next undo
    // cannot redo it): every file must hold its old bytes again, whether the
    // kill caught it replaced or not. Returns korv-cli's exit status.
    int UndoAndCheck() {
        const int status =
            Wait(Start({"--undo", "--no-undo", "--undo-folder", UndoFolder(), "--log", LogPath()}));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << status;
        for (int i = 0; i < file_count_; ++i) {
            const auto k = static_cast<std::size_t>(i);
            EXPECT_EQ(ReadFile(paths_[k]), originals_[k]) << Name(i) << " was not put back";
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Puts every file back as it was, without backups, log or leftovers.
    void Restore() {
        for (const std::string& name : dir_.Names()) {
            const std::string path = dir_.File(name);
            if (name == "korv.log" || name.find(kTempMarker) != std::string::npos ||
                name.ends_with(".bak")) {
                ::unlink(path.c_str());
            }
        }
        for (int i = 0; i < file_count_; ++i) {
            if (ReadFile(paths_[static_cast<std::size_t>(i)]) !=
                originals_[static_cast<std::size_t>(i)]) {
                WriteFile(paths_[static_cast<std::size_t>(i)],
                          originals_[static_cast<std::size_t>(i)]);
            }
        }
    }

    // Checks what a run killed at any moment leaves; returns how many files
    // hold their new text.
    int CheckAfterKill(bool backup) {
        int replaced = 0;
        std::vector<std::string> names = dir_.Names();
        std::vector<std::string> leftovers;
        for (const std::string& name : names) {
            if (name.find(kTempMarker) != std::string::npos) {
                leftovers.push_back(name);
            }
        }
        // Saves are synced and renamed in batches, and the passes planned
        // ahead write their new texts ahead, so a kill may catch a batch
        // of temporary files, those of the passes ahead and a backup's.
        EXPECT_LE(leftovers.size(), korv::SaveCommitter::kMostPending +
                                        korv::PassPrefetcher::kMostWaiting +
                                        korv::PassPrefetcher::ThreadsHere() + 1);
        for (const std::string& name : leftovers) {
            // ".<name>.korv-tmp-<random>", where <name> is one of our files
            // or the backup of one, or the log (which a kill at the start
            // may catch before its first write created it).
            std::string owner = name.substr(1, name.find(kTempMarker) - 1);
            if (owner.ends_with(".bak")) {
                owner.resize(owner.size() - 4);
            }
            const bool ours =
                std::find(names.begin(), names.end(), owner) != names.end() || owner == "korv.log";
            EXPECT_TRUE(name[0] == '.' && ours)
                << "temporary file not named after its file: " << name;
        }

        const std::string log = FileExists(LogPath()) ? ReadFile(LogPath()) : std::string();
        const std::vector<std::string> events = Events(log);
        for (int i = 0; i < file_count_; ++i) {
            const auto k = static_cast<std::size_t>(i);
            const std::string now = ReadFile(paths_[k]);
            const bool is_new = now == expected_[k] && now != originals_[k];
            EXPECT_TRUE(is_new || now == originals_[k]) << Name(i) << " holds: " << now;
            if (is_new) {
                ++replaced;
                EXPECT_TRUE(std::find(events.begin(), events.end(),
                                      "foo found in " + paths_[k] + " and replaced to bar") !=
                            events.end())
                    << Name(i) << " was replaced but has no log line";
            }
            const std::string bak = paths_[k] + ".bak";
            if (FileExists(bak)) {
                EXPECT_TRUE(backup) << "a backup without -b: " << bak;
                EXPECT_EQ(ReadFile(bak), originals_[k]) << bak;
            }
        }
        return replaced;
    }

    // The events of a log that must be whole lines, each "<stamp> - " and
    // an event this run can write.
    std::vector<std::string> Events(const std::string& log) {
        std::vector<std::string> events;
        if (!log.empty()) {
            EXPECT_TRUE(log.ends_with("\r\n")) << "the log ends in a partial line";
        }
        std::size_t start = 0;
        for (std::size_t end = log.find("\r\n"); end != std::string::npos;
             start = end + 2, end = log.find("\r\n", start)) {
            const std::string line = log.substr(start, end - start);
            const std::size_t dash = line.find(" - ");
            if (dash == std::string::npos) {
                ADD_FAILURE() << "a log line without its stamp: " << line;
                continue;
            }
            const std::string event = line.substr(dash + 3);
            const bool known = event == "Application Started" || event == "Application Closed" ||
                               (event.starts_with("foo found in " + dir_.Path() + "/f") &&
                                event.ends_with(".txt and replaced to bar"));
            EXPECT_TRUE(known) << "a log line no run writes: " << line;
            events.push_back(event);
        }
        return events;
    }

    const int file_count_ = GetParam().files;
    int changing_ = 0;  // files that hold the find text
    // In memory: the test rewrites its files dozens of times, and a killed
    // process leaves the same there as on a disk, since the kill stops the
    // process, not the system.
    std::unique_ptr<TempDir> folder_ = korv::test::MakeTempDirInMemory();
    TempDir& dir_ = *folder_;
    std::string list_;
    std::vector<std::string> paths_;
    std::vector<std::string> originals_;
    std::vector<std::string> expected_;  // each file after a whole run
};

TEST_P(CrashTest, AKillAtAnyMomentLeavesWholeFilesBackupsAndLog) {
    // One clean, timed run gives every file's new text and the span a kill
    // has to hit.
    const Clock::time_point begin = Clock::now();
    const int clean_status = Wait(Start(Args(true)));
    const auto span = Clock::now() - begin;
    ASSERT_TRUE(WIFEXITED(clean_status) && WEXITSTATUS(clean_status) == 0);
    for (int i = 0; i < file_count_; ++i) {
        expected_.push_back(ReadFile(paths_[static_cast<std::size_t>(i)]));
    }
    ASSERT_EQ(CheckAfterKill(true), changing_);
    ASSERT_EQ(UndoAndCheck(), 0);
    Restore();

    // A few dozen kills, fewer when a run is slow (under the sanitizers),
    // so the whole test stays well under a minute.
    const auto span_us = std::chrono::duration_cast<std::chrono::microseconds>(span).count();
    const int kills =
        static_cast<int>(std::clamp<long long>(12'000'000 / (span_us * 3 + 1), 12, 36));
    std::mt19937 random(std::random_device{}());
    // Delays from before the start to past the end of a run.
    std::uniform_int_distribution<long long> delay(0, span_us * 6 / 5);
    int mid_run = 0;
    for (int k = 0; k < kills || (mid_run == 0 && k < kills * 3); ++k) {
        const bool backup = k % 2 == 0;
        const long long wait_us = delay(random);
        SCOPED_TRACE("kill " + std::to_string(k) + " after " + std::to_string(wait_us) + " us" +
                     (backup ? " with -b" : ""));
        const pid_t pid = Start(Args(backup));
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(wait_us));
        ::kill(pid, SIGKILL);
        Wait(pid);
        const int replaced = CheckAfterKill(backup);
        mid_run += replaced > 0 && replaced < changing_ ? 1 : 0;
        UndoAndCheck();
        if (HasFailure()) {
            return;
        }
        Restore();
    }
    // The kills must have caught runs at work, or nothing was tested.
    EXPECT_GT(mid_run, 0);
}

INSTANTIATE_TEST_SUITE_P(BothWays, CrashTest,
                         ::testing::Values(RunShape{"PassByPass", 2000, false, "crlf"},
                                           RunShape{"PassByPassKept", 2000, false, "keep"},
                                           RunShape{"PlanningAhead", 12, true, "crlf"},
                                           RunShape{"PlanningAheadKept", 12, true, "keep"}),
                         [](const ::testing::TestParamInfo<RunShape>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
