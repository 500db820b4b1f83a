#pragma once

#include <windows.h>

#include <utility>

// Owns a menu that belongs to no window (a pop-up menu) and destroys it.
class UniqueMenu {
public:
    UniqueMenu() = default;
    explicit UniqueMenu(HMENU menu) : menu_(menu) {}
    ~UniqueMenu() {
        if (menu_ != nullptr) {
            ::DestroyMenu(menu_);
        }
    }
    UniqueMenu(UniqueMenu&& other) noexcept : menu_(std::exchange(other.menu_, nullptr)) {}
    UniqueMenu& operator=(UniqueMenu&& other) noexcept {
        std::swap(menu_, other.menu_);
        return *this;
    }
    UniqueMenu(const UniqueMenu&) = delete;
    UniqueMenu& operator=(const UniqueMenu&) = delete;

    [[nodiscard]] HMENU Get() const { return menu_; }
    // Hands the menu over to a window, which destroys it with itself.
    HMENU Release() { return std::exchange(menu_, nullptr); }

private:
    HMENU menu_ = nullptr;
};
