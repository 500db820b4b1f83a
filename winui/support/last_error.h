#pragma once

#include <windows.h>

#include <stdexcept>

#include "engine_error.h"

// Throws the system's text for the calling thread's last error, as the error
// box shows it.
[[noreturn]] inline void ThrowLastError() {
    throw std::runtime_error(korv::SystemErrorText(static_cast<int>(::GetLastError())));
}
