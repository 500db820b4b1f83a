#pragma once

#include <string>

#include "prompter.h"

namespace korv::behaviour {

// The text of the message loop's error box: the error's message with a full
// stop added when its last byte sorts after ".".
[[nodiscard]] std::string ErrorBoxText(std::string message);

// Shows the error box for `message`: caption "Korvane", stop icon, OK.
void ShowErrorBox(Prompter& prompter, const std::string& message);

// Shows the error box for the exception being handled.
void ShowErrorBoxForCurrentException(Prompter& prompter);

// Runs a handler; whatever escapes it is shown in the error box, and the
// program goes on.
template <typename Handler>
void RunReportingErrors(Prompter& prompter, Handler&& handler) {
    try {
        handler();
    } catch (...) {
        ShowErrorBoxForCurrentException(prompter);
    }
}

}  // namespace korv::behaviour
