#pragma once

#include <windows.h>

#include <vector>

// The hourglass over every window of the program while a run goes on: each
// top-level window of the thread is subclassed to answer WM_SETCURSOR with
// the hourglass, which covers its child windows too (they ask their parent
// first). Windows opened during the run, such as message boxes, keep their
// own cursors.
class BusyCursor {
public:
    BusyCursor() = default;
    ~BusyCursor() { Set(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void Set(bool busy);
    [[nodiscard]] bool Busy() const { return busy_; }

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self);
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                 UINT_PTR id, DWORD_PTR data);

    bool busy_ = false;
    std::vector<HWND> windows_;
};
