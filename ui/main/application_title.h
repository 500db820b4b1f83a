#pragma once

// The application title: the taskbar label, the main window's caption and
// the caption of the message loop's error box and of plain messages.
inline constexpr const char* kApplicationTitle = "Korvane";
