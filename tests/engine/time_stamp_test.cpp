#include "time_stamp.h"

#include <gtest/gtest.h>

#include <ctime>
#include <limits>
#include <string>

#include "engine_error.h"

namespace korv {
namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    return when;
}

struct PictureCase {
    const char* picture;
    const char* expected;
};

class FormatDateTimeTest : public testing::TestWithParam<PictureCase> {};

// Saturday 2009-03-07 16:05:09.
TEST_P(FormatDateTimeTest, FormatsTheAfternoonReading) {
    TimeFormat format;
    format.am = "vorm.";
    format.pm = "nachm.";
    EXPECT_EQ(FormatDateTime(GetParam().picture, At(2009, 3, 7, 16, 5, 9), format),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, FormatDateTimeTest,
    testing::Values(
        // Fields without and with leading zeros.
        PictureCase{"m/d/yy", "3/7/09"}, PictureCase{"mm/dd/yyyy", "03/07/2009"},
        PictureCase{"dd.mm.yyyy", "07.03.2009"}, PictureCase{"yyyy-mm-dd", "2009-03-07"},
        PictureCase{"h:n:s", "16:5:9"}, PictureCase{"hh:nn:ss", "16:05:09"},
        // One y is the short year, three the full one.
        PictureCase{"y", "09"}, PictureCase{"yyy", "2009"},
        // Letters in any case.
        PictureCase{"M/D/YY", "3/7/09"}, PictureCase{"HH:NN:SS", "16:05:09"},
        // m after an hour, across separators, is the minute; after any
        // other letter it is the month.
        PictureCase{"h:mm:ss", "16:05:09"}, PictureCase{"hh mm", "16 05"},
        PictureCase{"H:M", "16:5"}, PictureCase{"h'h'mm", "16h05"}, PictureCase{"h d m", "16 7 3"},
        PictureCase{"mm:ss", "03:09"},
        // Designators: AMPM takes the format's texts, AM/PM and am/pm are
        // spelled as written; any of them turns the hour to twelve.
        PictureCase{"h:mm:ss AMPM", "4:05:09 nachm."}, PictureCase{"hh:mm ampm", "04:05 nachm."},
        PictureCase{"AMPM h:mm", "nachm. 4:05"}, PictureCase{"h AM/PM", "4 PM"},
        PictureCase{"h am/pm", "4 pm"}, PictureCase{"h Am/Pm", "4 Pm"},
        // Quoted text and other characters stand for themselves.
        PictureCase{"'d m y' d", "d m y 7"}, PictureCase{"\"hh\" hh", "hh 16"},
        PictureCase{"\"it's\" d", "it's 7"}, PictureCase{"h 'AMPM'", "16 AMPM"},
        PictureCase{"d 'rest", "7 rest"}, PictureCase{"[d] at x", "[7] at x"},
        PictureCase{"", ""}));

struct HourCase {
    int hour;
    const char* picture;
    const char* expected;
};

class TwelveHourTest : public testing::TestWithParam<HourCase> {};

TEST_P(TwelveHourTest, MapsTheHour) {
    EXPECT_EQ(FormatDateTime(GetParam().picture, At(2009, 3, 7, GetParam().hour, 0, 0), {}),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Hours, TwelveHourTest,
    testing::Values(HourCase{0, "h:mm AMPM", "12:00 AM"}, HourCase{0, "hh AM/PM", "12 AM"},
                    HourCase{1, "h AMPM", "1 AM"}, HourCase{9, "hh AMPM", "09 AM"},
                    HourCase{11, "h AMPM", "11 AM"}, HourCase{12, "h:mm AMPM", "12:00 PM"},
                    HourCase{13, "hh am/pm", "01 pm"}, HourCase{23, "h AMPM", "11 PM"},
                    HourCase{0, "h", "0"}, HourCase{0, "hh", "00"}, HourCase{12, "h", "12"},
                    HourCase{23, "hh", "23"}));

struct LocaleCase {
    const char* date_format;
    const char* time_format;
    const char* time_format_ampm;
    const char* am;
    const char* pm;
    const char* short_date;
    const char* long_time;
};

class FromFormatsTest : public testing::TestWithParam<LocaleCase> {};

TEST_P(FromFormatsTest, DerivesThePictures) {
    const LocaleCase& c = GetParam();
    const TimeFormat format =
        TimeFormat::FromFormats(c.date_format, c.time_format, c.time_format_ampm, c.am, c.pm);
    EXPECT_EQ(format.short_date, c.short_date);
    EXPECT_EQ(format.long_time, c.long_time);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, FromFormatsTest,
    testing::Values(
        // The "C" locale: twenty-four hours.
        LocaleCase{"%m/%d/%y", "%H:%M:%S", "%I:%M:%S %p", "AM", "PM", "mm/dd/yy", "hh:mm:ss"},
        // %r is the twelve-hour format, read for the hour and the designator.
        LocaleCase{"%m/%d/%Y", "%r", "%I:%M:%S %p", "AM", "PM", "mm/dd/yyyy", "hh:mm:ss AMPM"},
        LocaleCase{"%D", "%r", "%p %l:%M:%S", "AM", "PM", "mm/dd/yy", "AMPM h:mm:ss"},
        LocaleCase{"%F", "%r", "", "AM", "PM", "yyyy-mm-dd", "hh:mm:ss AMPM"},
        // Twelve hours by %I, %l or %p alone; the designator first.
        LocaleCase{"%e.%m.%y", "%l:%M:%S %p", "", "a.m.", "p.m.", "d.mm.yy", "h:mm:ss AMPM"},
        LocaleCase{"%d/%m/%Y", "%I.%M", "", "", "", "dd/mm/yyyy", "hh:mm:ss AMPM"},
        LocaleCase{"%Y-%m-%d", "%p %I:%M:%S", "", "AM", "PM", "yyyy-mm-dd", "AMPM hh:mm:ss"},
        LocaleCase{"%Y-%m-%d", "%H:%M %p", "", "AM", "PM", "yyyy-mm-dd", "hh:mm:ss AMPM"},
        // Twenty-four hours with and without the leading zero.
        LocaleCase{"%d.%m.%Y", "%T", "", "", "", "dd.mm.yyyy", "hh:mm:ss"},
        LocaleCase{"%d.%m.%Y", "%k.%M", "", "", "", "dd.mm.yyyy", "h:mm:ss"},
        LocaleCase{"%d.%m.%Y", "%OH:%OM", "", "", "", "dd.mm.yyyy", "hh:mm:ss"},
        LocaleCase{"%d.%m.%Y", "", "", "", "", "dd.mm.yyyy", "h:mm:ss"},
        // Non-ASCII text is kept; %% is a percent sign.
        LocaleCase{"%Y\xEB\x85\x84 %m\xEC\x9B\x94", "%H", "", "", "",
                   "yyyy\xEB\x85\x84 mm\xEC\x9B\x94", "hh:mm:ss"},
        LocaleCase{"%d%%%m", "%H", "", "", "", "dd%mm", "hh:mm:ss"},
        // A date format we cannot express, or none, gives the default.
        LocaleCase{"", "%H", "", "", "", "m/d/yy", "hh:mm:ss"},
        LocaleCase{"%d %b %Y", "%H", "", "", "", "m/d/yy", "hh:mm:ss"},
        LocaleCase{"%a %d.%m.%Y", "%H", "", "", "", "m/d/yy", "hh:mm:ss"},
        LocaleCase{"%Ey", "%H", "", "", "", "m/d/yy", "hh:mm:ss"},
        LocaleCase{"%d.%m.%", "%H", "", "", "", "m/d/yy", "hh:mm:ss"}));

TEST(FromFormats, TakesTheDesignatorsOrFallsBackToAmPm) {
    const TimeFormat own = TimeFormat::FromFormats("%D", "%r", "", "vm", "nm");
    EXPECT_EQ(own.am, "vm");
    EXPECT_EQ(own.pm, "nm");
    const TimeFormat none = TimeFormat::FromFormats("%D", "%r", "", "", "");
    EXPECT_EQ(none.am, "AM");
    EXPECT_EQ(none.pm, "PM");
}

// Letters and quotes the locale writes as text must come out as text.
TEST(FromFormats, QuotesLiteralLettersOfTheDateFormat) {
    const TimeFormat format = TimeFormat::FromFormats("%d de %m 'y' \"%Y\" h", "%H", "", "", "");
    EXPECT_EQ(FormatDateTime(format.short_date, At(2009, 3, 7, 16, 5, 9), format),
              "07 de 03 'y' \"2009\" h");
}

TEST(FromSettings, BuildsTheLongTimeFromTheHourAndTheDesignatorsPlace) {
    struct Case {
        bool leading_zero;
        bool twelve_hour;
        bool designator_first;
        const char* long_time;
    };
    const Case cases[] = {
        {false, false, false, "h:mm:ss"},     {true, false, false, "hh:mm:ss"},
        {true, false, true, "hh:mm:ss"},      {false, true, false, "h:mm:ss AMPM"},
        {true, true, false, "hh:mm:ss AMPM"}, {false, true, true, "AMPM h:mm:ss"},
        {true, true, true, "AMPM hh:mm:ss"},
    };
    for (const Case& c : cases) {
        const TimeFormat format = TimeFormat::FromSettings(
            "dd.MM.yyyy", c.leading_zero, c.twelve_hour, c.designator_first, "vorm.", "nachm.");
        EXPECT_EQ(format.long_time, c.long_time);
        EXPECT_EQ(format.short_date, "dd.MM.yyyy");
        EXPECT_EQ(format.am, "vorm.");
        EXPECT_EQ(format.pm, "nachm.");
    }
    EXPECT_EQ(TimeFormat::FromSettings("", false, false, false, "", "").short_date, "m/d/yy");
}

TEST(TimeStamp, ReportsATimeTheClockCannotShow) {
    EXPECT_THROW((void)TimeStamp(TimeFormat{}, std::numeric_limits<std::time_t>::max()),
                 EngineError);
}

TEST(TimeStampNow, ReadsTheClock) {
    const TimeFormat format = TimeFormat::FromFormats("%F", "%T", "", "", "");
    const std::time_t before = std::time(nullptr);
    const std::string now = TimeStampNow(format);
    const std::time_t after = std::time(nullptr);
    EXPECT_TRUE(now == TimeStamp(format, before) || now == TimeStamp(format, after)) << now;
}

}  // namespace
}  // namespace korv
