#pragma once

#include <windows.h>

#include <array>

// A 14 x 14 glyph of three colours: '.' the olive background (drawn
// transparent), 'k' black, 'b' pure blue.
using Glyph14 = std::array<const char*, 14>;

// A blue plus sign one pixel thick with a black outline over columns and
// rows 2 to 10.
[[nodiscard]] const Glyph14& PlusGlyph();
// The plus sign's horizontal arm alone (rows 5 to 7).
[[nodiscard]] const Glyph14& MinusGlyph();

// The colour of a glyph pixel, 0x00BBGGRR; the olive background is the
// lower-left pixel's colour.
[[nodiscard]] COLORREF GlyphColour(char pixel);
inline constexpr COLORREF kGlyphOlive = RGB(128, 128, 0);

// Draws `glyph` with its top-left corner at `left`, `top`, leaving the
// olive pixels as they are. A disabled glyph is drawn the classic way: its
// shape in the highlight colour one pixel down and right, then in the
// shadow colour.
void DrawGlyph(HDC dc, int left, int top, const Glyph14& glyph, bool enabled);
