// A run undone from its journal: every file it replaced holds its old bytes
// again, whatever way it was written, while a file changed or removed since
// the run is left alone; and an undo undone gives the run's result back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "activity_log.h"
#include "batch_run.h"
#include "engine_error.h"
#include "fake_batch_ui.h"
#include "file_system.h"
#include "file_system_helpers.h"
#include "make_folder.h"
#include "path_syntax.h"
#include "undo_journal.h"
#include "undo_run.h"

namespace korv {
namespace {

using test::FakeUi;
using test::ReadFile;
using test::TempDir;

// What becomes of the file between the run and the undo.
enum class Then { kNothing, kChanged, kRemoved };

struct UndoCase {
    const char* name;
    std::string before;
    LineBreaks breaks = LineBreaks::Keep;
    Then then = Then::kNothing;
    bool second_name = false;  // the file has a hard link: written in place
    bool read_only = false;
    bool listed_twice = false;  // replaced twice in the run
};

class RecordingReport final : public UndoReport {
public:
    void PutBack(const std::string& path) override { put_back.push_back(path); }
    void Left(const std::string& path, const std::string& reason) override {
        left.push_back(path + ": " + reason);
    }
    std::vector<std::string> put_back;
    std::vector<std::string> left;
};

class UndoRoundTrip : public ::testing::TestWithParam<UndoCase> {};

TEST_P(UndoRoundTrip, PutsBackEveryFileStillAsTheRunLeftIt) {
    const UndoCase& c = GetParam();
    TempDir dir;
    const std::string file = dir.Write("f.txt", c.before);
    const std::string untouched = dir.Write("none.txt", "nothing to find\n");
    if (c.second_name) {
        ASSERT_TRUE(test::MakeHardLink(file, dir.File("f.link")));
    }
    if (c.read_only) {
        ASSERT_TRUE(test::MakeReadOnly(file));
    }
    FakeUi ui;
    ui.find = "foo";
    ui.replacement = "foo bar";
    ui.line_breaks = c.breaks;
    ui.undo_folder = dir.File("undo");
    ui.entries = {untouched, file};
    if (c.listed_twice) {
        ui.entries.push_back(file);
    }
    ActivityLog log(dir.File("korv.log"), TimeFormat{});
    const BatchOutcome outcome = RunBatch(ui, log);
    ASSERT_EQ(outcome.end, BatchEnd::Finished);
    const std::string after_run = ReadFile(file);
    const bool replaced = after_run != c.before;
    ASSERT_EQ(replaced, outcome.FilesReplaced > 0) << ui.reasons.size();

    if (c.then == Then::kChanged) {
        test::WriteFile(file, "changed since");
    } else if (c.then == Then::kRemoved) {
        ASSERT_TRUE(fs::Remove(file));
    }

    const std::optional<RunJournal> run = ReadLastRun(ui.undo_folder);
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->program, "test");
    RecordingReport report;
    {
        UndoJournal redo(ui.undo_folder, "test");
        const UndoCounts counts = UndoRun(*run, &redo, &log, /*dry_run=*/false, report);
        EXPECT_EQ(counts.restored + counts.left, replaced ? 1 : 0);
    }
    switch (c.then) {
        case Then::kNothing:
            EXPECT_EQ(ReadFile(file), c.before);
            EXPECT_EQ(report.put_back.size(), replaced ? 1U : 0U);
            EXPECT_TRUE(report.left.empty()) << report.left.front();
            break;
        case Then::kChanged:
            EXPECT_EQ(ReadFile(file), "changed since");
            ASSERT_EQ(report.left.size(), 1U);
            EXPECT_NE(report.left[0].find("It changed since the run."), std::string::npos);
            break;
        case Then::kRemoved:
            EXPECT_FALSE(test::FileExists(file));
            EXPECT_EQ(report.left.size(), 1U);
            break;
    }
    if (c.second_name) {
        EXPECT_EQ(ReadFile(dir.File("f.link")), ReadFile(file)) << "the link was broken";
    }
    if (c.read_only) {
        EXPECT_TRUE(test::IsReadOnly(file));
    }
    if (c.then != Then::kNothing || !replaced) {
        return;
    }
    // The undo kept what it replaced: undoing it gives the run's result.
    const std::optional<RunJournal> undo = ReadLastRun(ui.undo_folder);
    ASSERT_TRUE(undo.has_value());
    RecordingReport again;
    UndoRun(*undo, nullptr, nullptr, /*dry_run=*/false, again);
    EXPECT_EQ(ReadFile(file), after_run);
}

const UndoCase kUndoCases[] = {
    {"MixedBreaksKept", "foo\r\nbar\nfoo\rlast foo"},
    {"MixedBreaksRewrittenAsCrLf", "foo\nbar\rfoo\n", LineBreaks::CrLf},
    {"HardLinkedWrittenInPlace", "a foo\n", LineBreaks::Keep, Then::kNothing, true},
    {"ReadOnly", "read-only foo\n", LineBreaks::Keep, Then::kNothing, false, true},
    {"ReplacedTwiceInTheRun", "foo\n", LineBreaks::Keep, Then::kNothing, false, false, true},
    {"ChangedSinceTheRun", "foo\n", LineBreaks::Keep, Then::kChanged},
    {"RemovedSinceTheRun", "foo\n", LineBreaks::Keep, Then::kRemoved},
};

INSTANTIATE_TEST_SUITE_P(Cases, UndoRoundTrip, ::testing::ValuesIn(kUndoCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Where the journal cannot be kept (its folder's name is a file's), the run
// asks first, naming the folder, and touches no file unless told to go on.
TEST(UndoJournalMissing, TheRunAsksAndTouchesNothingUnlessToldToGoOn) {
    for (const bool go_on : {false, true}) {
        SCOPED_TRACE(go_on ? "going on" : "declined");
        TempDir dir;
        const std::string file = dir.Write("f.txt", "foo");
        FakeUi ui;
        ui.find = "foo";
        ui.replacement = "bar";
        ui.entries = {file};
        ui.undo_folder = dir.Write("undo", "a file, not a folder");
        ui.run_without_undo = go_on;
        ui.line_breaks = LineBreaks::Keep;
        ActivityLog log(dir.File("korv.log"), TimeFormat{});
        const BatchOutcome outcome = RunBatch(ui, log);
        const std::vector<std::string> asked = ui.CallsStarting("no undo ");
        ASSERT_EQ(asked.size(), 1U);
        EXPECT_NE(asked[0].find(ui.undo_folder), std::string::npos) << asked[0];
        EXPECT_EQ(outcome.end, go_on ? BatchEnd::Finished : BatchEnd::NoUndo);
        EXPECT_EQ(ReadFile(file), go_on ? "bar" : "foo");
    }
}

// A journal left by an earlier version of the program, whose kept files
// lay elsewhere in the run's folder, still leads to them.
TEST(UndoOfAnEarlierJournal, FindsTheOldContentWhereEachFormKeptIt) {
    const std::string run = JoinPath("undo", "run-1");
    const struct {
        const char* header;
        std::string kept;
    } forms[] = {{"Korvane undo journal 1", JoinPath(run, "70")},
                 {"Korvane undo journal 2", JoinPath(JoinPath(run, "1"), "70")}};
    for (const auto& form : forms) {
        SCOPED_TRACE(form.header);
        const std::optional<RunJournal> journal = ParseRunJournal(
            std::string(form.header) + "\nprogram\ttest\nkeep\t70\t1\t2\t3\t4\t/f.txt\n", run);
        ASSERT_TRUE(journal.has_value());
        ASSERT_EQ(journal->entries.size(), 1U);
        EXPECT_EQ(journal->entries[0].kept, form.kept);
    }
}

// A run killed between keeping a file's old content and replacing the file
// leaves a further name of it in its journal. The next run removes that
// name before it reads any file: with it, the file looks hard-linked and is
// written in place, where a second kill would empty it.
TEST(UndoJournalAfterAKill, NoFileLooksHardLinkedOnceTheNextRunStarts) {
    TempDir dir;
    const std::string file = dir.Write("f.txt", "foo");
    const std::string killed = JoinPath(dir.File("undo"), "run-1");
    MakeFolder(killed);
    test::WriteFile(JoinPath(killed, "journal"), "Korvane undo journal 1\nprogram\ttest\n");
    ASSERT_TRUE(test::MakeHardLink(file, JoinPath(killed, "1")));

    UndoJournal next(dir.File("undo"), "test");
    next.DropEarlierRuns();
    const std::optional<fs::Facts> facts = fs::FactsAt(file, true, fs::Identity::kNotNeeded);
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->links, 1U);
    EXPECT_EQ(ReadFile(file), "foo");
}

}  // namespace
}  // namespace korv
