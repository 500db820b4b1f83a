#include "support/label_text.h"

#include <algorithm>

#include "support/form_window.h"

namespace korv::winui {

int TextWidth(HWND control, const std::string& text) {
    HDC dc = GetDC(control);
    if (dc == nullptr) {
        return 0;
    }
    auto* font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent.cx;
}

HWND AddLabel(HWND parent, int id, const char* text, int left, int top, int min_width, int height,
              HFONT font, DWORD style) {
    HWND label = AddChild(parent, "STATIC", text, SS_LEFT | SS_NOPREFIX | style, id,
                          Bounds(left, top, std::max(min_width, 1), height), font);
    const int width = std::max(min_width, TextWidth(label, text));
    SetWindowPos(label, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return label;
}

}  // namespace korv::winui
