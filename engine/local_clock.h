#pragma once

#include <ctime>

namespace korv {

// The local calendar time of `when`. Throws EngineError when the system
// cannot tell it.
[[nodiscard]] std::tm LocalTime(std::time_t when);

}  // namespace korv
