#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "controls/win32_controls.h"
#include "controls/win32_list_box.h"
#include "look/unique_gdi.h"
#include "look/unique_menu.h"
#include "main/busy_cursor.h"
#include "main/error_box.h"
#include "main/main_window.h"
#include "main/main_window_shell.h"
#include "main/tmf_dialogs.h"

// The main window: the file list, the find and replacement texts, the run
// button, the options panel's toggle and the menus. What it does is
// korv::behaviour::MainWindow's; this class lays the controls out, draws
// the list and hands the window's messages over. Every handler runs inside
// one guard that shows what escapes it in the error box and goes on.
class TMF final : private korv::behaviour::MainWindowShell {
public:
    using OpenSettings =
        std::function<std::unique_ptr<korv::behaviour::SettingsFile>(const std::string&)>;

    // Creates the window hidden and opens the activity log at `paths.Log`
    // (FormCreate). Every message box and file dialog goes through
    // `prompter`; files are shown in `editor`; the results and the about
    // box open through `dialogs`.
    TMF(korv::behaviour::Prompter& prompter, korv::behaviour::EditorLauncher& editor,
        TmfDialogs& dialogs, korv::behaviour::TmfPaths paths, OpenSettings open_settings);
    ~TMF() override;
    TMF(const TMF&) = delete;
    TMF& operator=(const TMF&) = delete;

    // The options panel, created after this window and before its first
    // show; its boxes hold the options of a run.
    void SetOptionsPanel(korv::behaviour::OptionsPanel* panel, korv::behaviour::WindowFrame* frame);
    // The first show: centred on the screen, then FormShow.
    void Show();

    [[nodiscard]] HWND Handle() const { return window_; }
    // A child window by its identifier (tmf_id).
    [[nodiscard]] HWND Control(int id) const { return ::GetDlgItem(window_, id); }
    [[nodiscard]] HWND Tooltip() const { return tooltip_; }
    [[nodiscard]] HMENU PopupMenu1() const { return popup1_.Get(); }
    [[nodiscard]] HMENU PopupMenu2() const { return popup2_.Get(); }
    [[nodiscard]] HMENU PopupMenu3() const { return popup3_.Get(); }

    [[nodiscard]] korv::behaviour::MainWindow& Behaviour() { return *behaviour_; }
    [[nodiscard]] korv::behaviour::FileList& Files() { return behaviour_->Files(); }
    [[nodiscard]] bool Running() const { return behaviour_->Running(); }
    [[nodiscard]] bool Busy() const { return busy_.Busy(); }

private:
    // What the main window offers as a whole.
    void Beep() override;
    void SetBusyCursor(bool busy) override;
    void ProcessEvents() override;
    void ProcessEventsUntil(const std::function<bool()>& done) override;
    void WakeUp() override;
    void CloseLater() override;
    [[nodiscard]] int PrimaryScreenWidth() const override;
    void ShowResults(std::int32_t files_searched, std::int64_t files_replaced) override;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                     UINT_PTR id, DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT OnListMessage(HWND list, UINT message, WPARAM wparam, LPARAM lparam);
    void OnCommand(int id, int code);
    void OnDropFiles(HDROP drop);
    void OnClose();
    void DrawListItem(const DRAWITEMSTRUCT& item) const;
    void OnListChar(wchar_t unit);
    void PopUp(HMENU menu, POINT at);
    void DeferListPainting(bool defer);
    void DeferListPaintingUntilIdle();

    void CreateControls();
    void CreateMenus();
    void CreateHint();
    void SizeClientArea();

    // Runs a handler; what escapes it is shown in the error box.
    template <typename Handler>
    void Guarded(Handler&& handler) {
        korv::behaviour::RunReportingErrors(prompter_, std::forward<Handler>(handler));
    }

    korv::behaviour::Prompter& prompter_;
    korv::behaviour::EditorLauncher& editor_;
    TmfDialogs& dialogs_;
    korv::behaviour::SteadyClock clock_;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    UniqueFont form_font_;
    UniqueFont bold_font_;
    UniqueFont memo_font_;
    UniqueFont list_font_;
    UniqueMenu popup1_;
    UniqueMenu popup2_;
    UniqueMenu popup3_;
    std::unique_ptr<Win32ListBox> list_box_;
    std::unique_ptr<Win32Enabled> run_button_;
    std::unique_ptr<Win32Enabled> delete_button_;
    std::unique_ptr<Win32Caption> options_button_;
    std::unique_ptr<Win32Memo> find_memo_;
    std::unique_ptr<Win32Memo> replace_memo_;
    std::unique_ptr<Win32Frame> frame_;
    std::unique_ptr<korv::behaviour::MainWindow> behaviour_;
    BusyCursor busy_;
    wchar_t high_surrogate_ = 0;
    bool closing_ = false;
    bool list_deferred_ = false;
};
