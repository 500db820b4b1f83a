#pragma once

#include <windows.h>

#include <functional>

#include "prompter.h"

namespace korv::winui {

// The program's message boxes and common file dialogs, modal over the
// window `owner` gives at the moment of each use (the active window of the
// program, or none).
class Win32Prompter final : public behaviour::Prompter {
public:
    explicit Win32Prompter(std::function<HWND()> owner);

    // MB_YESNO | MB_ICONQUESTION (36); true only for IDYES.
    bool Ask(const std::string& text, const std::string& caption) override;
    // MB_OK | MB_ICONHAND (16).
    void Error(const std::string& text, const std::string& caption) override;
    // MB_OK alone (0).
    void Message(const std::string& text, const std::string& caption) override;

    behaviour::FileChoice GetOpenFileNames(const behaviour::FileDialogSetup& dialog) override;
    behaviour::FileChoice GetOpenFileName(const behaviour::FileDialogSetup& dialog) override;
    behaviour::FileChoice GetSaveFileName(const behaviour::FileDialogSetup& dialog) override;

private:
    int Box(const std::string& text, const std::string& caption, UINT flags);

    std::function<HWND()> owner_;
};

}  // namespace korv::winui
