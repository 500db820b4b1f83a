#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "controls.h"
#include "look/unique_gdi.h"

// The behaviour's control interfaces over the system's child windows. Texts
// are the bytes of the ANSI code page, passed through the A calls.

class Win32Enabled final : public korv::behaviour::Switchable {
public:
    explicit Win32Enabled(HWND control) : control_(control) {}
    void SetEnabled(bool enabled) override;

private:
    HWND control_;
};

class Win32Caption final : public korv::behaviour::Captioned {
public:
    explicit Win32Caption(HWND control) : control_(control) {}
    [[nodiscard]] std::string Caption() const override;
    void SetCaption(const std::string& caption) override;

private:
    HWND control_;
};

// BM_SETCHECK sends no notification, so setting the state runs no click
// handler.
class Win32CheckBox final : public korv::behaviour::CheckBox {
public:
    explicit Win32CheckBox(HWND box) : box_(box) {}
    [[nodiscard]] bool Checked() const override;
    void SetChecked(bool checked) override;

private:
    HWND box_;
};

// A multi-line edit keeps its line breaks as CR LF already.
class Win32Memo final : public korv::behaviour::TextBox {
public:
    explicit Win32Memo(HWND edit) : edit_(edit) {}
    [[nodiscard]] std::string Text() const override;

private:
    HWND edit_;
};

// A static control that is resized to the width of its text in its own
// font, keeping its height; positions are in its parent's client area.
class Win32Label final : public korv::behaviour::Label {
public:
    explicit Win32Label(HWND label) : label_(label) {}
    void SetCaption(const std::string& caption) override;
    [[nodiscard]] int Width() const override;
    void SetLeft(int left) override;

private:
    HWND label_;
};

// A static control's text colour and font style. The colour takes effect
// through the parent's WM_CTLCOLORSTATIC, which asks FontColour(); the
// styled font is made from the font the label had when this was made.
class Win32StyledLabel final : public korv::behaviour::StyledLabel {
public:
    explicit Win32StyledLabel(HWND label, std::uint32_t colour = 0);
    void SetFontColour(std::uint32_t colour) override;
    void SetFontStyle(unsigned styles) override;

    [[nodiscard]] HWND Handle() const { return label_; }
    [[nodiscard]] COLORREF FontColour() const { return colour_; }
    [[nodiscard]] unsigned FontStyle() const { return styles_; }

private:
    HWND label_;
    HFONT base_font_;
    COLORREF colour_;
    unsigned styles_ = korv::behaviour::kNoStyle;
    UniqueFont styled_font_;
};

// A top-level window's outer rectangle on the screen.
class Win32Frame final : public korv::behaviour::WindowFrame {
public:
    explicit Win32Frame(HWND window) : window_(window) {}
    [[nodiscard]] int Left() const override;
    [[nodiscard]] int Top() const override;
    [[nodiscard]] int Width() const override;
    [[nodiscard]] bool Visible() const override;
    void MoveTo(int left, int top) override;
    void ShowInFront() override;
    void Hide() override;

private:
    [[nodiscard]] RECT Outer() const;
    HWND window_;
};

class Win32Beeper final : public korv::behaviour::Beeper {
public:
    void Beep() override;
};
