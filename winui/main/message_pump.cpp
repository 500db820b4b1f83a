#include "main/message_pump.h"

void DispatchOne(MSG& message) {
    HWND root = message.hwnd != nullptr ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && ::IsDialogMessageW(root, &message) != FALSE) {
        return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void ProcessWaitingMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchOne(message);
    }
}

int RunMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            break;
        }
        DispatchOne(message);
    }
    return static_cast<int>(message.wParam);
}
