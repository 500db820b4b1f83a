#pragma once

#include <QtGlobal>
#include <functional>
#include <optional>

// Lets the window handle its waiting events during a long substitution, but
// at most once per interval: pumping after every one of a million
// replacements would cost more than the replacements themselves.
class EventPump {
public:
    // `now_ms` reads a monotonic clock, `process` handles the waiting events.
    EventPump(std::function<qint64()> now_ms, std::function<void()> process,
              qint64 interval_ms = 15);
    // The pump of the running program: the steady clock and the event loop.
    EventPump();

    // Handles the waiting events when the last time lies an interval or more
    // back (or never happened).
    void Pump();

private:
    std::function<qint64()> now_ms_;
    std::function<void()> process_;
    qint64 interval_ms_;
    std::optional<qint64> last_ms_;
};
