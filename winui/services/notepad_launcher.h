#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "launchers.h"

namespace korv::winui {

// Starts NOTEPAD.EXE from the Windows folder on a file: the folder,
// "\NOTEPAD.EXE ", then the path as it stands, unquoted, through WinExec
// with the launcher's show command. Whether Notepad started is not looked
// at.
class NotepadLauncher final : public behaviour::EditorLauncher {
public:
    // What starts a command line with a show command; WinExec unless a test
    // puts something else in.
    using Starter = std::function<void(const std::string& command_line, UINT show)>;

    explicit NotepadLauncher(UINT show_command, Starter start = nullptr);

    void OpenInEditor(const std::string& path) override;

private:
    UINT show_;
    Starter start_;
};

// The Windows folder, however long its path.
[[nodiscard]] std::string WindowsDirectory();

}  // namespace korv::winui
