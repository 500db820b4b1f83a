// A run whose interface does the big files' work on another thread while
// it goes on handling its own events.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "activity_log.h"
#include "aside_search.h"
#include "batch_run.h"
#include "big_text.h"
#include "fake_batch_ui.h"
#include "temp_dir.h"
#include "time_stamp.h"

namespace korv {
namespace {

using test::FakeUi;
using test::ReadFile;
using test::TempDir;

class AsideRunTest : public ::testing::Test {
protected:
    AsideRunTest() : log_(dir_.File("korv.log"), TimeFormat{}) {
        log_.Open();
        ui_.aside = true;
    }

    BatchOutcome Run() { return RunBatch(ui_, log_); }

    TempDir dir_;
    ActivityLog log_;
    FakeUi ui_;
};

TEST_F(AsideRunTest, ACaseChangeWhileABigFileIsSearchedCountsFromTheNextSearch) {
    // Each far enough away for its search to go aside.
    const std::string filler = test::BigText(kSearchedHereBytes + test::kBig);
    const std::string path =
        dir_.Write("big.txt", "foo\r\n" + filler + "FOO\r\n" + filler + "FOO\r\n");
    ui_.entries = {path};
    ui_.find = "foo";
    ui_.replacement = "bar";
    // The box is ticked while a search is under way aside: that search
    // goes on as it began, the next one is case-sensitive.
    ui_.on_aside = [](FakeUi& ui) {
        if (ui.case_reads > 0) {
            ui.case_sensitive = true;
        }
    };
    const BatchOutcome outcome = Run();
    EXPECT_EQ(outcome.FilesReplaced, 1);
    EXPECT_EQ(ReadFile(path), "bar\r\n" + filler + "bar\r\n" + filler + "FOO\r\n");
    EXPECT_EQ(ui_.pumps, 2);
    EXPECT_GE(ui_.asides, 2);  // the load and the search that found the second
}

struct BinaryCase {
    bool skips_binary;
    std::vector<std::string> messages;
    std::int32_t skipped;
};

class AsideBinaryTest : public AsideRunTest, public ::testing::WithParamInterface<BinaryCase> {};

// Refused while it is read aside, the file fails or is passed over on this
// thread exactly as a small one would.
TEST_P(AsideBinaryTest, ABigFileHoldingANulIsRefusedAsOnThisThread) {
    std::string bytes = test::BigText(test::kBig);
    bytes[bytes.size() / 2] = '\0';
    const std::string path = dir_.Write("holds-zero.txt", bytes);
    ui_.entries = {path};
    ui_.find = "line";
    ui_.replacement = "row";
    ui_.skips_binary = GetParam().skips_binary;
    std::vector<std::string> expected;
    for (const std::string& message : GetParam().messages) {
        expected.push_back(message + path + ".");
    }
    const BatchOutcome outcome = Run();
    EXPECT_EQ(ui_.CallsStarting("message"), expected);
    EXPECT_EQ(outcome.FilesSkipped, GetParam().skipped);
    EXPECT_EQ(ReadFile(path), bytes);
    EXPECT_GE(ui_.asides, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, AsideBinaryTest,
                         ::testing::Values(BinaryCase{false, {"message Cannot open file "}, 0},
                                           BinaryCase{true, {}, 1}),
                         [](const ::testing::TestParamInfo<BinaryCase>& info) {
                             return info.param.skips_binary ? "PassedOver" : "Reported";
                         });

}  // namespace
}  // namespace korv
