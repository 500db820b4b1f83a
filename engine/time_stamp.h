#pragma once

#include <ctime>
#include <string>

namespace korv {

// The date and time pictures of the time stamp, in the Windows style:
// d dd m mm yy yyyy for the date; h hh, n nn (or m mm after an hour),
// s ss and AMPM (the designators below) for the time; text in quotes and
// any other character stand for themselves.
struct TimeFormat {
    std::string short_date = "m/d/yy";
    std::string long_time = "h:mm:ss AMPM";
    std::string am = "AM";
    std::string pm = "PM";

    // The pictures of the current LC_TIME locale: the short date from its
    // date format ("m/d/yy" when it gives none), the long time as the hour,
    // ":mm:ss", and on a twelve-hour clock the AM or PM designator on the
    // side the locale puts it.
    static TimeFormat FromLocale();
};

// Formats `when` with one picture.
[[nodiscard]] std::string FormatDateTime(const std::string& picture, const std::tm& when,
                                         const TimeFormat& format);

// "<short date> <long time>" of one reading, as every log line begins.
[[nodiscard]] std::string TimeStamp(const TimeFormat& format, std::time_t when);
[[nodiscard]] std::string TimeStampNow(const TimeFormat& format);

}  // namespace korv
