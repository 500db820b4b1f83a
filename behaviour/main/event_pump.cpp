#include "main/event_pump.h"

#include <utility>

namespace korv::behaviour {

EventPump::EventPump(std::function<std::int64_t()> now_ms, std::function<void()> process,
                     std::int64_t interval_ms)
    : now_ms_(std::move(now_ms)), process_(std::move(process)), interval_ms_(interval_ms) {}

bool EventPump::Pump() {
    const std::int64_t now = now_ms_();
    if (last_ms_ && now - *last_ms_ < interval_ms_) {
        return false;
    }
    last_ms_ = now;
    process_();
    return true;
}

}  // namespace korv::behaviour
