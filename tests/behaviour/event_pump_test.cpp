#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "main/event_pump.h"

namespace {

TEST(EventPump, HandlesEventsAtMostOncePerInterval) {
    std::int64_t now = 0;
    std::vector<std::int64_t> pumped_at;
    korv::behaviour::EventPump pump([&now] { return now; }, [&] { pumped_at.push_back(now); }, 15);
    for (const std::int64_t t : {100, 101, 114, 115, 116, 129, 130, 500}) {
        now = t;
        pump.Pump();
    }
    EXPECT_EQ(pumped_at, (std::vector<std::int64_t>{100, 115, 130, 500}));
}

}  // namespace
