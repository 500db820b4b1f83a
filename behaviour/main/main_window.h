#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "clock.h"
#include "controls.h"
#include "launchers.h"
#include "line_breaks.h"
#include "main/dropped_paths.h"
#include "main/file_list.h"
#include "main/main_window_shell.h"
#include "main/prefix_typing.h"
#include "main/tmf_paths.h"
#include "prompter.h"
#include "settings_file.h"

namespace korv {
class ActivityLog;
}

namespace korv::behaviour {

class OptionsPanel;

// The main window's controls the handlers work on.
struct MainWindowControls {
    ListBox& ListBox1;
    Switchable& SpeedButton2;
    Captioned& Button4;
    TextBox& Edit2;
    TextBox& Edit3;
    Switchable& Button;
    WindowFrame& Frame;
    MainWindowShell& Shell;
};

// The services of the desktop the main window uses.
struct MainWindowServices {
    Prompter& Prompts;
    EditorLauncher& Editor;
    Clock& Time;
    // Creates the settings object for the settings file at a path.
    std::function<std::unique_ptr<SettingsFile>(const std::string&)> OpenSettings;
};

// The virtual-key code of the Delete key.
inline constexpr int kDeleteKey = 46;
// How long a hint stays visible.
inline constexpr int kHintHidePauseMs = 10000;
// The period of Timer1, which keeps the options panel docked.
inline constexpr int kDockingIntervalMs = 255;
// A drop that would add more entries than this asks first.
inline constexpr std::size_t kAskAboveDroppedEntries = 10000;

// What the main window does: the file list's operations, the first show
// with its settings, the run, the options panel's toggle and docking.
// Errors escape the handlers as exceptions, for the message loop's error
// box.
class MainWindow {
public:
    MainWindow(MainWindowControls controls, MainWindowServices services, TmfPaths paths);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The options panel and its window, created after this window and
    // before its first show; its boxes hold the options of a run.
    void SetOptionsPanel(OptionsPanel* panel, WindowFrame* frame);

    FileDialogSetup OpenDialog1;
    FileDialogSetup OpenDialog2;
    FileDialogSetup SaveDialog1;
    // The settings file, from the first show on.
    std::unique_ptr<SettingsFile> IniFile;
    OptionsPanel* AF = nullptr;

    void FormCreate();
    void FormShow();
    // Whether the window may close now; during a run it closes after the
    // file being processed.
    [[nodiscard]] bool FormCloseQuery();
    void FormClose();
    void ButtonClick();
    void Button4Click();
    void Timer1Timer();
    void Files1Click();
    void WMDropFiles(const std::vector<std::string>& paths);
    void Deleteselected1Click();
    void ListBox1KeyDown(int key);
    // A character typed in the list (its bytes) finds an entry by prefix.
    void ListBox1KeyPress(std::string_view character);
    void ListBox1Backspace();
    void Deleteall1Click();
    void Loadfilelist1Click();
    void Savefilelistas1Click();
    void ListBox1DblClick();
    void ListBox1MouseMove();
    void VersionHistory1Click();

    [[nodiscard]] FileList& Files() { return files_; }
    [[nodiscard]] korv::ActivityLog* Log() { return log_.get(); }
    [[nodiscard]] const TmfPaths& Paths() const { return paths_; }
    // Whether a batch run is in progress.
    [[nodiscard]] bool Running() const { return running_; }
    // How runs write changed files: the settings file's choice, read at the
    // first show, or this system's default.
    [[nodiscard]] korv::LineBreaks LineBreaks() const { return line_breaks_; }

private:
    friend class WindowBatchUi;
    class RunScope;
    class WalkScope;

    // Enables or disables "Replace All Now" and the delete button together.
    void SetRunButtons(bool enabled);
    // Shows `dialog` through `show`; the first file chosen and the filter
    // are remembered for its next use.
    FileChoice Choose(FileDialogSetup& dialog,
                      FileChoice (Prompter::*show)(const FileDialogSetup&));
    void ShowPrefix(const std::string& typed);
    // What a drop adds, found on another thread while the window handles
    // its events, under the busy cursor.
    std::vector<DroppedPath> LookThroughDrop(const std::vector<std::string>& paths);
    // Appends the entries of a drop; a path that fails gets the drop's
    // message, and the rest go on.
    void AppendDropped(const std::vector<DroppedPath>& dropped);
    void ReportNotAdded(const std::string& path);

    MainWindowControls controls_;
    MainWindowServices services_;
    TmfPaths paths_;
    FileList files_;
    PrefixTyping prefix_;
    WindowFrame* panel_frame_ = nullptr;
    std::unique_ptr<korv::ActivityLog> log_;
    korv::LineBreaks line_breaks_ = korv::DefaultLineBreaks();
    bool running_ = false;
    int walks_ = 0;  // drops looking through folders
    bool close_pending_ = false;
};

}  // namespace korv::behaviour
