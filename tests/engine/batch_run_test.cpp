#include "batch_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "activity_log.h"
#include "fake_batch_ui.h"
#include "file_fault.h"
#include "file_system_helpers.h"
#include "file_test_helpers.h"
#include "log_events.h"
#include "temp_dir.h"
#include "time_stamp.h"

namespace korv {
namespace {

using test::FakeUi;
using test::FaultPlanGuard;
using test::FileExists;
using test::LogEvents;
using test::OtherWrite;
using test::ReadFile;
using test::Replaced;
using test::TempDir;

// A folder with an activity log opened in it, as the program has one.
class BatchRunTest : public ::testing::Test {
protected:
    BatchRunTest() : log_(dir_.File("korv.log"), TimeFormat{}) { log_.Open(); }

    BatchOutcome Run() { return RunBatch(ui_, log_); }
    std::vector<std::string> Events() const { return LogEvents(log_.Path()); }

    TempDir dir_;
    ActivityLog log_;
    FakeUi ui_;
};

TEST_F(BatchRunTest, NoToTheConfirmationTouchesNothing) {
    const std::string a = dir_.Write("a.txt", "find me\n");
    ui_.answer_yes = false;
    ui_.entries = {a};
    ui_.find = "find";
    ui_.replacement = "found";
    EXPECT_EQ(Run().end, BatchEnd::Declined);
    EXPECT_EQ(ui_.calls, std::vector<std::string>{"confirm"});
    EXPECT_EQ(ui_.confirmation_caption, "Confirmation");
    EXPECT_EQ(ui_.confirmation_text,
              "Please click Yes, if you are really sure all files you want to compress are plain "
              "text files (example: *.TXT, *.HTM).\rA binary file (example: *.DOC, *.EXE, *.JPG) "
              "will be damaged.");
    EXPECT_EQ(ReadFile(a), "find me\n");
    EXPECT_EQ(Events(), std::vector<std::string>{"Application Started"});
}

TEST_F(BatchRunTest, AnEmptyListShowsNothingAndPutsTheCursorBack) {
    ui_.find = "";  // not even checked
    EXPECT_EQ(Run().end, BatchEnd::NoEntries);
    EXPECT_EQ(ui_.calls, (std::vector<std::string>{"confirm", "busy on", "busy off"}));
}

TEST_F(BatchRunTest, RefusedTextsAreReportedOnceAndNothingIsTouched) {
    struct Case {
        std::string find;
        std::string replacement;
        std::string error;
    };
    const std::vector<Case> cases{
        {"", "x", "error Error: Find text can't be blank!"},
        {"", "", "error Error: Find text can't be blank!"},
        {"same", "same", "error Error: Find and replace texts can't be the same!"},
        {"a\r\nb", "a\r\nb", "error Error: Find and replace texts can't be the same!"},
    };
    const std::string a = dir_.Write("a.txt", "same x\r\n");
    for (const Case& c : cases) {
        FakeUi ui;
        ui.entries = {a};
        ui.find = c.find;
        ui.replacement = c.replacement;
        EXPECT_EQ(RunBatch(ui, log_).end, BatchEnd::TextsRefused);
        EXPECT_EQ(ui.calls, (std::vector<std::string>{"confirm", "busy on", c.error, "busy off"}))
            << "find \"" << c.find << "\"";
    }
    EXPECT_EQ(ReadFile(a), "same x\r\n");
    EXPECT_EQ(Events(), std::vector<std::string>{"Application Started"});
}

TEST_F(BatchRunTest, TextsThatDifferOnlyInCaseProceed) {
    const std::string a = dir_.Write("a.txt", "abc Abc\r\n");
    ui_.entries = {a};
    ui_.find = "abc";
    ui_.replacement = "ABC";
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.end, BatchEnd::Finished);
    EXPECT_EQ(ReadFile(a), "ABC ABC\r\n");
    EXPECT_EQ(ui_.CallsStarting("results"), std::vector<std::string>{"results 1 1"});
    EXPECT_EQ(ui_.pumps, 2);
}

TEST_F(BatchRunTest, AnUndisturbedRunWalksTheListAndEndsOnEntryZero) {
    const std::string a = dir_.Write("a.txt", "one\ntwo\n");
    const std::string b = dir_.Write("b.txt", "nothing here\r\n");
    const std::string c = dir_.Write("c.txt", "two two");
    ui_.entries = {a, b, c};
    ui_.find = "two";
    ui_.replacement = "2";
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.end, BatchEnd::Finished);
    EXPECT_EQ(outcome.FilesSearched, 3);
    EXPECT_EQ(outcome.FilesReplaced, 2);
    EXPECT_EQ(outcome.FilesFailed, 0);
    EXPECT_EQ(ui_.calls,
              (std::vector<std::string>{"confirm", "busy on", "current 0", "current 0", "current 1",
                                        "current 2", "results 3 2", "current 0", "busy off"}));
    EXPECT_EQ(ui_.current, 0);
    // Changed files are written with CR LF after every line.
    EXPECT_EQ(ReadFile(a), "one\r\n2\r\n");
    EXPECT_EQ(ReadFile(b), "nothing here\r\n");
    EXPECT_EQ(ReadFile(c), "2 2\r\n");
    EXPECT_EQ(Events(), (std::vector<std::string>{"Application Started", Replaced("two", a, "2"),
                                                  Replaced("two", c, "2")}));
    EXPECT_FALSE(FileExists(a + ".bak"));
}

