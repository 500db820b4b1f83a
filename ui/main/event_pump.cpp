#include "main/event_pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>
#include <utility>

EventPump::EventPump(std::function<qint64()> now_ms, std::function<void()> process,
                     qint64 interval_ms)
    : now_ms_(std::move(now_ms)), process_(std::move(process)), interval_ms_(interval_ms) {}

EventPump::EventPump()
    : EventPump(
          [clock = std::make_shared<QElapsedTimer>()] {
              if (!clock->isValid()) {
                  clock->start();
              }
              return clock->elapsed();
          },
          [] { QCoreApplication::processEvents(); }) {}

void EventPump::Pump() {
    const qint64 now = now_ms_();
    if (last_ms_ && now - *last_ms_ < interval_ms_) {
        return;
    }
    last_ms_ = now;
    process_();
}
