#include "main/window_batch_ui.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>

#include "fake_window.h"

namespace korv {
namespace {

// Generous: only a window that never turns its loop waits this long.
constexpr std::chrono::seconds kPatience{60};

TEST(WindowBatchUiAside, TheLoopTurnsWhileTheWorkGoesOnElsewhere) {
    test::FakeMainWindow fake;
    behaviour::WindowBatchUi ui(fake.window);
    std::promise<void> turned;
    fake.shell.on_turn = [&turned, first = true]() mutable {
        if (first) {
            first = false;
            turned.set_value();
        }
    };
    const std::thread::id window_thread = std::this_thread::get_id();
    std::thread::id work_thread;
    bool saw_turn = false;
    ui.RunAside([&] {
        work_thread = std::this_thread::get_id();
        // Ends only once the window has had a turn meanwhile.
        saw_turn = turned.get_future().wait_for(kPatience) == std::future_status::ready;
    });
    EXPECT_TRUE(saw_turn);
    EXPECT_NE(work_thread, window_thread);
    EXPECT_GE(fake.shell.turns, 1);
}

TEST(WindowBatchUiAside, WhatTheWorkThrowsReachesTheRun) {
    test::FakeMainWindow fake;
    behaviour::WindowBatchUi ui(fake.window);
    EXPECT_THROW(ui.RunAside([] { throw std::length_error("too long"); }), std::length_error);
    // The window is left fit for the next piece of work.
    bool done = false;
    ui.RunAside([&done] { done = true; });
    EXPECT_TRUE(done);
}

TEST(WindowBatchUiAside, TheListShowsTheRunsEntryAndTheUsersClickWins) {
    test::FakeMainWindow fake;
    fake.list.items = {"a.txt", "b.txt", "c.txt", "d.txt"};
    fake.list.caret = 0;
    behaviour::WindowBatchUi ui(fake.window);
    // The first move has the window's turn; the next, so soon after, waits
    // for the window's next turn.
    ui.SetCurrentEntry(2);
    ui.SetCurrentEntry(3);
    int shown_during_work = -1;
    std::promise<void> turned;
    std::future<void> turn = turned.get_future();
    fake.shell.on_turn = [&fake, &shown_during_work, &turned] {
        if (shown_during_work < 0) {
            shown_during_work = fake.list.caret;
            fake.list.caret = 1;  // the user clicks the second entry
            turned.set_value();
        }
    };
    // The work ends only once the window has had its turn meanwhile.
    ui.RunAside([&turn] { turn.wait_for(kPatience); });
    EXPECT_EQ(shown_during_work, 3);
    EXPECT_EQ(ui.CurrentEntry(), 1);
}

TEST(WindowBatchUiTurns, TheListFollowsTheRunLessOftenAndAClickBetweenWins) {
    test::FakeMainWindow fake;
    fake.list.items = {"a.txt", "b.txt", "c.txt", "d.txt"};
    fake.list.caret = 0;
    behaviour::WindowBatchUi ui(fake.window);
    int shown_at_turn = -1;
    fake.shell.on_events = [&] { shown_at_turn = fake.list.caret; };

    ui.SetCurrentEntry(1);  // the run's first turn shows its entry
    EXPECT_EQ(shown_at_turn, 1);

    // A turn soon after leaves the list as it is, and the user clicks.
    fake.clock.now_ms = 30;
    fake.shell.on_events = [&] {
        shown_at_turn = fake.list.caret;
        fake.list.caret = 3;
    };
    ui.SetCurrentEntry(2);
    EXPECT_EQ(shown_at_turn, 1);
    // The click came after the run moved to the entry it had not shown yet.
    EXPECT_EQ(ui.CurrentEntry(), 3);

    // A turn without a click keeps the run's entry for the next showing.
    fake.clock.now_ms = 60;
    fake.shell.on_events = [&] { shown_at_turn = fake.list.caret; };
    ui.SetCurrentEntry(0);
    EXPECT_EQ(shown_at_turn, 3);
    fake.clock.now_ms = 130;
    ui.SetCurrentEntry(2);
    EXPECT_EQ(shown_at_turn, 2);
}

}  // namespace
}  // namespace korv
