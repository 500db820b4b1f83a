#include "notepad_launcher.h"

#include <utility>
#include <vector>

namespace korv::winui {

namespace {

// The buffer the folder is usually fetched into; a longer path is fetched
// again into a buffer of the size the system asks for.
constexpr UINT kWindowsDirBuffer = 145;

void StartWithWinExec(const std::string& command_line, UINT show) {
    WinExec(command_line.c_str(), show);
}

}  // namespace

std::string WindowsDirectory() {
    std::vector<char> buffer(kWindowsDirBuffer, '\0');
    UINT length = GetWindowsDirectoryA(buffer.data(), kWindowsDirBuffer);
    if (length >= kWindowsDirBuffer) {
        // Too long for the buffer: the call gave the size it needs.
        buffer.assign(length, '\0');
        length = GetWindowsDirectoryA(buffer.data(), length);
        if (length >= buffer.size()) {
            length = 0;
        }
    }
    return std::string(buffer.data(), length);
}

NotepadLauncher::NotepadLauncher(UINT show_command, Starter start)
    : show_(show_command), start_(start ? std::move(start) : Starter(StartWithWinExec)) {}

void NotepadLauncher::OpenInEditor(const std::string& path) {
    start_(WindowsDirectory() + "\\NOTEPAD.EXE " + path, show_);
}

}  // namespace korv::winui