TEST_F(BatchRunTest, AMissingFileIsReportedAndTheOthersAreProcessed) {
    const std::string a = dir_.Write("a.txt", "x\r\n");
    const std::string missing = dir_.File("missing.txt");
    const std::string b = dir_.Write("b.txt", "x\r\n");
    ui_.entries = {a, missing, b};
    ui_.find = "x";
    ui_.replacement = "y";
    const BatchOutcome outcome = Run();
    EXPECT_EQ(ui_.CallsStarting("message"),
              std::vector<std::string>{"message Cannot open file " + missing + "."});
    EXPECT_EQ(ui_.CallsStarting("results"), std::vector<std::string>{"results 3 2"});
    EXPECT_EQ(outcome.FilesFailed, 1);
    EXPECT_EQ(ReadFile(a), "y\r\n");
    EXPECT_EQ(ReadFile(b), "y\r\n");
    EXPECT_FALSE(FileExists(missing));
}

TEST_F(BatchRunTest, TheBackupReplacesAnOldCopyWithTheFileBeforeTheRun) {
    const std::string a = dir_.Write("a.txt", "old\nline\n");
    dir_.Write("a.txt.bak", "an older copy that is longer than the file");
    ui_.entries = {a};
    ui_.find = "old";
    ui_.replacement = "new";
    ui_.back_up = true;
    Run();
    EXPECT_EQ(ReadFile(a + ".bak"), "old\nline\n");
    EXPECT_EQ(ReadFile(a), "new\r\nline\r\n");
}

TEST_F(BatchRunTest, AFileWithoutTheTextKeepsItsBytesAndTimeAndGetsNoBackup) {
    const std::string a = dir_.Write("a.txt", "lf only\nno match\rcr\n");
    // Last written long ago, so a rewrite could not keep its time by chance.
    const auto old_time = std::filesystem::last_write_time(a) - std::chrono::hours(24 * 365 * 10);
    std::filesystem::last_write_time(a, old_time);
    ui_.entries = {a};
    ui_.find = "absent";
    ui_.replacement = "x";
    ui_.back_up = true;
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.FilesReplaced, 0);
    EXPECT_EQ(ReadFile(a), "lf only\nno match\rcr\n");
    EXPECT_EQ(std::filesystem::last_write_time(a), old_time);
    EXPECT_FALSE(FileExists(a + ".bak"));
    EXPECT_EQ(Events(), std::vector<std::string>{"Application Started"});
    EXPECT_EQ(ui_.pumps, 0);
}

TEST_F(BatchRunTest, TheSamePathTwiceIsProcessedTwice) {
    const std::string a = dir_.Write("a.txt", "ab\r\n");
    ui_.entries = {a, a};
    ui_.find = "a";
    ui_.replacement = "aa";
    ui_.back_up = true;
    Run();
    EXPECT_EQ(ReadFile(a), "aaaab\r\n");
    // The second pass backed up what the first one wrote.
    EXPECT_EQ(ReadFile(a + ".bak"), "aab\r\n");
    EXPECT_EQ(ui_.CallsStarting("results"), std::vector<std::string>{"results 2 2"});
    EXPECT_EQ(Events(), (std::vector<std::string>{"Application Started", Replaced("a", a, "aa"),
                                                  Replaced("a", a, "aa")}));
}

