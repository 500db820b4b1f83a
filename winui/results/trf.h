#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "controls/win32_controls.h"
#include "look/unique_gdi.h"
#include "results/results_dialog.h"
#include "support/form_window.h"
#include "support/guarded.h"

// The results dialog's child windows by identifier.
namespace trf_id {

inline constexpr int Label2 = 400;
inline constexpr int Label4 = 401;
inline constexpr int Button1 = 402;
inline constexpr int Button2 = 403;
inline constexpr int Label3 = 404;
inline constexpr int Label1 = 405;
inline constexpr int Label5 = 406;
inline constexpr int Panel1 = 407;
inline constexpr int Image1 = 408;

}  // namespace trf_id

// The results dialog at the end of a batch run: how many files were
// searched and how many changed, and the activity log on request. Closing
// it destroys its window. What it does is korv::behaviour::ResultsDialog's.
class TRF final : public korv::winui::FormWindow {
public:
    // "&Show LOG file" opens `log_path` in `editor`; showing the dialog
    // beeps through `beeper` (the system's default beep when none).
    TRF(HWND owner, korv::behaviour::EditorLauncher& editor, std::string log_path,
        korv::behaviour::Beeper* beeper = nullptr);
    ~TRF() override;

    // Puts the two numbers in, each ending 18 pixels before the right edge.
    void SetResults(std::int32_t files_searched, std::int64_t files_replaced) {
        behaviour_->SetResults(files_searched, files_replaced);
    }
    // Shows the dialog centred on the screen and returns once it is closed
    // (by OK, Enter, the close box or the system menu; Esc does nothing).
    void ShowModal();
    void SetErrorReport(korv::winui::ErrorReport report) { report_ = std::move(report); }

    HWND Label2 = nullptr;
    HWND Label4 = nullptr;
    HWND Button1 = nullptr;
    HWND Button2 = nullptr;
    HWND Label3 = nullptr;
    HWND Label1 = nullptr;
    HWND Label5 = nullptr;
    HWND Panel1 = nullptr;
    HWND Image1 = nullptr;

    void Button2Click();
    void FormClose();

private:
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnCommand(int id, int code);
    void MakeDefault(HWND button);

    UniqueFont font_;
    UniqueBitmap arrow_;
    Win32Beeper system_beeper_;
    std::unique_ptr<Win32Label> searched_;
    std::unique_ptr<Win32Label> replaced_;
    std::unique_ptr<korv::behaviour::ResultsDialog> behaviour_;
    korv::winui::ErrorReport report_;
    HWND default_button_ = nullptr;
    bool closed_ = false;
};
