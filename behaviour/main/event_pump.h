#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace korv::behaviour {

// Lets the window handle its waiting events during a long substitution, but
// at most once per interval: pumping after every one of a million
// replacements would cost more than the replacements themselves. (Any other
// work that need come no oftener can be paced the same way.)
class EventPump {
public:
    // `now_ms` reads a monotonic clock, `process` handles the waiting events.
    EventPump(std::function<std::int64_t()> now_ms, std::function<void()> process,
              std::int64_t interval_ms = 25);

    // Handles the waiting events when the last time lies an interval or more
    // back (or never happened); tells whether it did.
    bool Pump();

private:
    std::function<std::int64_t()> now_ms_;
    std::function<void()> process_;
    std::int64_t interval_ms_;
    std::optional<std::int64_t> last_ms_;
};

}  // namespace korv::behaviour
