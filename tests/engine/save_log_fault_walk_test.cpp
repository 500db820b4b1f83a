// One save and one log's life (open, two events, close), repeated with each
// system call of the file layer failing in turn. A save that reports no
// failure has written the whole new text; one that reports a failure has
// left the old bytes. The log is always a list of whole lines that holds
// every line a write reported as written.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "activity_log.h"
#include "counting_fault_plan.h"
#include "engine_error.h"
#include "file_fault.h"
#include "file_system_helpers.h"
#include "temp_dir.h"
#include "text_document.h"
#include "time_stamp.h"
#include "whole_log.h"

namespace korv {
namespace {

using test::CountingFaultPlan;
using test::FaultKind;
using test::FaultKinds;
using test::FaultPlanScope;
using test::FileExists;
using test::ReadFile;
using test::TempDir;

std::string Trace(long n, const FaultKind& kind) {
    return "call " + std::to_string(n) + " fails with " + std::strerror(kind.error) +
           (kind.persistent ? ", and every call after it" : "");
}

// Calls `body` with no failure and returns how many calls it made.
long CountCalls(const std::function<void()>& body) {
    CountingFaultPlan counter(0, 0, false);
    FaultPlanScope scope(counter);
    body();
    return counter.Calls();
}

// What is saved, seen through the file the user knows.
struct SaveScene {
    const char* name;
    // Lays the scene and returns the path handed to SaveFile.
    std::function<std::string(const TempDir&)> lay;
    // Checks what must hold whatever happened (links, modes).
    std::function<void(const TempDir&)> check;
    bool exists_before = true;
    bool in_place = false;
};

constexpr const char* kOld = "old one\r\nold two\r\n";
constexpr const char* kNew = "new text\r\n";

std::vector<SaveScene> SaveScenes() {
    std::vector<SaveScene> scenes = {
        {"a plain file",
         [](const TempDir& dir) {
             const std::string path = dir.Write("a.txt", kOld);
             EXPECT_TRUE(test::GiveSettings(path, 0640));
             return path;
         },
         [](const TempDir& dir) {
             EXPECT_EQ(test::SettingsOf(dir.File("a.txt")), test::SettingsFor(0640));
         }},
        {"a file with a second name",
         [](const TempDir& dir) {
             const std::string path = dir.Write("a.txt", kOld);
             EXPECT_TRUE(test::MakeHardLink(path, dir.File("other-name.txt")));
             return path;
         },
         [](const TempDir& dir) {
             EXPECT_EQ(ReadFile(dir.File("other-name.txt")), ReadFile(dir.File("a.txt")));
         },
         true, true},
        {"a new file", [](const TempDir& dir) { return dir.File("a.txt"); }, [](const TempDir&) {},
         false},
    };
    if (test::SymbolicLinksWork()) {
        scenes.push_back({"a link to a file in another folder",
                          [](const TempDir& dir) {
                              std::filesystem::create_directory(dir.File("real"));
                              dir.Write("real/a.txt", kOld);
                              EXPECT_TRUE(test::MakeSymbolicLink("real/a.txt", dir.File("a.txt")));
                              return dir.File("a.txt");
                          },
                          [](const TempDir& dir) {
                              EXPECT_TRUE(test::IsSymbolicLink(dir.File("a.txt")));
                              EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.txt", "real"}));
                          }});
    }
    return scenes;
}

TEST(SaveFaultWalk, AFailureReportedLeavesTheOldBytesAndNoneReportedTheNew) {
    for (const SaveScene& scene : SaveScenes()) {
        SCOPED_TRACE(scene.name);
        TextDocument document;
        document.AssignText("new text");
        long calls = 0;
        {
            TempDir dir;
            const std::string path = scene.lay(dir);
            calls = CountCalls([&] { document.SaveFile(path); });
            ASSERT_EQ(ReadFile(path), kNew);
        }
        ASSERT_GT(calls, 3);
        for (const FaultKind& kind : FaultKinds()) {
            if (kind.persistent && scene.in_place) {
                continue;  // putting old bytes back needs writing to work
            }
            for (long n = 1; n <= calls; ++n) {
                SCOPED_TRACE(Trace(n, kind));
                TempDir dir;
                const std::string path = scene.lay(dir);
                CountingFaultPlan plan(n, kind.error, kind.persistent);
                bool failed = false;
                {
                    FaultPlanScope scope(plan);
                    try {
                        document.SaveFile(path);
                    } catch (const EngineError&) {
                        failed = true;
                    }
                }
                ASSERT_FALSE(plan.Failed().empty());
                if (failed && !scene.exists_before) {
                    EXPECT_FALSE(FileExists(path));
                } else {
                    EXPECT_EQ(ReadFile(path), failed ? kOld : kNew);
                }
                scene.check(dir);
                for (const std::string& name : dir.Names()) {
                    EXPECT_EQ(name.find(".korv-tmp-"), std::string::npos) << name;
                }
                if (HasFailure()) {
                    FAIL() << "first failed call: " << plan.Failed().front();
                }
            }
        }
    }
}

// Fails every call of the named operations.
class FailOperations final : public FileFaultPlan {
public:
    FailOperations(std::vector<FileCall> operations, int error)
        : operations_(std::move(operations)), error_(error) {}
    int Check(FileCall operation, const FileCallDetail&) override {
        return std::find(operations_.begin(), operations_.end(), operation) != operations_.end()
                   ? error_
                   : 0;
    }

private:
    std::vector<FileCall> operations_;
    int error_;
};

// A file written in place (it has a second name) whose status cannot be
// read is no file of another kind to be emptied and written blind: the save
// fails before touching it, even when writing would fail too.
TEST(SaveFaultWalk, AFailedStatusReadBeforeAWriteInPlaceLeavesTheFile) {
    TempDir dir;
    const std::string path = dir.Write("a.txt", kOld);
    ASSERT_TRUE(test::MakeHardLink(path, dir.File("other-name.txt")));
    TextDocument document;
    document.AssignText("new text");
    FailOperations plan({FileCall::kStatus, FileCall::kWrite}, EIO);
    {
        FaultPlanScope scope(plan);
        EXPECT_THROW(document.SaveFile(path), EngineError);
    }
    EXPECT_EQ(ReadFile(path), kOld);
}

// An old log in each form the open meets, as its bytes and its lines.
struct OldLog {
    const char* name;
    std::string bytes;  // empty with `exists` false: no log yet
    bool exists;
};

std::vector<OldLog> OldLogs() {
    return {
        {"no log yet", "", false},
        {"an empty log", "", true},
        {"a log with CR LF lines", "1/2/24 3:04:05 AM - Application Started\r\n", true},
        {"a log with LF lines",
         "1/2/24 3:04:05 AM - Application Started\n1/2/24 3:04:09 AM - Application Closed\n", true},
        {"a log without its last line break", "1/2/24 3:04:05 AM - Application Started", true},
    };
}

// The lines of a text by the line model's rules.
std::vector<std::string> LinesOf(const std::string& bytes) {
    TextDocument document;
    document.AssignText(bytes);
    return document.Lines();
}

std::string Joined(const std::vector<std::string>& lines, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += lines[i] + "\r\n";
    }
    return text;
}

// Whether the file holds the first `count` lines of LogLines, each a line
// of its own, after nothing or after the old log's bytes (kept when the
// open could not read them, with a line break added when their last line
// had none).
bool HoldsLines(const std::string& file, const OldLog& old, const std::vector<std::string>& lines,
                std::size_t count) {
    const std::string ours = Joined(lines, count);
    if (file == ours) {
        return true;
    }
    const bool old_ends_line =
        old.bytes.empty() || old.bytes.back() == '\n' || old.bytes.back() == '\r';
    const std::string kept = old.bytes + (old_ends_line ? "" : "\r\n");
    if (file != kept + ours) {
        return false;
    }
    const std::vector<std::string> file_lines = LinesOf(file);
    return file_lines.size() >= count &&
           std::equal(lines.begin(), lines.begin() + static_cast<long>(count),
                      file_lines.end() - static_cast<long>(count));
}

TEST(LogFaultWalk, EveryWriteThatSucceedsLeavesAllLinesAndAFailureWholeLines) {
    for (const OldLog& old : OldLogs()) {
        SCOPED_TRACE(old.name);
        auto lay = [&old](const TempDir& dir) {
            if (old.exists) {
                dir.Write("korv.log", old.bytes);
            }
            return dir.File("korv.log");
        };
        long calls = 0;
        {
            TempDir dir;
            ActivityLog log(lay(dir), TimeFormat{});
            calls = CountCalls([&] {
                log.Open();
                log.AddEvent("first");
                log.AddEvent("second");
                log.Close();
            });
        }
        for (const FaultKind& kind : FaultKinds()) {
            for (long n = 1; n <= calls; ++n) {
                SCOPED_TRACE(Trace(n, kind));
                TempDir dir;
                ActivityLog log(lay(dir), TimeFormat{});
                CountingFaultPlan plan(n, kind.error, kind.persistent);
                FaultPlanScope scope(plan);
                // After each step: all of LogLines when it succeeded, whole
                // lines of it (or the untouched old log) when it failed.
                auto step = [&](const char* what, const std::function<void()>& body) {
                    bool failed = false;
                    try {
                        body();
                    } catch (const EngineError&) {
                        failed = true;
                    }
                    const std::string file =
                        FileExists(log.Path()) ? ReadFile(log.Path()) : std::string();
                    const std::vector<std::string>& lines = log.LogLines();
                    bool held = !failed && HoldsLines(file, old, lines, lines.size());
                    for (std::size_t k = 0; failed && !held && k <= lines.size(); ++k) {
                        held = HoldsLines(file, old, lines, k);
                    }
                    held = held || (failed && file == old.bytes);
                    EXPECT_TRUE(held)
                        << what << (failed ? " failed" : " succeeded") << " and the log holds:\n"
                        << file;
                };
                step("Open", [&] { log.Open(); });
                step("the first event", [&] { log.AddEvent("first"); });
                step("the second event", [&] { log.AddEvent("second"); });
                step("Close", [&] { log.Close(); });
                for (const std::string& name : dir.Names()) {
                    EXPECT_EQ(name.find(".korv-tmp-"), std::string::npos) << name;
                }
                if (HasFailure()) {
                    FAIL() << "first failed call: " << plan.Failed().front();
                }
            }
        }
    }
}

}  // namespace
}  // namespace korv
