#pragma once

#include <functional>

namespace korv::winui {

// What a window does with an error that escapes one of its handlers. It
// is called inside the catch block, so it can look at the error with
// `throw;`. Nothing may cross the system's window procedure frames.
using ErrorReport = std::function<void()>;

// The program's error box for the error being handled: its text with the
// full stop rule, caption "Korvane", stop icon, OK, over the active window.
void ReportCurrentError();

// Runs `handler`; whatever escapes it goes to `report` (or, when that is
// empty, to the error box), and the program goes on.
template <typename Handler>
void Guarded(const ErrorReport& report, Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        try {
            report ? report() : ReportCurrentError();
        } catch (...) {
            // The report itself failed: there is no one left to tell.
        }
    }
}

}  // namespace korv::winui
