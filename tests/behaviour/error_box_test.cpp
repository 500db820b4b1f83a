// The text of the message loop's error box.

#include <gtest/gtest.h>

#include <string>

#include "main/error_box.h"

namespace {

struct FullStopCase {
    const char* name;
    std::string message;
    std::string shown;
};

class ErrorBoxText : public testing::TestWithParam<FullStopCase> {};

TEST_P(ErrorBoxText, FullStopIsAddedAfterCharactersSortingAfterIt) {
    EXPECT_EQ(korv::behaviour::ErrorBoxText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrorBoxText,
    testing::Values(FullStopCase{"Letter", "Cannot open file", "Cannot open file."},
                    FullStopCase{"FullStop", "Done.", "Done."},
                    FullStopCase{"ClosingParenthesis", "List index out of bounds (0)",
                                 "List index out of bounds (0)"},
                    FullStopCase{"ExclamationMark", "Stop!", "Stop!"},
                    FullStopCase{"HyphenSortsBefore", "a-", "a-"},
                    FullStopCase{"SlashSortsAfter", "C:/", "C:/."},
                    FullStopCase{"Digit", "Error 5", "Error 5."},
                    FullStopCase{"QuotationMark", "file \"a\"", "file \"a\""},
                    FullStopCase{"ByteAbove127", "caf\xe9", "caf\xe9."},
                    FullStopCase{"Empty", "", ""}),
    [](const testing::TestParamInfo<FullStopCase>& info) { return std::string(info.param.name); });

}  // namespace
