#include "support/window_text.h"

std::string WindowTextA(HWND window) {
    // The length may count more bytes than the text has (it is an upper
    // bound for double-byte code pages); the copy tells the true length.
    const int length = ::GetWindowTextLengthA(window);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}
