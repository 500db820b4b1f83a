#pragma once

#include <windows.h>

namespace korv::winui {

// A top-level window of the program whose messages go to the object that
// made it. The window is destroyed with the object; a derived class calls
// DestroyNow() in its own destructor, while its members still exist.
class FormWindow {
public:
    FormWindow() = default;
    virtual ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    [[nodiscard]] HWND Handle() const { return hwnd_; }

protected:
    // Registers `class_name` (once; button-face background, arrow cursor)
    // and creates the window with the given outer rectangle. Throws the
    // system's message on failure.
    void Create(const char* class_name, const char* caption, DWORD style, DWORD ex_style,
                RECT outer, HWND owner);
    void DestroyNow();
    // Gives `control` the focus now and whenever the window is activated
    // again, until the user moves it, as a dialog does.
    void FocusControl(HWND control);

    // The default: the focus kept across activations, then DefWindowProc.
    virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    HWND hwnd_ = nullptr;
    HWND focus_ = nullptr;
};

// The outer rectangle of a window of `style` whose client area is
// `width` x `height`, centred on the primary screen.
[[nodiscard]] RECT CentredOuterRect(int width, int height, DWORD style, DWORD ex_style);

// Registers the window class `name` of this program once, with the arrow
// cursor and `background` (none: the window paints all of it). Throws the
// system's message on failure.
void EnsureWindowClass(const char* name, WNDPROC proc, HBRUSH background = nullptr);

// Creates a child window with `font`; throws the system's message on
// failure.
HWND AddChild(HWND parent, const char* class_name, const char* text, DWORD style, int id,
              RECT bounds, HFONT font, DWORD ex_style = 0, void* param = nullptr);

// `left`, `top`, `width`, `height` as a rectangle.
[[nodiscard]] constexpr RECT Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

}  // namespace korv::winui
