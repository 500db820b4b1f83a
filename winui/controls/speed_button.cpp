#include "controls/speed_button.h"

#include "support/last_error.h"

namespace {

constexpr const wchar_t* kClassName = L"KorvSpeedButton";

struct ButtonState {
    const Glyph14* glyph;
    bool tracking = false;
    bool pressed = false;
};

ButtonState* StateOf(HWND button) {
    return reinterpret_cast<ButtonState*>(::GetWindowLongPtrW(button, GWLP_USERDATA));
}

void NotifyClick(HWND button) {
    if (::IsWindowEnabled(button) == FALSE) {
        return;
    }
    const auto id = static_cast<WORD>(::GetDlgCtrlID(button));
    ::SendMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
}

bool Inside(HWND button, LPARAM position) {
    RECT client{};
    ::GetClientRect(button, &client);
    const POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    return ::PtInRect(&client, point) != FALSE;
}

void SetPressed(HWND button, ButtonState& state, bool pressed) {
    if (state.pressed != pressed) {
        state.pressed = pressed;
        ::InvalidateRect(button, nullptr, TRUE);
    }
}

void Paint(HWND button, const ButtonState& state) {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(button, &paint);
    RECT client{};
    ::GetClientRect(button, &client);
    ::DrawFrameControl(dc, &client, DFC_BUTTON,
                       DFCS_BUTTONPUSH | (state.pressed ? DFCS_PUSHED : 0));
    const int shift = state.pressed ? 1 : 0;
    const int left = (client.right - client.left - 14 + 1) / 2 + shift;
    const int top = (client.bottom - client.top - 14) / 2 + shift;
    DrawGlyph(dc, left, top, *state.glyph, ::IsWindowEnabled(button) != FALSE);
    ::EndPaint(button, &paint);
}

LRESULT CALLBACK SpeedButtonProc(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        auto* state = new ButtonState{static_cast<const Glyph14*>(create->lpCreateParams)};
        ::SetWindowLongPtrW(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    }
    ButtonState* state = StateOf(button);
    if (state == nullptr) {
        return ::DefWindowProcW(button, message, wparam, lparam);
    }
    switch (message) {
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(button, GWLP_USERDATA, 0);
            delete state;
            return 0;
        case WM_PAINT:
            Paint(button, *state);
            return 0;
        case WM_ENABLE:
            ::InvalidateRect(button, nullptr, TRUE);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ::SetCapture(button);
            state->tracking = true;
            SetPressed(button, *state, true);
            return 0;
        case WM_MOUSEMOVE:
            if (state->tracking) {
                SetPressed(button, *state, Inside(button, lparam));
            }
            return 0;
        case WM_LBUTTONUP:
            if (state->tracking) {
                const bool click = Inside(button, lparam);
                ::ReleaseCapture();
                if (click) {
                    NotifyClick(button);
                }
            }
            return 0;
        case WM_CAPTURECHANGED:
            state->tracking = false;
            SetPressed(button, *state, false);
            return 0;
        case BM_CLICK:
            NotifyClick(button);
            return 0;
        default:
            return ::DefWindowProcW(button, message, wparam, lparam);
    }
}

void RegisterOnce() {
    static const bool registered = [] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.style = CS_DBLCLKS;
        type.lpfnWndProc = SpeedButtonProc;
        type.hInstance = ::GetModuleHandleW(nullptr);
        type.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        type.lpszClassName = kClassName;
        if (::RegisterClassExW(&type) == 0) {
            ThrowLastError();
        }
        return true;
    }();
    (void)registered;
}

}  // namespace

HWND CreateSpeedButton(HWND parent, int id, int left, int top, int width, int height,
                       const Glyph14& glyph) {
    RegisterOnce();
    HWND button =
        ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, left, top, width, height,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          ::GetModuleHandleW(nullptr), const_cast<Glyph14*>(&glyph));
    if (button == nullptr) {
        ThrowLastError();
    }
    return button;
}
