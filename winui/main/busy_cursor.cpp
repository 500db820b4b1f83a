#include "main/busy_cursor.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 0x4B42;  // one subclass of this kind per window

HCURSOR Hourglass() {
    return ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
}

}  // namespace

BOOL CALLBACK BusyCursor::Collect(HWND window, LPARAM self) {
    reinterpret_cast<BusyCursor*>(self)->windows_.push_back(window);
    return TRUE;
}

LRESULT CALLBACK BusyCursor::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                  DWORD_PTR) {
    if (message == WM_SETCURSOR && LOWORD(lparam) == HTCLIENT) {
        ::SetCursor(Hourglass());
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, Proc, kSubclassId);
    }
    return ::DefSubclassProc(window, message, wparam, lparam);
}

void BusyCursor::Set(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        windows_.clear();
        ::EnumThreadWindows(::GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
        for (HWND window : windows_) {
            ::SetWindowSubclass(window, Proc, kSubclassId, 0);
        }
        ::SetCursor(Hourglass());
        return;
    }
    for (HWND window : windows_) {
        if (::IsWindow(window) != FALSE) {
            ::RemoveWindowSubclass(window, Proc, kSubclassId);
        }
    }
    windows_.clear();
    // The cursor under the mouse is asked for again at once, not on the
    // next move.
    POINT at{};
    if (::GetCursorPos(&at) != FALSE) {
        ::SetCursorPos(at.x, at.y);
    }
}
