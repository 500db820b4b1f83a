// The main window's first show: the options read from the settings file,
// the ones found on written back, and a failed write cutting the show short.

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fake_window.h"
#include "texts.h"

namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;

struct SettingsCase {
    const char* name;
    std::string section;
    Keys keys;
    bool cs;
    bool bu;
    bool dv;
    // The way runs write changed files; this system's default when unset.
    std::optional<korv::LineBreaks> breaks = std::nullopt;
};

class FormShow : public testing::TestWithParam<SettingsCase> {};

TEST_P(FormShow, OnlyTrueChecksABoxAndIsWrittenBack) {
    const SettingsCase& c = GetParam();
    korv::test::FakeMainWindow f;
    for (const auto& [key, value] : c.keys) {
        f.settings.values[{c.section, key}] = value;
    }
    f.window.FormShow();
    EXPECT_EQ(f.settings_path, "settings.ini");
    EXPECT_EQ(f.cs.checked, c.cs);
    EXPECT_EQ(f.bu.checked, c.bu);
    EXPECT_EQ(f.dv.checked, c.dv);
    EXPECT_EQ(f.window.LineBreaks(), c.breaks.value_or(korv::DefaultLineBreaks()));
    // Every box found on is written back with the same value, and only
    // those, in the order the keys are read.
    std::vector<std::string> written;
    for (const auto& [on, key] : {std::pair{c.cs, "CS"}, {c.bu, "BU"}, {c.dv, "DV"}}) {
        if (on) {
            written.push_back(std::string("Options/") + key + "=True");
        }
    }
    EXPECT_EQ(f.settings.written, written);
    EXPECT_EQ(f.settings.reads, (std::vector<std::string>{"LineBreaks", "CS", "BU", "DV"}));
    EXPECT_EQ(f.list.items, std::vector<std::string>{korv::behaviour::text::kPlaceholderEntry});
    EXPECT_FALSE(f.run_button.enabled);
    EXPECT_FALSE(f.delete_button.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormShow,
    testing::Values(SettingsCase{"NoKeys", "Options", {}, false, false, false},
                    SettingsCase{"LowerCase", "Options", {{"CS", "true"}}, false, false, false},
                    SettingsCase{"Capitals", "Options", {{"CS", "TRUE"}}, false, false, false},
                    SettingsCase{"One", "Options", {{"CS", "1"}}, false, false, false},
                    SettingsCase{"False", "Options", {{"CS", "False"}}, false, false, false},
                    SettingsCase{"OtherSection", "Other", {{"CS", "True"}}, false, false, false},
                    SettingsCase{"BuAlone", "Options", {{"BU", "True"}}, false, true, false},
                    SettingsCase{"AllThree",
                                 "Options",
                                 {{"DV", "True"}, {"CS", "True"}, {"BU", "True"}},
                                 true,
                                 true,
                                 true},
                    SettingsCase{"KeptBreaks",
                                 "Options",
                                 {{"LineBreaks", "Keep"}},
                                 false,
                                 false,
                                 false,
                                 korv::LineBreaks::Keep},
                    SettingsCase{"CrLfBreaks",
                                 "Options",
                                 {{"LineBreaks", "CRLF"}, {"CS", "True"}},
                                 true,
                                 false,
                                 false,
                                 korv::LineBreaks::CrLf},
                    SettingsCase{
                        "UnknownBreaks", "Options", {{"LineBreaks", "LF"}}, false, false, false}),
    [](const testing::TestParamInfo<SettingsCase>& info) { return std::string(info.param.name); });

TEST(FormShowFailure, AFailedWriteBackCutsTheShowShort) {
    korv::test::FakeMainWindow f;
    for (const char* key : {"CS", "BU", "DV"}) {
        f.settings.values[{"Options", key}] = "True";
    }
    f.settings.refuse_writes = true;
    EXPECT_THROW(f.window.FormShow(), std::runtime_error);
    // The box keeps its state; the keys after it are not read.
    EXPECT_TRUE(f.cs.checked);
    EXPECT_FALSE(f.bu.checked);
    EXPECT_FALSE(f.dv.checked);
    EXPECT_EQ(f.settings.reads, (std::vector<std::string>{"LineBreaks", "CS"}));
    // The empty list is not set up: no entry at all, both buttons as they
    // were.
    EXPECT_EQ(f.list.Count(), 0);
    EXPECT_TRUE(f.run_button.enabled);
    EXPECT_TRUE(f.delete_button.enabled);
}

TEST(FormShowAfterwards, EachBoxWritesItsOwnKeyToTheSettingsItOpened) {
    korv::test::FakeMainWindow f;
    f.window.FormShow();
    f.bu.checked = true;
    f.panel.CheckBoxBUClick();
    f.dv.checked = false;
    f.panel.CheckBoxDVClick();
    EXPECT_EQ(f.settings.written,
              (std::vector<std::string>{"Options/BU=True", "Options/DV=False"}));
}

}  // namespace
