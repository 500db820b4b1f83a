#pragma once

#include <cstdint>
#include <string>

#include "controls.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QWidget;

// The behaviour's control interfaces over Qt widgets. Texts go between the
// locale's 8-bit bytes and the widgets' text.

class QtEnabled final : public korv::behaviour::Switchable {
public:
    explicit QtEnabled(QWidget* widget) : widget_(widget) {}
    void SetEnabled(bool enabled) override;

private:
    QWidget* widget_;
};

class QtCaption final : public korv::behaviour::Captioned {
public:
    explicit QtCaption(QAbstractButton* button) : button_(button) {}
    [[nodiscard]] std::string Caption() const override;
    void SetCaption(const std::string& caption) override;

private:
    QAbstractButton* button_;
};

// Setting the state keeps the box's signals quiet, so no click handler runs.
class QtCheckBox final : public korv::behaviour::CheckBox {
public:
    explicit QtCheckBox(QCheckBox* box) : box_(box) {}
    [[nodiscard]] bool Checked() const override;
    void SetChecked(bool checked) override;

private:
    QCheckBox* box_;
};

class QtMemo final : public korv::behaviour::TextBox {
public:
    explicit QtMemo(QPlainTextEdit* memo) : memo_(memo) {}
    [[nodiscard]] std::string Text() const override;

private:
    QPlainTextEdit* memo_;
};

class QtLabel final : public korv::behaviour::Label {
public:
    explicit QtLabel(QLabel* label) : label_(label) {}
    void SetCaption(const std::string& caption) override;
    [[nodiscard]] int Width() const override;
    void SetLeft(int left) override;

private:
    QLabel* label_;
};

// The colour is the label's text colour; the style its font's.
class QtStyledLabel final : public korv::behaviour::StyledLabel {
public:
    explicit QtStyledLabel(QLabel* label) : label_(label) {}
    void SetFontColour(std::uint32_t colour) override;
    void SetFontStyle(unsigned styles) override;

private:
    QLabel* label_;
};

// A top-level window's frame: move() places the frame, so the frame's
// geometry is what is read.
class QtFrame final : public korv::behaviour::WindowFrame {
public:
    explicit QtFrame(QWidget* window) : window_(window) {}
    [[nodiscard]] int Left() const override;
    [[nodiscard]] int Top() const override;
    [[nodiscard]] int Width() const override;
    [[nodiscard]] bool Visible() const override;
    void MoveTo(int left, int top) override;
    void ShowInFront() override;
    void Hide() override;

private:
    QWidget* window_;
};

class QtBeeper final : public korv::behaviour::Beeper {
public:
    void Beep() override;
};
