#pragma once

#include <cstdint>
#include <functional>

#include "controls.h"

namespace korv::behaviour {

// What the main window offers as a whole, beyond its controls.
class MainWindowShell : public Beeper {
public:
    // The hourglass over every window of the program, or the default cursor.
    virtual void SetBusyCursor(bool busy) = 0;
    // Handles the window system's waiting events.
    virtual void ProcessEvents() = 0;
    // Handles the window system's events as they come, waiting for them,
    // until `done` says so; `done` is asked again after each turn and after
    // each WakeUp.
    virtual void ProcessEventsUntil(const std::function<bool()>& done) = 0;
    // Makes a ProcessEventsUntil in progress ask again. Safe from any thread.
    virtual void WakeUp() = 0;
    // Closes the main window once the current event is handled.
    virtual void CloseLater() = 0;
    // The width of the primary screen in pixels.
    [[nodiscard]] virtual int PrimaryScreenWidth() const = 0;
    // Shows the results dialog modally; returns when it is closed.
    virtual void ShowResults(std::int32_t files_searched, std::int64_t files_replaced) = 0;
};

}  // namespace korv::behaviour
