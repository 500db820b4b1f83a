#pragma once

#include <windows.h>

#include <cstdint>

// The modal windows the main window opens: the results after a run and the
// about box. Each call returns once the window is closed.
class TmfDialogs {
public:
    virtual ~TmfDialogs() = default;
    virtual void ShowResults(HWND owner, std::int32_t files_searched,
                             std::int64_t files_replaced) = 0;
    virtual void ShowAbout(HWND owner) = 0;
};