// Saves are finished in batches on another thread; a later entry that
// reads or backs up over a file whose save still waits must wait for it,
// however far back in the list that save was.
TEST_F(BatchRunTest, ALaterEntryMeetsTheFilesOfTheSavesBeforeItAsTheyLeaveThem) {
    const std::string a = dir_.Write("a.txt", "ab\r\n");
    const std::string b = dir_.Write("b.txt", "ab\r\n");
    const std::string old_bak = dir_.Write("a.txt.bak", "old backup ab\r\n");
    const std::string a_again = dir_.Path() + "/./a.txt";  // the same file, another name
    struct Case {
        const char* what;
        std::vector<std::string> entries;
        bool back_up;
        std::string a_after;
        std::string bak_after;
    };
    const Case cases[] = {
        {"read under another name", {a, b, a_again}, false, "aaaab\r\n", "old backup ab\r\n"},
        {"backed up over", {old_bak, a}, true, "aab\r\n", "ab\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteFile(a, "ab\r\n");
        test::WriteFile(old_bak, "old backup ab\r\n");
        ui_.entries = c.entries;
        ui_.find = "a";
        ui_.replacement = "aa";
        ui_.back_up = c.back_up;
        const BatchOutcome outcome = Run();
        EXPECT_EQ(outcome.FilesReplaced, static_cast<std::int64_t>(c.entries.size()));
        EXPECT_EQ(ReadFile(a), c.a_after);
        EXPECT_EQ(ReadFile(old_bak), c.bak_after);
    }
}

TEST_F(BatchRunTest, AFileWithANulByteFailsAndStaysAsItWas) {
    const std::string bytes = std::string("abc\r\nab\0c abc\r\n", 15);
    const std::string a = dir_.Write("a.txt", bytes);
    const std::string b = dir_.Write("b.txt", "abc\r\n");
    ui_.entries = {a, b};
    ui_.find = "abc";
    ui_.replacement = "x";
    ui_.back_up = true;
    const BatchOutcome outcome = Run();
    EXPECT_EQ(ui_.CallsStarting("message"),
              std::vector<std::string>{"message Cannot open file " + a + "."});
    EXPECT_EQ(ReadFile(a), bytes);
    EXPECT_FALSE(FileExists(a + ".bak"));
    EXPECT_EQ(outcome.FilesReplaced, 1);
    EXPECT_EQ(outcome.FilesFailed, 1);
    EXPECT_EQ(ui_.pumps, 1);
    EXPECT_EQ(ReadFile(b), "x\r\n");
    EXPECT_EQ(Events(), (std::vector<std::string>{"Application Started", Replaced("abc", b, "x")}));
}

TEST_F(BatchRunTest, ListChangesDuringAPassNeverRedirectIt) {
    // The user deletes the entry being processed while its substitution
    // pumps: the pass still loads, logs, backs up and saves its own file.
    const std::string a = dir_.Write("a.txt", "x x x\r\n");
    const std::string b = dir_.Write("b.txt", "b x\r\n");
    ui_.entries = {a, b};
    ui_.find = "x";
    ui_.replacement = "y";
    ui_.back_up = true;
    ui_.on_pump = [](FakeUi& ui) {
        if (ui.pumps == 1) {
            ui.entries.erase(ui.entries.begin());
        }
    };
    const BatchOutcome outcome = Run();
    EXPECT_EQ(ReadFile(a), "y y y\r\n");
    EXPECT_EQ(ReadFile(a + ".bak"), "x x x\r\n");
    // The list now holds one entry and the loop has passed it.
    EXPECT_EQ(ReadFile(b), "b x\r\n");
    EXPECT_FALSE(FileExists(b + ".bak"));
    EXPECT_EQ(outcome.FilesSearched, 1);
    EXPECT_EQ(outcome.FilesReplaced, 1);
    EXPECT_EQ(Events(), (std::vector<std::string>{"Application Started", Replaced("x", a, "y")}));
}

TEST_F(BatchRunTest, EntryEditsAndClicksDuringAPassCountFromTheNextPass) {
    // During the first pass the user overwrites entry 0 with another path
    // and clicks entry 1; the first pass keeps to its file, the second
    // pass takes entry 1 as it then stands.
    const std::string a = dir_.Write("a.txt", "x x\r\n");
    const std::string b = dir_.Write("b.txt", "b x\r\n");
    const std::string c = dir_.Write("c.txt", "c\r\n");
    ui_.entries = {a, b};
    ui_.find = "x";
    ui_.replacement = "y";
    ui_.back_up = true;
    ui_.on_pump = [c](FakeUi& ui) {
        if (ui.pumps == 1) {
            ui.entries[0] = c;
            ui.SetCurrentEntry(1);
        }
    };
    const BatchOutcome outcome = Run();
    EXPECT_EQ(ReadFile(a), "y y\r\n");
    EXPECT_EQ(ReadFile(a + ".bak"), "x x\r\n");
    EXPECT_EQ(ReadFile(b), "b y\r\n");
    EXPECT_EQ(ReadFile(b + ".bak"), "b x\r\n");
    EXPECT_EQ(ReadFile(c), "c\r\n");
    EXPECT_FALSE(FileExists(c + ".bak"));
    EXPECT_EQ(outcome.FilesReplaced, 2);
    EXPECT_EQ(Events(), (std::vector<std::string>{"Application Started", Replaced("x", a, "y"),
                                                  Replaced("x", b, "y")}));
}

// A file big enough to be searched where it lies, with the find text on
// every 50th line.
std::string BigCrLfText() {
    std::string text;
    for (int i = 0; text.size() < (std::size_t{3} << 20); ++i) {
        text += (i % 50 == 0) ? "a needle in line " : "hay in line ";
        text += std::to_string(i) + "\r\n";
    }
    return text;
}

TEST_F(BatchRunTest, BigFilesAreReplacedLikeSmallOnes) {
    const std::string text = BigCrLfText();
    const std::string lf_text = test::WithoutCr(text);
    const std::string crlf = dir_.Write("crlf.txt", text);
    const std::string lf = dir_.Write("lf.txt", lf_text);
    // A second name keeps the first file from being replaced by a rename:
    // it is written in place, over the very bytes it is searched in.
    const std::string linked = dir_.File("linked.txt");
    ASSERT_TRUE(test::MakeHardLink(crlf, linked));
    ui_.entries = {crlf, lf};
    ui_.find = "needle";
    ui_.replacement = "pin";
    ui_.case_sensitive = true;
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.FilesReplaced, 2);
    std::string expected = text;
    int occurrences = 0;
    for (std::size_t at = expected.find("needle"); at != std::string::npos;
         at = expected.find("needle", at + 3)) {
        expected.replace(at, 6, "pin");
        ++occurrences;
    }
    EXPECT_TRUE(ReadFile(crlf) == expected);
    EXPECT_TRUE(ReadFile(linked) == expected);
    EXPECT_TRUE(ReadFile(lf) == expected);  // saved with CR LF breaks
    EXPECT_EQ(ui_.pumps, 2 * occurrences);
}

