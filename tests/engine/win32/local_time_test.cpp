#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "time_stamp.h"

namespace korv {
namespace {

// Sets the runtime's TZ for one test and puts the previous value back.
class RuntimeTimeZone {
public:
    explicit RuntimeTimeZone(const char* value) {
        if (const char* old = std::getenv("TZ")) {
            saved_ = old;
        }
        _putenv_s("TZ", value);
        _tzset();
    }
    ~RuntimeTimeZone() {
        _putenv_s("TZ", saved_ ? saved_->c_str() : "");
        _tzset();
    }
    RuntimeTimeZone(const RuntimeTimeZone&) = delete;
    RuntimeTimeZone& operator=(const RuntimeTimeZone&) = delete;

private:
    std::optional<std::string> saved_;
};

TEST(TimeStampWin32, JoinsDateAndTimeOfOneLocalReading) {
    const std::time_t when = 1236441909;  // 2009-03-07 16:05:09 UTC
    {
        const RuntimeTimeZone zone("UTC0");
        EXPECT_EQ(TimeStamp(TimeFormat{}, when), "3/7/09 4:05:09 PM");
    }
    {
        // Seventeen hours west of UTC: the day before, late in the evening.
        const RuntimeTimeZone zone("KRV17");
        EXPECT_EQ(TimeStamp(TimeFormat{}, when), "3/6/09 11:05:09 PM");
    }
}

}  // namespace
}  // namespace korv
