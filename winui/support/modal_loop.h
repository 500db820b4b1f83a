#pragma once

#include <windows.h>

#include <functional>

namespace korv::winui {

// Shows `window` and runs the thread's messages until `closed()` is true:
// every other enabled top-level window of this thread takes no input
// meanwhile, and Tab, Enter and the arrow keys work as in a dialog. The
// windows are enabled again before `window` is hidden, so the one that was
// active gets the focus back. A WM_QUIT that arrives ends the loop and is
// posted again for the loop outside.
void RunModal(HWND window, const std::function<bool()>& closed);

}  // namespace korv::winui
