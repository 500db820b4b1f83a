#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <thread>

#include "replace_context.h"

namespace korv {

// Work on a file's bytes is handed aside only from this size on: below it
// the hand-off to another thread costs more than the wait it saves.
inline constexpr std::uint64_t kAsideFromBytes = std::uint64_t{1} << 20;

// Runs `work` over the `bytes()` bytes of a file: through ctx.RunAside
// when they are many, so the interface can handle its events meanwhile,
// else here. `bytes` is asked only of a context that works aside; `work`
// must read nothing of the interface.
void DoFileWork(ReplaceContext& ctx, const std::function<std::uint64_t()>& bytes,
                const std::function<void()>& work);

// One piece of work on a thread of its own, joined on every path. What the
// work throws is kept and thrown again by Finish on the owner's thread.
class AsideThread {
public:
    // Starts `work`, which must outlive this; `on_done` is called on the
    // new thread once the work has ended, so a waiting owner can be woken.
    AsideThread(const std::function<void()>& work, std::function<void()> on_done);
    ~AsideThread();
    AsideThread(const AsideThread&) = delete;
    AsideThread& operator=(const AsideThread&) = delete;

    // Whether the work has ended, well or not.
    [[nodiscard]] bool Done() const { return done_.load(std::memory_order_acquire); }
    // Waits for the work and throws what it threw, if anything.
    void Finish();

private:
    std::atomic<bool> done_{false};
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace korv
