#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "time_stamp.h"

namespace korv {
namespace {

// Sets LC_TIME for one test and puts the previous one back.
class TimeLocale {
public:
    explicit TimeLocale(const char* name) : saved_(std::setlocale(LC_TIME, nullptr)) {
        ok_ = std::setlocale(LC_TIME, name) != nullptr;
    }
    ~TimeLocale() { std::setlocale(LC_TIME, saved_.c_str()); }
    TimeLocale(const TimeLocale&) = delete;
    TimeLocale& operator=(const TimeLocale&) = delete;

    [[nodiscard]] bool Ok() const { return ok_; }

private:
    std::string saved_;
    bool ok_ = false;
};

// Sets TZ for one test and puts the previous value (or its absence) back.
class TimeZone {
public:
    explicit TimeZone(const char* value) {
        if (const char* old = std::getenv("TZ")) {
            saved_ = old;
        }
        setenv("TZ", value, 1);
        tzset();
    }
    ~TimeZone() {
        if (saved_) {
            setenv("TZ", saved_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    std::optional<std::string> saved_;
};

TEST(FromLocale, CLocaleUsesTwentyFourHours) {
    for (const char* name : {"C", "POSIX"}) {
        const TimeLocale locale(name);
        ASSERT_TRUE(locale.Ok()) << name;
        const TimeFormat format = TimeFormat::FromLocale();
        EXPECT_EQ(format.short_date, "mm/dd/yy") << name;
        EXPECT_EQ(format.long_time, "hh:mm:ss") << name;
        EXPECT_EQ(format.am, "AM") << name;
        EXPECT_EQ(format.pm, "PM") << name;
    }
}

TEST(FromLocale, FollowsTheCurrentLocale) {
    const TimeLocale locale("en_US.UTF-8");
    if (!locale.Ok()) {
        GTEST_SKIP() << "en_US.UTF-8 is not installed";
    }
    const TimeFormat format = TimeFormat::FromLocale();
    EXPECT_EQ(format.short_date, "mm/dd/yyyy");
    EXPECT_EQ(format.long_time, "hh:mm:ss AMPM");
}

TEST(TimeStamp, JoinsDateAndTimeOfOneLocalReading) {
    const std::time_t when = 1236441909;  // 2009-03-07 16:05:09 UTC
    const TimeFormat c_locale = TimeFormat::FromFormats("%m/%d/%y", "%H:%M:%S", "", "", "");
    {
        const TimeZone zone("UTC");
        EXPECT_EQ(TimeStamp(TimeFormat{}, when), "3/7/09 4:05:09 PM");
        EXPECT_EQ(TimeStamp(c_locale, when), "03/07/09 16:05:09");
    }
    {
        // Seventeen hours west of UTC: the day before, late in the evening.
        const TimeZone zone("KRV+17");
        EXPECT_EQ(TimeStamp(TimeFormat{}, when), "3/6/09 11:05:09 PM");
    }
}

}  // namespace
}  // namespace korv
