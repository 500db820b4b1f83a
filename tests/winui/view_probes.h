#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "launchers.h"

namespace korv::test {

// Records what the windows hand to the desktop and the editor.
class RecordingOpener final : public behaviour::DesktopOpener {
public:
    void Open(const std::string& target) override { Opened.push_back(target); }
    std::vector<std::string> Opened;
};

class RecordingEditor final : public behaviour::EditorLauncher {
public:
    void OpenInEditor(const std::string& path) override { Edited.push_back(path); }
    std::vector<std::string> Edited;
};

// A child window's rectangle in its parent's client area.
inline RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The font a control draws with.
inline LOGFONTA FontOf(HWND control) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

// The text colour a parent gives a static control through
// WM_CTLCOLORSTATIC.
inline COLORREF StaticTextColour(HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageA(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

// The cursor the window shows over `control`.
inline HCURSOR CursorOver(HWND control) {
    SetCursor(nullptr);
    SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

// A click of the left mouse button in the middle of `control`.
inline void ClickInside(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(control, WM_LBUTTONUP, 0, middle);
}

}  // namespace korv::test