// What a run leaves behind, with its folder's path written as "<dir>".
struct RunTrace {
    std::map<std::string, std::string> files;  // the log aside
    std::vector<std::string> events;
    std::vector<std::string> calls;
    std::int64_t replaced = 0;
    int pumps = 0;
    bool operator==(const RunTrace&) const = default;
};

std::string WithoutFolder(std::string text, const std::string& folder) {
    for (std::size_t at = text.find(folder); at != std::string::npos;
         at = text.find(folder, at + 5)) {
        text.replace(at, folder.size(), "<dir>");
    }
    return text;
}

// Runs over the files `make` lays out, reading the next file while saving
// the current one or not, and records the outcome. `on_pump`, when given,
// is the user at work during the run; `aside` hands file work to another
// thread, as a window does.
RunTrace TraceRun(bool reads_ahead, bool back_up,
                  const std::function<std::vector<std::string>(const TempDir&)>& make,
                  const std::function<void(FakeUi&)>& on_pump = {}, bool aside = false) {
    TempDir dir;
    ActivityLog log(dir.File("korv.log"), TimeFormat{});
    log.Open();
    FakeUi ui;
    ui.entries = make(dir);
    ui.find = "needle";
    ui.replacement = "needle or pin";
    ui.case_sensitive = true;
    ui.back_up = back_up;
    ui.reads_ahead = reads_ahead;
    ui.on_pump = on_pump;
    ui.aside = aside;
    RunTrace trace;
    trace.replaced = RunBatch(ui, log).FilesReplaced;
    trace.pumps = ui.pumps;
    log.Close();
    for (const std::string& name : dir.Names()) {
        if (name != "korv.log") {
            trace.files[name] = WithoutFolder(ReadFile(dir.File(name)), dir.Path());
        }
    }
    for (const std::string& event : test::LogEventsOf(ReadFile(log.Path()))) {
        trace.events.push_back(WithoutFolder(event, dir.Path()));
    }
    for (const std::string& call : ui.calls) {
        trace.calls.push_back(WithoutFolder(call, dir.Path()));
    }
    return trace;
}

// Reading the next file while the current one is saved must not show: the
// same list gives the same files, log, messages and counts either way, even
// where one entry's save changes what a later entry names or holds.
TEST(BatchRunAheadTest, ReadingAheadChangesNothingAFileOfTheListCanSee) {
    // Big files and small ones are planned and written ahead differently.
    std::string big;
    struct Case {
        const char* name;
        bool back_up;
        std::function<std::vector<std::string>(const TempDir&)> make;
    };
    const std::vector<Case> cases = {
        {"TwoFiles", false,
         [&](const TempDir& d) {
             return std::vector{d.Write("a.txt", big), d.Write("b.txt", big)};
         }},
        {"TheSameFileTwice", false,
         [&](const TempDir& d) {
             const std::string a = d.Write("a.txt", big);
             return std::vector{a, a, a};
         }},
        {"AHardLinkAfterItsFile", false,
         [&](const TempDir& d) {
             const std::string a = d.Write("a.txt", big);
             const std::string b = d.File("b.txt");
             EXPECT_TRUE(test::MakeHardLink(a, b));
             return std::vector{a, b};
         }},
        {"ASymlinkAfterItsFile", false,
         [&](const TempDir& d) {
             const std::string a = d.Write("a.txt", big);
             const std::string b = d.File("b.txt");
             EXPECT_TRUE(test::MakeSymbolicLink(a, b));
             return std::vector{a, b};
         }},
        {"ABackupThatIsTheNextEntry", true,
         [&](const TempDir& d) {
             const std::string a = d.Write("a.txt", big);
             const std::string bak = d.Write("a.txt.bak", big + "older\r\n");
             return std::vector{a, bak, a};
         }},
        // Read ahead, these hold no find text; the pass before puts it in.
        {"ABackupWithoutTheFindTextThatIsTheNextEntry", true,
         [&](const TempDir& d) {
             const std::string a = d.Write("a.txt", big);
             return std::vector{a, d.Write("a.txt.bak", "older\r\n")};
         }},
        {"ALogWithoutTheFindTextAsTheNextEntry", false,
         [&](const TempDir& d) {
             const std::string a = d.Write("a.txt", big);
             test::WriteFile(d.File("korv.log"), "1/2/03 4:05:06 AM - an older run\r\n");
             return std::vector{a, d.File("korv.log")};
         }},
        {"TheLogAsAnEntry", false,
         [&](const TempDir& d) {
             const std::string a = d.Write("a.txt", big);
             // A log already holding the find text, big enough to be read ahead.
             std::string lines;
             while (lines.size() < (std::size_t{2} << 20)) {
                 lines += "1/2/03 4:05:06 AM - needle of an older run\r\n";
             }
             test::WriteFile(d.File("korv.log"), lines);
             return std::vector{a, d.File("korv.log"), a};
         }},
        {"AMissingFileBetween", false,
         [&](const TempDir& d) {
             return std::vector{d.Write("a.txt", big), d.File("gone.txt"), d.Write("b.txt", big)};
         }},
    };
    for (const std::string& text : {BigCrLfText(), std::string("a needle\r\nhay\r\n")}) {
        big = text;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (text.size() > 100 ? ", big" : ", small"));
            const RunTrace one_by_one = TraceRun(false, c.back_up, c.make);
            const RunTrace ahead = TraceRun(true, c.back_up, c.make);
            EXPECT_EQ(ahead.replaced, one_by_one.replaced);
            EXPECT_EQ(ahead.events, one_by_one.events);
            EXPECT_EQ(ahead.calls, one_by_one.calls);
            EXPECT_TRUE(ahead.files == one_by_one.files);
            EXPECT_GT(one_by_one.replaced, 0);
        }
    }
}

