#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace korv {

// The date and time pictures of the time stamp, in the Windows style:
// d dd m mm yy yyyy for the date; h hh, n nn (or m mm after an hour),
// s ss for the time; AMPM for the designators below, AM/PM or am/pm for the
// designator in that spelling (any of them turns the hours to twelve); text
// in quotes and any other character stand for themselves. Letters are
// matched without regard to case.
struct TimeFormat {
    std::string short_date = "m/d/yy";
    std::string long_time = "h:mm:ss AMPM";
    std::string am = "AM";
    std::string pm = "PM";

    // The pictures of the system's regional settings (on POSIX the current
    // LC_TIME locale): the short date as they give it ("m/d/yy" when they
    // give none, or on POSIX one we cannot express), the long time as the
    // hour, ":mm:ss", and on a twelve-hour clock the AM or PM designator on
    // the side the settings put it.
    static TimeFormat FromLocale();

    // The pictures for settings already read: "h" or "hh" as `leading_zero`
    // asks, ":mm:ss", and on a twelve-hour clock the designator after the
    // time with a blank before it, or before it with a blank after it.
    static TimeFormat FromSettings(std::string_view short_date, bool leading_zero, bool twelve_hour,
                                   bool designator_first, std::string_view am, std::string_view pm);

    // What FromLocale makes of a locale's strftime formats (D_FMT, T_FMT,
    // T_FMT_AMPM) and designators (AM_STR, PM_STR); apart from it so any
    // locale's data can be tried whether installed or not.
    static TimeFormat FromFormats(std::string_view date_format, std::string_view time_format,
                                  std::string_view time_format_ampm, std::string_view am,
                                  std::string_view pm);
};

// Formats `when` with one picture.
[[nodiscard]] std::string FormatDateTime(const std::string& picture, const std::tm& when,
                                         const TimeFormat& format);

// "<short date> <long time>" of one reading, as every log line begins.
[[nodiscard]] std::string TimeStamp(const TimeFormat& format, std::time_t when);
[[nodiscard]] std::string TimeStampNow(const TimeFormat& format);

}  // namespace korv
