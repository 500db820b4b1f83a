#include "controls/win32_controls.h"

#include "look/fonts.h"
#include "support/window_text.h"

void Win32Enabled::SetEnabled(bool enabled) {
    ::EnableWindow(control_, enabled ? TRUE : FALSE);
}

std::string Win32Caption::Caption() const {
    return WindowTextA(control_);
}

void Win32Caption::SetCaption(const std::string& caption) {
    ::SetWindowTextA(control_, caption.c_str());
}

bool Win32CheckBox::Checked() const {
    return ::SendMessageA(box_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32CheckBox::SetChecked(bool checked) {
    ::SendMessageA(box_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string Win32Memo::Text() const {
    return WindowTextA(edit_);
}

void Win32Label::SetCaption(const std::string& caption) {
    ::SetWindowTextA(label_, caption.c_str());
    HDC dc = ::GetDC(label_);
    if (dc == nullptr) {
        return;
    }
    auto* font = reinterpret_cast<HFONT>(::SendMessageA(label_, WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font != nullptr ? font : ::GetStockObject(SYSTEM_FONT));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, caption.data(), static_cast<int>(caption.size()), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(label_, dc);
    RECT rect{};
    ::GetClientRect(label_, &rect);
    ::SetWindowPos(label_, nullptr, 0, 0, extent.cx, rect.bottom - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32Label::Width() const {
    RECT rect{};
    ::GetWindowRect(label_, &rect);
    return rect.right - rect.left;
}

void Win32Label::SetLeft(int left) {
    RECT rect{};
    ::GetWindowRect(label_, &rect);
    POINT top_left{rect.left, rect.top};
    ::ScreenToClient(::GetParent(label_), &top_left);
    ::SetWindowPos(label_, nullptr, left, top_left.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Win32StyledLabel::Win32StyledLabel(HWND label, std::uint32_t colour)
    : label_(label),
      base_font_(reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0))),
      colour_(colour) {}

void Win32StyledLabel::SetFontColour(std::uint32_t colour) {
    if (colour_ == colour) {
        return;
    }
    colour_ = colour;
    ::InvalidateRect(label_, nullptr, TRUE);
}

void Win32StyledLabel::SetFontStyle(unsigned styles) {
    // The label starts in its plain base font.
    if (styles_ == styles) {
        return;
    }
    styles_ = styles;
    UniqueFont font = StyledFont(base_font_, styles);
    ::SendMessageA(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    // The label now draws with the new font; the old one can go.
    styled_font_ = std::move(font);
}

RECT Win32Frame::Outer() const {
    RECT rect{};
    ::GetWindowRect(window_, &rect);
    return rect;
}

int Win32Frame::Left() const {
    return Outer().left;
}

int Win32Frame::Top() const {
    return Outer().top;
}

int Win32Frame::Width() const {
    const RECT rect = Outer();
    return rect.right - rect.left;
}

bool Win32Frame::Visible() const {
    return ::IsWindowVisible(window_) != FALSE;
}

void Win32Frame::MoveTo(int left, int top) {
    ::SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Frame::ShowInFront() {
    ::ShowWindow(window_, SW_SHOW);
    ::SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Win32Frame::Hide() {
    ::ShowWindow(window_, SW_HIDE);
}

void Win32Beeper::Beep() {
    ::MessageBeep(0);
}
