#pragma once

#include "korv_version.h"

// Who makes this program and where to reach them, as the about box shows.
namespace korv::maker {

inline constexpr const char* kName = "Korvane Project";
inline constexpr const char* kProgram = "Korvane " KORV_VERSION_TEXT;
inline constexpr const char* kWebHost = "korvane.example.org";
inline constexpr const char* kWebAddress = "https://korvane.example.org/";
inline constexpr const char* kEmail = "korvane@example.org";

}  // namespace korv::maker
