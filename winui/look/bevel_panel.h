#pragma once

#include <windows.h>

namespace korv::winui {

// A child window in the button-face colour with a one-pixel edge: raised
// (a panel the other controls lie on) or lowered (a frame around a
// picture). The notifications of the controls on it go on to its parent,
// so the form handles them all; mouse moves over it go nowhere.
enum class Bevel { Raised, Lowered };

HWND AddBevelPanel(HWND parent, int id, RECT bounds, Bevel bevel);

}  // namespace korv::winui
