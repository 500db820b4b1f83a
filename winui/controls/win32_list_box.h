#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "controls.h"

// The file list's list box over an owner-drawn list box without stored
// strings: the entries' exact bytes are kept here, index for index with the
// control's items, so no conversion through a code page can change a path.
// The caret is the control's caret index, apart from its selection; the hint
// is the text of the list's tool in `tooltip`.
class Win32ListBox final : public korv::behaviour::ListBox {
public:
    Win32ListBox(HWND list, HWND tooltip) : list_(list), tooltip_(tooltip) {}

    [[nodiscard]] int Count() const override;
    [[nodiscard]] std::string Item(int index) const override;
    void Add(const std::string& entry) override;
    void Clear() override;
    void Delete(int index) override;
    [[nodiscard]] bool Selected(int index) const override;
    void SelectOnly(int index) override;
    [[nodiscard]] int CaretIndex() const override;
    void SetCaretIndex(int index) override;
    void SetHint(const std::string& hint) override;

    // The entry an owner-drawn item shows; empty for an index out of range.
    [[nodiscard]] const std::string& Shown(int index) const;
    [[nodiscard]] const std::string& Hint() const { return hint_; }

private:
    HWND list_;
    HWND tooltip_;
    std::vector<std::string> entries_;
    std::string hint_;
};
