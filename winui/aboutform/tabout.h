#pragma once

#include <windows.h>

#include <memory>

#include "aboutform/about_box.h"
#include "controls/win32_controls.h"
#include "look/unique_gdi.h"
#include "support/form_window.h"

// The about box's child windows by identifier.
namespace tabout_id {

inline constexpr int Bevel1 = 500;
inline constexpr int Image1 = 501;
inline constexpr int Label1 = 502;
inline constexpr int Label2 = 503;
inline constexpr int Label4 = 504;
inline constexpr int Label5 = 505;
inline constexpr int Label6 = 506;
inline constexpr int Label7 = 507;
inline constexpr int Label8 = 508;
inline constexpr int BitBtn1 = 509;

}  // namespace tabout_id

// The about box, made for each use; closing it destroys its window. What
// it does is korv::behaviour::AboutBox's; the links open through
// `desktop`.
class TAbout final : public korv::winui::FormWindow {
public:
    TAbout(HWND owner, korv::behaviour::DesktopOpener& desktop);
    ~TAbout() override;

    // Shows the box centred on the screen and returns once OK (or Enter)
    // closed it.
    void ShowModal();

    HWND Bevel1 = nullptr;
    HWND Image1 = nullptr;
    HWND Label1 = nullptr;
    HWND Label2 = nullptr;
    HWND Label4 = nullptr;
    HWND Label5 = nullptr;
    HWND Label6 = nullptr;
    HWND Label7 = nullptr;
    HWND Label8 = nullptr;
    HWND BitBtn1 = nullptr;
    // The hints of the two links.
    HWND Hints = nullptr;

    void FormCreate();

private:
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void AddHint(HWND link, const std::string& hint);
    // Mouse moves over the controls that have a handler for them.
    void WatchMouse(HWND control);
    void ChildMouseMove(HWND control);
    static LRESULT CALLBACK WatchedProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    UniqueFont font_;
    std::unique_ptr<Win32StyledLabel> web_link_;
    std::unique_ptr<Win32StyledLabel> mail_link_;
    std::unique_ptr<korv::behaviour::AboutBox> behaviour_;
    bool closed_ = false;
};
