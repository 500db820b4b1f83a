#include "support/form_window.h"

#include "support/last_error.h"

namespace korv::winui {

FormWindow::~FormWindow() {
    DestroyNow();
}

void FormWindow::Create(const char* class_name, const char* caption, DWORD style, DWORD ex_style,
                        RECT outer, HWND owner) {
    EnsureWindowClass(class_name, Proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (CreateWindowExA(ex_style, class_name, caption, style, outer.left, outer.top,
                        outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                        instance, this) == nullptr) {
        ThrowLastError();
    }
}

void FormWindow::DestroyNow() {
    if (hwnd_ != nullptr) {
        HWND hwnd = hwnd_;
        // Messages sent while the window goes no longer reach this object,
        // which may be half destroyed by now.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

void FormWindow::FocusControl(HWND control) {
    focus_ = control;
    SetFocus(control);
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_ACTIVATE) {
        // The default would give the focus to the window itself, away from
        // the control that had it.
        if (LOWORD(wparam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hwnd_, focus)) {
                focus_ = focus;
            }
        } else if (HIWORD(wparam) == 0 && focus_ != nullptr && IsChild(hwnd_, focus_)) {
            SetFocus(focus_);
            return 0;
        }
    }
    return DefWindowProcA(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK FormWindow::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        form->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
    return form->OnMessage(message, wparam, lparam);
}

void EnsureWindowClass(const char* name, WNDPROC proc, HBRUSH background) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA window_class{};
    if (GetClassInfoA(instance, name, &window_class)) {
        return;
    }
    window_class.lpfnWndProc = proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    window_class.hbrBackground = background;
    window_class.lpszClassName = name;
    if (RegisterClassA(&window_class) == 0) {
        ThrowLastError();
    }
}

RECT CentredOuterRect(int width, int height, DWORD style, DWORD ex_style) {
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, style, FALSE, ex_style);
    const int outer_width = outer.right - outer.left;
    const int outer_height = outer.bottom - outer.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - outer_width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - outer_height) / 2;
    return {left, top, left + outer_width, top + outer_height};
}

HWND AddChild(HWND parent, const char* class_name, const char* text, DWORD style, int id,
              RECT bounds, HFONT font, DWORD ex_style, void* param) {
    HWND child = CreateWindowExA(
        ex_style, class_name, text, WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
        bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), param);
    if (child == nullptr) {
        ThrowLastError();
    }
    if (font != nullptr) {
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return child;
}

}  // namespace korv::winui
