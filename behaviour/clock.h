#pragma once

#include <chrono>
#include <cstdint>

namespace korv::behaviour {

// A monotonic clock in milliseconds, for the pauses the windows measure.
class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual std::int64_t NowMs() = 0;
};

class SteadyClock final : public Clock {
public:
    [[nodiscard]] std::int64_t NowMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

}  // namespace korv::behaviour
