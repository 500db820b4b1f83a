#pragma once

#include <cstdint>
#include <string>

// What the handlers need of a window's controls, each as small as a plain
// system control offers it. Texts are bytes in the system's 8-bit code page.
namespace korv::behaviour {

// A control that can be enabled and disabled.
class Switchable {
public:
    virtual ~Switchable() = default;
    virtual void SetEnabled(bool enabled) = 0;
};

// A control with a caption, such as a push button.
class Captioned {
public:
    virtual ~Captioned() = default;
    [[nodiscard]] virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
};

// A two-state check box.
class CheckBox {
public:
    virtual ~CheckBox() = default;
    [[nodiscard]] virtual bool Checked() const = 0;
    // Sets the state without running the box's click handler.
    virtual void SetChecked(bool checked) = 0;
};

// A multi-line edit.
class TextBox {
public:
    virtual ~TextBox() = default;
    // The text with every line break as CR LF and none added at the end.
    [[nodiscard]] virtual std::string Text() const = 0;
};

// A label that sizes itself to its text.
class Label {
public:
    virtual ~Label() = default;
    // Sets the text; the label's width follows it.
    virtual void SetCaption(const std::string& caption) = 0;
    [[nodiscard]] virtual int Width() const = 0;
    virtual void SetLeft(int left) = 0;
};

// Colours in the system's encoding 0x00BBGGRR.
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kBlue = 0xFF0000;

// A font style set; no bit set is no style.
enum FontStyle : unsigned {
    kNoStyle = 0,
    kBold = 1,
    kItalic = 2,
    kUnderline = 4,
    kStrikeOut = 8,
};

// A label whose font colour and style can be set.
class StyledLabel {
public:
    virtual ~StyledLabel() = default;
    virtual void SetFontColour(std::uint32_t colour) = 0;
    virtual void SetFontStyle(unsigned styles) = 0;
};

// A top-level window's place on the screen, in screen pixels; the width is
// the outer width.
class WindowFrame {
public:
    virtual ~WindowFrame() = default;
    [[nodiscard]] virtual int Left() const = 0;
    [[nodiscard]] virtual int Top() const = 0;
    [[nodiscard]] virtual int Width() const = 0;
    [[nodiscard]] virtual bool Visible() const = 0;
    virtual void MoveTo(int left, int top) = 0;
    // Makes the window visible and brings it to the front.
    virtual void ShowInFront() = 0;
    virtual void Hide() = 0;
};

// A list box of text entries with several selected at once and a caret (the
// entry with the focus rectangle) independent of the selection.
class ListBox {
public:
    virtual ~ListBox() = default;
    [[nodiscard]] virtual int Count() const = 0;
    // The exact bytes of entry `index`, 0 <= index < Count().
    [[nodiscard]] virtual std::string Item(int index) const = 0;
    // Appends an entry; the first entry of an empty list gets the caret.
    virtual void Add(const std::string& entry) = 0;
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    [[nodiscard]] virtual bool Selected(int index) const = 0;
    // Makes `index` the only selected entry and the caret, scrolled into
    // view.
    virtual void SelectOnly(int index) = 0;
    // -1 only while the list has no entries.
    [[nodiscard]] virtual int CaretIndex() const = 0;
    // Moves the caret to `index` and scrolls it fully into view; selects
    // and deselects nothing.
    virtual void SetCaretIndex(int index) = 0;
    // The hint shown while the mouse rests over the list.
    virtual void SetHint(const std::string& hint) = 0;
};

// The system's default message beep.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void Beep() = 0;
};

}  // namespace korv::behaviour
