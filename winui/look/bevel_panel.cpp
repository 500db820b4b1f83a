#include "look/bevel_panel.h"

#include "support/form_window.h"

namespace korv::winui {

namespace {

constexpr char kClassName[] = "KorvBevelPanel";

void PaintEdge(HWND panel, HDC dc) {
    RECT client{};
    GetClientRect(panel, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const auto bevel = static_cast<Bevel>(GetWindowLongPtrA(panel, GWLP_USERDATA));
    DrawEdge(dc, &client, bevel == Bevel::Raised ? BDR_RAISEDOUTER : BDR_SUNKENOUTER, BF_RECT);
}

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
            SetWindowLongPtrA(panel, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return SendMessageA(GetParent(panel), message, wparam, lparam);
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills it all
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(panel, &paint);
            PaintEdge(panel, dc);
            EndPaint(panel, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintEdge(panel, reinterpret_cast<HDC>(wparam));
            return 0;
        default:
            break;
    }
    return DefWindowProcA(panel, message, wparam, lparam);
}

}  // namespace

HWND AddBevelPanel(HWND parent, int id, RECT bounds, Bevel bevel) {
    EnsureWindowClass(kClassName, PanelProc);
    // Tab and the arrow keys reach the controls on the panel too.
    return AddChild(parent, kClassName, "", WS_CLIPSIBLINGS | WS_CLIPCHILDREN, id, bounds, nullptr,
                    WS_EX_CONTROLPARENT, reinterpret_cast<void*>(static_cast<LONG_PTR>(bevel)));
}

}  // namespace korv::winui
