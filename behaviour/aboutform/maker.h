#pragma once

// Who makes this program and where to reach them, as the about box shows.
namespace korv::maker {

inline constexpr const char* kName = "Korvane Project";
inline constexpr const char* kProgram = "Korvane 1.00";
inline constexpr const char* kWebHost = "korvane.example.org";
inline constexpr const char* kWebAddress = "https://korvane.example.org/";
inline constexpr const char* kEmail = "korvane@example.org";

}  // namespace korv::maker
