#pragma once

#include <windows.h>

#include <string>

namespace korv::winui {

// The width `text` takes in `control`'s own font.
[[nodiscard]] int TextWidth(HWND control, const std::string& text);

// A label: a static control showing its text as it stands (an ampersand
// marks no key) at `left`, `top`, `height` pixels high and as wide as
// its text or `min_width`, whichever is more, so a face wider than the
// classic one is not cut off. `style` adds to the static styles.
HWND AddLabel(HWND parent, int id, const char* text, int left, int top, int min_width, int height,
              HFONT font, DWORD style = 0);

}  // namespace korv::winui
