#include "look/picture.h"

#include "support/form_window.h"

namespace korv::winui {

namespace {

constexpr char kClassName[] = "KorvPicture";

void PaintStretched(HWND picture, HDC dc) {
    auto* bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(picture, GWLP_USERDATA));
    RECT client{};
    GetClientRect(picture, &client);
    BITMAP size{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof size, &size) == 0) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    // Whole pixels repeated, as the picture is drawn on the screen it was
    // made for, not blended.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, size.bmWidth, size.bmHeight,
               SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

LRESULT CALLBACK PictureProc(HWND picture, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
            SetWindowLongPtrA(picture, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(picture, &paint);
            PaintStretched(picture, dc);
            EndPaint(picture, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintStretched(picture, reinterpret_cast<HDC>(wparam));
            return 0;
        default:
            break;
    }
    return DefWindowProcA(picture, message, wparam, lparam);
}

}  // namespace

HWND AddStretchedPicture(HWND parent, int id, RECT bounds, HBITMAP bitmap) {
    EnsureWindowClass(kClassName, PictureProc);
    return AddChild(parent, kClassName, "", 0, id, bounds, nullptr, 0, bitmap);
}

}  // namespace korv::winui
