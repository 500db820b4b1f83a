#pragma once

#include <windows.h>

#include "look/unique_gdi.h"

namespace korv::winui {

// The pictures of the dialogs, drawn in code.

// 23 x 17, 8 bits per pixel, three colours: a blue arrow (red 0, green 51,
// blue 204) pointing right, with a black outline, on white.
[[nodiscard]] UniqueBitmap ResultsArrowBitmap();

// The 18 x 18 check mark of an OK button with its top-left corner at `x`,
// `y`: green, or for a disabled button its greyed twin (grey, embossed
// with a white copy one pixel down and right). Its background stays as
// it was.
void DrawCheckGlyph(HDC dc, int x, int y, bool enabled);
inline constexpr int kCheckGlyphSize = 18;

}  // namespace korv::winui
