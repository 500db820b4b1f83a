#pragma once

#include <windows.h>

#include <memory>

#include "controls/win32_controls.h"
#include "look/unique_gdi.h"
#include "opt/options_panel.h"
#include "support/form_window.h"
#include "support/guarded.h"

// The options panel's child windows by identifier.
namespace taf_id {

inline constexpr int Panel1 = 300;
inline constexpr int CheckBoxCS = 301;
inline constexpr int CheckBoxBU = 302;
inline constexpr int CheckBoxDV = 303;
inline constexpr int Label1 = 304;

}  // namespace taf_id

// The advanced options panel: a borderless pop-up owned by the main
// window, whose three check boxes are the live options. What it does is
// korv::behaviour::OptionsPanel's. It lives as long as the program:
// closing it (Alt+F4) only hides it.
class TAF final : public korv::winui::FormWindow {
public:
    TAF(HWND owner, korv::behaviour::DesktopOpener& desktop);
    ~TAF() override;

    [[nodiscard]] korv::behaviour::OptionsPanel& Behaviour() { return *behaviour_; }
    [[nodiscard]] korv::behaviour::WindowFrame& Frame() { return frame_; }

    // The settings object the boxes write to on every change; set when the
    // main window is first shown (nullptr: nothing is written).
    void SetIniFile(const korv::behaviour::SettingsFile* ini) { behaviour_->SetIniFile(ini); }
    // Where an error escaping a click goes (a failed write of the settings
    // file); the program's error box unless set.
    void SetErrorReport(korv::winui::ErrorReport report) { report_ = std::move(report); }

    HWND Panel1 = nullptr;
    HWND CheckBoxDV = nullptr;
    HWND Label1 = nullptr;
    HWND CheckBoxBU = nullptr;
    HWND CheckBoxCS = nullptr;

private:
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnCommand(int id, int code);

    UniqueFont font_;
    UniqueFont link_font_;
    Win32Frame frame_;
    std::unique_ptr<Win32CheckBox> cs_;
    std::unique_ptr<Win32CheckBox> bu_;
    std::unique_ptr<Win32CheckBox> dv_;
    std::unique_ptr<korv::behaviour::OptionsPanel> behaviour_;
    korv::winui::ErrorReport report_;
};