// A file planned ahead is planned with the texts and the case option of
// that moment; the user may change them before or while its pass walks
// it. Each change must count from its next use, exactly as without
// reading ahead.
TEST(BatchRunAheadTest, TextsAndOptionsChangedDuringTheRunCountFromTheirNextUse) {
    std::string mixed;
    for (int i = 0; mixed.size() < (std::size_t{3} << 20); ++i) {
        mixed += (i % 50 == 0) ? "a needle and a Needle in line " : "hay in line ";
        mixed += std::to_string(i) + "\r\n";
    }
    const auto make = [&](const TempDir& d) {
        return std::vector{d.Write("a.txt", mixed), d.Write("b.txt", mixed),
                           d.Write("c.txt", mixed)};
    };
    // The user's change at the `at`-th pump of entry `entry`.
    const auto at_pump = [](std::int32_t entry, int at, std::function<void(FakeUi&)> change) {
        return [entry, at, change, count = 0](FakeUi& u) mutable {
            if (u.current == entry && ++count == at) {
                change(u);
            }
        };
    };
    const auto untick = [](FakeUi& u) { u.case_sensitive = false; };
    const auto tick = [](FakeUi& u) { u.case_sensitive = true; };
    struct Case {
        const char* name;
        std::function<std::function<void(FakeUi&)>()> user;
    };
    const std::vector<Case> cases = {
        {"TheCaseOptionUntickedWithinAFilePlannedAhead", [&] { return at_pump(1, 3, untick); }},
        {"TheCaseOptionUntickedAndTickedAgain",
         [&] {
             return [a = at_pump(1, 2, untick), b = at_pump(1, 4, tick)](FakeUi& u) mutable {
                 a(u);
                 b(u);
             };
         }},
        {"TheFindTextChanged", [&] { return at_pump(0, 1, [](FakeUi& u) { u.find = "Needle"; }); }},
        {"TheReplacementChanged",
         [&] { return at_pump(0, 1, [](FakeUi& u) { u.replacement = "thread"; }); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunTrace one_by_one = TraceRun(false, false, make, c.user());
        for (const bool aside : {false, true}) {
            SCOPED_TRACE(aside ? "aside" : "inline");
            const RunTrace ahead = TraceRun(true, false, make, c.user(), aside);
            EXPECT_EQ(ahead.replaced, one_by_one.replaced);
            EXPECT_EQ(ahead.events, one_by_one.events);
            EXPECT_EQ(ahead.pumps, one_by_one.pumps);
            EXPECT_TRUE(ahead.files == one_by_one.files);
        }
        // The change showed: not every file came out the same.
        const auto& files = one_by_one.files;
        EXPECT_FALSE(files.at("a.txt") == files.at("b.txt") &&
                     files.at("b.txt") == files.at("c.txt"));
    }
}

// A file planned ahead while the replacement text equalled the find text
// was not searched at all; once the texts differ again its pass must search
// it, not take the plan's lack of occurrences for an answer.
TEST(BatchRunAheadTest, AFilePlannedAheadUnderEqualTextsIsSearchedByItsPass) {
    TempDir dir;
    ActivityLog log(dir.File("korv.log"), TimeFormat{});
    log.Open();
    const std::string big = BigCrLfText();
    FakeUi ui;
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) {
        ui.entries.push_back(dir.Write(name, big));
    }
    ui.find = "needle";
    ui.replacement = "pin";
    ui.reads_ahead = true;
    // The last file is planned ahead while the texts are the same, and
    // they differ again before its pass.
    ui.on_pump = [](FakeUi& u) {
        if (u.current == 1) {
            u.replacement = u.find;
        }
    };
    ui.stop = [](FakeUi& u) {
        if (u.current == 2) {
            u.replacement = "thread";
        }
        return false;
    };
    RunBatch(ui, log);
    log.Close();
    std::string expected = big;
    for (std::size_t at = expected.find("needle"); at != std::string::npos;
         at = expected.find("needle", at + 6)) {
        expected.replace(at, 6, "thread");
    }
    EXPECT_TRUE(ReadFile(ui.entries[3]) == expected);
}

// Another program writes a file after it was planned ahead but before its
// pass: the pass reads it as it then stands, as it would have without
// planning ahead, and replaces what that program wrote.
TEST(BatchRunAheadTest, AFileWrittenAfterItWasPlannedAheadIsReadAgainByItsPass) {
    TempDir dir;
    ActivityLog log(dir.File("korv.log"), TimeFormat{});
    log.Open();
    const std::string big = BigCrLfText();
    const std::string first = dir.Write("0.txt", big);
    const std::string a = dir.Write("a.txt", big);
    FakeUi ui;
    ui.entries = {first, a};
    ui.find = "needle";
    ui.replacement = "pin";
    ui.reads_ahead = true;
    const std::string other = "another program's needle\r\n" + big;
    ui.stop = [&](FakeUi&) {
        if (ReadFile(a) == big) {
            EXPECT_TRUE(test::WriteAsAnotherProgram(a, other, OtherWrite::kOtherBytes));
        }
        return false;
    };
    const BatchOutcome outcome = RunBatch(ui, log);
    log.Close();
    EXPECT_EQ(outcome.FilesReplaced, 2);
    EXPECT_TRUE(ui.CallsStarting("message ").empty());
    std::string expected = other;
    for (std::size_t at = expected.find("needle"); at != std::string::npos;
         at = expected.find("needle", at + 3)) {
        expected.replace(at, 6, "pin");
    }
    EXPECT_TRUE(ReadFile(a) == expected);
}

TEST_F(BatchRunTest, ABigFileCutShortByAnotherProgramDuringTheRunFailsUntouched) {
    const std::string text = BigCrLfText();
    const std::string a = dir_.Write("a.txt", text);
    const std::string b = dir_.Write("b.txt", "a needle\r\n");
    ui_.entries = {a, b};
    ui_.find = "needle";
    ui_.replacement = "pin";
    // While the first file is searched, another program cuts it short.
    bool cut = false;
    ui_.on_pump = [&](FakeUi&) {
        if (!cut) {
            cut = true;
            ASSERT_TRUE(test::CutFile(a, 1000));
        }
    };
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.end, BatchEnd::Finished);
    EXPECT_EQ(outcome.FilesReplaced, 1);
    EXPECT_EQ(ui_.CallsStarting("message "),
              std::vector<std::string>{"message Cannot open file " + a + "."});
    // The file holds what the other program left, not a text built from zeros.
    EXPECT_TRUE(ReadFile(a) == text.substr(0, 1000));
    EXPECT_EQ(ReadFile(b), "a pin\r\n");
    // A mapped file is seen cut short before its log line; a file read
    // whole is found changed only by its save, after its line, as any
    // other program's write.
    std::vector<std::string> events{"Application Started", Replaced("needle", b, "pin")};
    if (!test::kBigFilesMapped) {
        events.insert(events.begin() + 1, Replaced("needle", a, "pin"));
    }
    EXPECT_EQ(Events(), events);
    EXPECT_EQ(dir_.Names(), (std::vector<std::string>{"a.txt", "b.txt", "korv.log"}));
}

