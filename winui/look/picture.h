#pragma once

#include <windows.h>

namespace korv::winui {

// A child window that shows `bitmap` stretched over its whole client
// area. The bitmap must outlive the window.
HWND AddStretchedPicture(HWND parent, int id, RECT bounds, HBITMAP bitmap);

}  // namespace korv::winui
