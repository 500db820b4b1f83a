#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls.h"

// The file list's list box over an owner-drawn list box without stored
// strings: the entries' exact bytes are kept here, index for index with the
// control's items, so no conversion through a code page can change a path.
// The caret is the control's caret index, apart from its selection; the hint
// is the text of the list's tool in `tooltip`. `before_change` runs before
// each change of the entries or the selection (the owner may hold back the
// painting of many changes in a row).
class Win32ListBox final : public korv::behaviour::ListBox {
public:
    Win32ListBox(HWND list, HWND tooltip, std::function<void()> before_change = nullptr)
        : list_(list), tooltip_(tooltip), before_change_(std::move(before_change)) {}

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
    void BeforeChange() const {
        if (before_change_) {
            before_change_();
        }
    }

    HWND list_;
    HWND tooltip_;
    std::function<void()> before_change_;
    std::vector<std::string> entries_;
    std::string hint_;
};
