#include "regional_settings.h"

#include <gtest/gtest.h>

#include <ctime>
#include <utility>

namespace korv {
namespace {

struct LocaleCase {
    LCID locale;
    const char* short_date;
    const char* long_time;
};

class RegionalSettingsTest : public testing::TestWithParam<LocaleCase> {};

TEST_P(RegionalSettingsTest, GiveTheShortDateAndTheBuiltLongTime) {
    const TimeFormat format = win32::TimeFormatOf(GetParam().locale);
    EXPECT_EQ(format.short_date, GetParam().short_date);
    EXPECT_EQ(format.long_time, GetParam().long_time);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, RegionalSettingsTest,
    testing::Values(
        // Twelve hours, the designator after the time.
        LocaleCase{MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT), "M/d/yyyy",
                   "h:mm:ss AMPM"},
        // Twelve hours, the designator before the time.
        LocaleCase{MAKELCID(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), SORT_DEFAULT), "yyyy. M. d.",
                   "AMPM h:mm:ss"},
        // Twenty-four hours, with and without the leading zero.
        LocaleCase{MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT), "d.M.yyyy",
                   "hh:mm:ss"},
        LocaleCase{MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT),
                   "yyyy/M/d", "h:mm:ss"}));

TEST(RegionalSettingsTest, StampsInTheLocalesOwnPictures) {
    std::tm when{};
    when.tm_year = 2009 - 1900;
    when.tm_mon = 2;
    when.tm_mday = 7;
    when.tm_hour = 16;
    when.tm_min = 5;
    when.tm_sec = 9;
    const TimeFormat us =
        win32::TimeFormatOf(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
    EXPECT_EQ(
        FormatDateTime(us.short_date, when, us) + " " + FormatDateTime(us.long_time, when, us),
        "3/7/2009 4:05:09 PM");
    const TimeFormat korean =
        win32::TimeFormatOf(MAKELCID(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), SORT_DEFAULT));
    EXPECT_EQ(FormatDateTime(korean.long_time, when, korean), korean.pm + " 4:05:09");
}

TEST(ShortDatePicture, KeepsNumbersAndFallsBackForNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"M/d/yyyy", "M/d/yyyy"},
        {"dd.MM.yy", "dd.MM.yy"},
        {"yyyy'\x94\x4E'M'\x8C\x8E'd'\x93\xFA'", "yyyy'\x94\x4E'M'\x8C\x8E'd'\x93\xFA'"},
        {"'Day' d", "'Day' d"},
        // Names of months, days and eras have no picture in the time stamp.
        {"dd-MMM-yy", "m/d/yy"},
        {"dddd, MMMM d, yyyy", "m/d/yy"},
        {"gg yyyy/M/d", "m/d/yy"},
        {"", "m/d/yy"},
    };
    for (const auto& [windows, picture] : cases) {
        EXPECT_EQ(win32::ShortDatePicture(windows), picture) << windows;
    }
}

}  // namespace
}  // namespace korv
