#pragma once

#include <windows.h>

#include <string>

// A window's text as the bytes of the ANSI code page, whatever its length.
[[nodiscard]] std::string WindowTextA(HWND window);
