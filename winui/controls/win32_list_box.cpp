#include "controls/win32_list_box.h"

#include <commctrl.h>

#include <stdexcept>

namespace {

const std::string kNothing;

}  // namespace

int Win32ListBox::Count() const {
    return static_cast<int>(entries_.size());
}

std::string Win32ListBox::Item(int index) const {
    return entries_.at(static_cast<std::size_t>(index));
}

void Win32ListBox::Add(const std::string& entry) {
    BeforeChange();
    // Without LBS_HASSTRINGS the parameter is only the item's data.
    const LRESULT added = ::SendMessageA(list_, LB_ADDSTRING, 0, 0);
    if (added == LB_ERR || added == LB_ERRSPACE) {
        throw std::runtime_error("Out of memory");
    }
    entries_.push_back(entry);
    if (entries_.size() == 1) {
        ::SendMessageA(list_, LB_SETCARETINDEX, 0, FALSE);
    }
}

void Win32ListBox::Clear() {
    BeforeChange();
    ::SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    entries_.clear();
}

void Win32ListBox::Delete(int index) {
    BeforeChange();
    ::SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    entries_.erase(entries_.begin() + index);
}

bool Win32ListBox::Selected(int index) const {
    return ::SendMessageA(list_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void Win32ListBox::SelectOnly(int index) {
    BeforeChange();
    ::SendMessageA(list_, LB_SETSEL, FALSE, -1);
    ::SendMessageA(list_, LB_SETSEL, TRUE, index);
    ::SendMessageA(list_, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

int Win32ListBox::CaretIndex() const {
    if (entries_.empty()) {
        return -1;
    }
    const auto caret = static_cast<int>(::SendMessageA(list_, LB_GETCARETINDEX, 0, 0));
    return caret >= 0 && caret < Count() ? caret : 0;
}

void Win32ListBox::SetCaretIndex(int index) {
    // A single move: the control scrolls and repaints only what it changed,
    // so the painting is not held back for it.
    // FALSE: scrolled until the item is fully visible.
    ::SendMessageA(list_, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

void Win32ListBox::SetHint(const std::string& hint) {
    if (hint == hint_) {
        return;
    }
    hint_ = hint;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = ::GetParent(list_);
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = hint_.data();
    ::SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

const std::string& Win32ListBox::Shown(int index) const {
    if (index < 0 || index >= Count()) {
        return kNothing;
    }
    return entries_[static_cast<std::size_t>(index)];
}