// Another program writes the file while a pass has it loaded: the save
// must not put a text made from the older bytes over the newer ones. The
// pass fails as a failed save does: its log line and backup stay, and the
// file is not counted.
TEST(BatchRunLostUpdate, AFileWrittenByAnotherProgramSinceItsLoadKeepsThatProgramsBytes) {
    const std::string big = BigCrLfText();
    const std::string small = "a needle in a small file\n";
    for (const OtherWrite how : {OtherWrite::kOtherBytes, OtherWrite::kSameSizeOneTickLater,
                                 OtherWrite::kAnotherFileOfTheSameSizeAndTime}) {
        for (const bool in_place : {false, true}) {
            for (const bool ahead : {false, true}) {
                SCOPED_TRACE(std::string("change ") + std::to_string(static_cast<int>(how)) +
                             (in_place ? ", written in place" : ", safe save") +
                             (ahead ? ", planned ahead" : ""));
                TempDir dir;
                // A big file is planned ahead; a small one, with lone LFs,
                // is saved through the line model.
                const std::string original = ahead ? big : small;
                const std::string other = how == OtherWrite::kOtherBytes
                                              ? std::string("another program's text\r\n")
                                              : std::string(original.size(), 'z');
                const std::string a = dir.Write("a.txt", original);
                if (in_place) {
                    ASSERT_TRUE(test::MakeHardLink(a, dir.File("a.txt.link")));
                }
                ActivityLog log(dir.File("korv.log"), TimeFormat{});
                log.Open();
                FakeUi ui;
                // The entry after the first is the one planned ahead.
                ui.entries = {a};
                if (ahead) {
                    ui.entries.insert(ui.entries.begin(), dir.Write("0.txt", "nothing here\r\n"));
                }
                ui.find = "needle";
                ui.replacement = "pin";
                ui.back_up = true;
                ui.reads_ahead = ahead;
                ui.on_pump = [&](FakeUi& u) {
                    if (u.pumps == 1) {
                        ASSERT_TRUE(test::WriteAsAnotherProgram(a, other, how));
                    }
                };
                const BatchOutcome outcome = RunBatch(ui, log);
                EXPECT_EQ(outcome.FilesReplaced, 0);
                EXPECT_EQ(outcome.FilesFailed, 1);
                EXPECT_EQ(ui.CallsStarting("message "),
                          std::vector<std::string>{"message Cannot open file " + a + "."});
                EXPECT_TRUE(ReadFile(a) == other);
                // The copy made before the save, of the file as it then was.
                EXPECT_TRUE(ReadFile(a + ".bak") == other);
                EXPECT_EQ(LogEvents(log.Path()),
                          (std::vector<std::string>{"Application Started",
                                                    Replaced("needle", a, "pin")}));
                std::vector<std::string> names{"a.txt", "a.txt.bak", "korv.log"};
                if (in_place) {
                    names.insert(names.begin() + 2, "a.txt.link");
                }
                if (ahead) {
                    names.insert(names.begin(), "0.txt");
                }
                EXPECT_EQ(dir.Names(), names);
            }
        }
    }
}

