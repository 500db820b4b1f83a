#include "win32_prompter.h"

#include <utility>

#include "file_dialog.h"

namespace korv::winui {

Win32Prompter::Win32Prompter(std::function<HWND()> owner) : owner_(std::move(owner)) {}

int Win32Prompter::Box(const std::string& text, const std::string& caption, UINT flags) {
    return MessageBoxA(owner_(), text.c_str(), caption.c_str(), flags);
}

bool Win32Prompter::Ask(const std::string& text, const std::string& caption) {
    return Box(text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void Win32Prompter::Error(const std::string& text, const std::string& caption) {
    Box(text, caption, MB_OK | MB_ICONHAND);
}

void Win32Prompter::Message(const std::string& text, const std::string& caption) {
    Box(text, caption, MB_OK);
}

behaviour::FileChoice Win32Prompter::GetOpenFileNames(const behaviour::FileDialogSetup& dialog) {
    return ShowFileDialog(owner_(), dialog, FileDialogKind::OpenMany);
}

behaviour::FileChoice Win32Prompter::GetOpenFileName(const behaviour::FileDialogSetup& dialog) {
    return ShowFileDialog(owner_(), dialog, FileDialogKind::OpenOne);
}

behaviour::FileChoice Win32Prompter::GetSaveFileName(const behaviour::FileDialogSetup& dialog) {
    return ShowFileDialog(owner_(), dialog, FileDialogKind::Save);
}

}  // namespace korv::winui
