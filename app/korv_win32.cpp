// The program entry on Windows: creates the main window and the options
// panel, then runs the message loop until the main window closes.

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "main/error_box.h"
#include "main/message_pump.h"
#include "main/program_dialogs.h"
#include "main/tmf.h"
#include "opt/taf.h"
#include "services/notepad_launcher.h"
#include "services/profile_settings_file.h"
#include "services/shell_opener.h"
#include "services/win32_prompter.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    HWND main_window = nullptr;
    // Boxes are modal over the program's active window, else the main one.
    korv::winui::Win32Prompter prompter([&main_window] {
        HWND active = ::GetActiveWindow();
        return active != nullptr ? active : main_window;
    });
    try {
        // Notepad comes up normally from the main window, in its last size
        // and place from the results.
        korv::winui::NotepadLauncher editor(SW_SHOWNORMAL);
        korv::winui::NotepadLauncher log_editor(SW_SHOW);
        korv::winui::ShellOpener desktop;
        const korv::behaviour::TmfPaths paths = korv::behaviour::TmfPaths::OfThisProgram();
        ProgramDialogs dialogs(log_editor, desktop, paths.Log);

        // The main window comes first, which opens the activity log; then
        // the options panel, hidden. The first show and the timer find both.
        TMF mf(prompter, editor, dialogs, paths, [](const std::string& path) {
            return std::make_unique<korv::winui::ProfileSettingsFile>(path);
        });
        main_window = mf.Handle();
        TAF af(mf.Handle(), desktop);
        mf.SetOptionsPanel(&af.Behaviour(), &af.Frame());
        mf.Show();
        return RunMessageLoop();
    } catch (...) {
        // Nothing could be shown: the error box tells why.
        korv::behaviour::ShowErrorBoxForCurrentException(prompter);
        return 1;
    }
}