// Fails the next `open` of the file layer, once.
class FailNextOpen final : public FileFaultPlan {
public:
    int Check(FileCall operation, const FileCallDetail&) override {
        if (armed && operation == FileCall::kOpen) {
            armed = false;
            return EIO;
        }
        return 0;
    }
    bool armed = true;
};

TEST_F(BatchRunTest, AFailureAfterTheListChangedNamesThePassOwnFile) {
    // During the first pass the user renames the entry being processed,
    // then the pass fails writing its log line: the message names the file
    // the pass was working on, which stays unchanged.
    const std::string a = dir_.Write("a.txt", "x\r\n");
    const std::string b = dir_.Write("b.txt", "x\r\n");
    ui_.entries = {a, b};
    ui_.find = "x";
    ui_.replacement = "y";
    ui_.back_up = true;
    FailNextOpen fault;
    fault.armed = false;
    FaultPlanGuard guard(&fault);
    ui_.on_pump = [&fault](FakeUi& ui) {
        if (ui.pumps == 1) {
            ui.entries[0] = "renamed.txt";
            fault.armed = true;
        }
    };
    const BatchOutcome outcome = Run();
    EXPECT_EQ(ui_.CallsStarting("message"),
              std::vector<std::string>{"message Cannot open file " + a + "."});
    EXPECT_EQ(ReadFile(a), "x\r\n");
    EXPECT_FALSE(FileExists(a + ".bak"));
    EXPECT_EQ(ReadFile(b), "y\r\n");
    EXPECT_EQ(outcome.FilesReplaced, 1);
    EXPECT_EQ(outcome.FilesFailed, 1);
    // The failed line stays in the log and reaches the file with the next.
    EXPECT_EQ(Events(), (std::vector<std::string>{"Application Started", Replaced("x", a, "y"),
                                                  Replaced("x", b, "y")}));
}

TEST_F(BatchRunTest, AnEntryThatIsAFolderFails) {
    ASSERT_TRUE(std::filesystem::create_directory(dir_.File("sub")));
    const std::string d = dir_.File("sub");
    ui_.entries = {d};
    ui_.find = "x";
    ui_.replacement = "y";
    EXPECT_EQ(Run().FilesFailed, 1);
    EXPECT_EQ(ui_.CallsStarting("message"),
              std::vector<std::string>{"message Cannot open file " + d + "."});
    EXPECT_EQ(ui_.CallsStarting("results"), std::vector<std::string>{"results 1 0"});
}

TEST_F(BatchRunTest, EntriesAddedDuringTheRunAreProcessed) {
    const std::string a = dir_.Write("a.txt", "x\r\n");
    const std::string b = dir_.Write("b.txt", "x\r\n");
    const std::string c = dir_.Write("c.txt", "x\r\n");
    ui_.entries = {a};
    ui_.find = "x";
    ui_.replacement = "y";
    ui_.on_pump = [b, c](FakeUi& ui) {
        if (ui.pumps == 1) {
            ui.entries.push_back(b);
        } else if (ui.pumps == 2) {
            ui.entries.push_back(c);
        }
    };
    const BatchOutcome outcome = Run();
    EXPECT_EQ(ReadFile(b), "y\r\n");
    EXPECT_EQ(ReadFile(c), "y\r\n");
    EXPECT_EQ(ui_.CallsStarting("results"), std::vector<std::string>{"results 3 3"});
    EXPECT_EQ(outcome.FilesSearched, 3);
}

