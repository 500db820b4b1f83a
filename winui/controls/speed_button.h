#pragma once

#include <windows.h>

#include "look/glyphs_main.h"

// A glyph button that never takes the keyboard focus: a click (or BM_CLICK)
// sends its parent WM_COMMAND with BN_CLICKED, as a push button does. The
// glyph is drawn centred, transparent where it is olive, and greyed while
// the button is disabled.
[[nodiscard]] HWND CreateSpeedButton(HWND parent, int id, int left, int top, int width, int height,
                                     const Glyph14& glyph);
