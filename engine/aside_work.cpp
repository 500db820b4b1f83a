#include "aside_work.h"

#include <utility>

namespace korv {

void DoFileWork(ReplaceContext& ctx, const std::function<std::uint64_t()>& bytes,
                const std::function<void()>& work) {
    if (ctx.WorksAside() && bytes() >= kAsideFromBytes) {
        ctx.RunAside(work);
    } else {
        work();
    }
}

AsideThread::AsideThread(const std::function<void()>& work, std::function<void()> on_done)
    : thread_([this, &work, on_done = std::move(on_done)] {
          try {
              work();
          } catch (...) {
              failure_ = std::current_exception();
          }
          done_.store(true, std::memory_order_release);
          on_done();
      }) {}

AsideThread::~AsideThread() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void AsideThread::Finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
    if (failure_) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
}

}  // namespace korv
