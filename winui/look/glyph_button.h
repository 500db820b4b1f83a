#pragma once

#include <windows.h>

namespace korv::winui {

// Draws an owner-drawn push button in the classic look with the 18 x 18
// check mark left of its caption, the two centred together 4 pixels
// apart: the dark frame of the default button, the sunken face while
// pressed, the greyed glyph and text while disabled, the focus rectangle.
void DrawCheckGlyphButton(const DRAWITEMSTRUCT& item, bool is_default);

}  // namespace korv::winui