TEST_F(BatchRunTest, VariablesAreExpandedForEachFileAnew) {
    ASSERT_TRUE(std::filesystem::create_directory(dir_.File("d")));
    const std::string report = test::InFolder(dir_.File("d"), "report.txt");
    const std::string notes = test::InFolder(dir_.File("d"), "notes.md");
    test::WriteFile(report, "report.txt $file\r\n");
    test::WriteFile(notes, "notes.md report\r\n");
    ui_.entries = {report, notes};
    ui_.dynamic_variables = true;
    ui_.find = "$filename";
    ui_.replacement = "[$fileext in $filedir]";
    Run();
    EXPECT_EQ(ReadFile(report), "[txt in " + dir_.File("d") + "] $file\r\n");
    EXPECT_EQ(ReadFile(notes), "[md in " + dir_.File("d") + "] report\r\n");
    // The log line holds the texts after expansion.
    EXPECT_EQ(Events()[2], Replaced("notes.md", notes, "[md in " + dir_.File("d") + "]"));
}

TEST_F(BatchRunTest, TextsEqualOnlyAfterExpansionLeaveTheFilesAsTheyAre) {
    const std::string report = dir_.Write("report.txt", "see report.txt\n");
    ui_.entries = {report};
    ui_.dynamic_variables = true;
    ui_.find = "$filename";
    ui_.replacement = "$file.txt";
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.end, BatchEnd::Finished);
    EXPECT_TRUE(ui_.CallsStarting("error").empty());
    EXPECT_TRUE(ui_.CallsStarting("message").empty());
    EXPECT_EQ(outcome.FilesReplaced, 0);
    EXPECT_EQ(ReadFile(report), "see report.txt\n");
    EXPECT_EQ(Events(), std::vector<std::string>{"Application Started"});
}

TEST_F(BatchRunTest, AStopRequestEndsTheRunAfterTheCurrentEntryWithoutResults) {
    const std::string a = dir_.Write("a.txt", "x\r\n");
    const std::string b = dir_.Write("b.txt", "x\r\n");
    ui_.entries = {a, b};
    ui_.find = "x";
    ui_.replacement = "y";
    ui_.stop = [](FakeUi&) { return true; };
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.end, BatchEnd::Stopped);
    EXPECT_EQ(ReadFile(a), "y\r\n");
    EXPECT_EQ(ReadFile(b), "x\r\n");
    EXPECT_TRUE(ui_.CallsStarting("results").empty());
    EXPECT_EQ(ui_.calls.back(), "busy off");
}

TEST_F(BatchRunTest, ResultsThatChangeTheLineBreaksAreSavedThroughTheLineModel) {
    struct Case {
        std::string content;
        std::string find;
        std::string replacement;
        std::string saved;
    };
    const std::vector<Case> cases{
        // The last line's break taken away: the line gets a new one.
        {"keep\r\ncut\r\n", "cut\r\n", "", "keep\r\n"},
        {"abc\r\n", "c\r\n", "C", "abC\r\n"},
        {"a\r\nb\r\n", "\r\n", "-", "a-b-\r\n"},
        // Lone breaks in the replacement become CR LF.
        {"x a y\r\n", "a", "1\n2\r3", "x 1\r\n2\r\n3 y\r\n"},
        {"x a y\r\n", "a", "1\n\r2", "x 1\r\n\r\n2 y\r\n"},
        // A find text with a lone CR or LF of its own is never found in a
        // loaded text, whose breaks are all CR LF.
        {"p\nq\r\n", "p\n", "z", "p\nq\r\n"},
    };
    for (const Case& c : cases) {
        const std::string a = dir_.Write("a.txt", c.content);
        FakeUi ui;
        ui.entries = {a};
        ui.find = c.find;
        ui.replacement = c.replacement;
        RunBatch(ui, log_);
        EXPECT_EQ(ReadFile(a), c.saved) << "find \"" << c.find << "\"";
    }
}

TEST_F(BatchRunTest, ThousandsOfOccurrencesAreAllWritten) {
    // More pieces than one gathered write takes.
    std::string content;
    std::string expected;
    std::string stripped;
    for (int i = 0; i < 5000; ++i) {
        content += (i % 3 == 0) ? "aa" : "a-";
        expected += (i % 3 == 0) ? "<b><b>" : "<b>-";
        stripped += (i % 3 == 0) ? "" : "-";
    }
    content += "\r\nlast line\r\n";
    expected += "\r\nl<b>st line\r\n";
    stripped += "\r\nlst line\r\n";
    const std::string a = dir_.Write("a.txt", content);
    const std::string b = dir_.Write("b.txt", content);
    ui_.entries = {a};
    ui_.find = "a";
    ui_.replacement = "<b>";
    Run();
    const std::string a_saved = ReadFile(a);
    EXPECT_TRUE(a_saved == expected)
        << "saved " << a_saved.size() << " bytes, expected " << expected.size();

    // Every occurrence taken away, the line breaks kept.
    FakeUi ui;
    ui.entries = {b};
    ui.find = "A";
    ui.replacement = "";
    RunBatch(ui, log_);
    const std::string b_saved = ReadFile(b);
    EXPECT_TRUE(b_saved == stripped)
        << "saved " << b_saved.size() << " bytes, expected " << stripped.size();
}

}  // namespace
}  // namespace korv
