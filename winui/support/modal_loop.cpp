#include "support/modal_loop.h"

#include <vector>

namespace korv::winui {

namespace {

struct Disabling {
    HWND modal;
    std::vector<HWND> windows;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM param) {
    auto* disabling = reinterpret_cast<Disabling*>(param);
    if (window != disabling->modal && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        disabling->windows.push_back(window);
    }
    return TRUE;
}

}  // namespace

void RunModal(HWND window, const std::function<bool()>& closed) {
    HWND was_active = GetActiveWindow();
    Disabling disabling{window, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabling));

    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG message{};
    bool quit = false;
    while (!closed()) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            break;
        }
        if (!IsWindow(window) || !IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!IsWindow(window)) {
            break;
        }
    }

    for (HWND disabled : disabling.windows) {
        if (IsWindow(disabled)) {
            EnableWindow(disabled, TRUE);
        }
    }
    if (IsWindow(window)) {
        ShowWindow(window, SW_HIDE);
    }
    if (was_active != nullptr && IsWindow(was_active)) {
        SetActiveWindow(was_active);
    }
    if (quit) {
        PostQuitMessage(static_cast<int>(message.wParam));
    }
}

}  // namespace korv::winui
