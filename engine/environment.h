#pragma once

#include <functional>
#include <optional>
#include <string>

namespace korv {

// The value of the environment variable `name`; nullopt when it is unset.
// Passed in where a choice depends on the environment, so a test can hand
// in an environment of its own.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// This process's own environment (posix/ or win32/environment.cpp).
[[nodiscard]] std::optional<std::string> ProcessEnvironment(const char* name);

}  // namespace korv
