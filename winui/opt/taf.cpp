#include "opt/taf.h"

#include "look/bevel_panel.h"
#include "look/fonts.h"
#include "texts.h"

namespace text = korv::behaviour::text;
using korv::winui::AddChild;
using korv::winui::Bounds;

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kBoxStyle = BS_AUTOCHECKBOX | WS_TABSTOP;

}  // namespace

TAF::TAF(HWND owner, korv::behaviour::DesktopOpener& desktop) : font_(FormFont()), frame_(nullptr) {
    // No border: the outer size is the client size.
    Create("TAF", text::kPanelCaption, kStyle, 0, Bounds(516, 321, 181, 81), owner);
    frame_ = Win32Frame(Handle());

    Panel1 = korv::winui::AddBevelPanel(Handle(), taf_id::Panel1, Bounds(0, 0, 181, 81),
                                        korv::winui::Bevel::Raised);
    // Made in tab order: case, backup, variables.
    CheckBoxCS = AddChild(Panel1, "BUTTON", text::kCaseSensitive, kBoxStyle, taf_id::CheckBoxCS,
                          Bounds(8, 8, 89, 17), font_.Get());
    CheckBoxBU = AddChild(Panel1, "BUTTON", text::kBackUp, kBoxStyle, taf_id::CheckBoxBU,
                          Bounds(8, 32, 129, 17), font_.Get());
    CheckBoxDV = AddChild(Panel1, "BUTTON", text::kDynamicVariables, kBoxStyle, taf_id::CheckBoxDV,
                          Bounds(8, 57, 129, 14), font_.Get());
    link_font_ = StyledFont(font_.Get(), korv::behaviour::kBold | korv::behaviour::kUnderline);
    // SS_NOTIFY: the label takes the mouse itself, for its click and its
    // cursor, instead of letting it through to the panel.
    Label1 = AddChild(Panel1, "STATIC", text::kHelpLink, SS_LEFT | SS_NOTIFY | SS_NOPREFIX,
                      taf_id::Label1, Bounds(140, 58, 27, 13), link_font_.Get());

    cs_ = std::make_unique<Win32CheckBox>(CheckBoxCS);
    bu_ = std::make_unique<Win32CheckBox>(CheckBoxBU);
    dv_ = std::make_unique<Win32CheckBox>(CheckBoxDV);
    behaviour_ = std::make_unique<korv::behaviour::OptionsPanel>(
        korv::behaviour::OptionsBoxes{*cs_, *bu_, *dv_}, desktop);
}

TAF::~TAF() {
    DestroyNow();
}

void TAF::OnCommand(int id, int code) {
    if (id == taf_id::Label1) {
        if (code == STN_CLICKED) {
            behaviour_->Label1Click();
        }
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    // The box has its new state already; each writes its own key.
    korv::winui::Guarded(report_, [this, id] {
        switch (id) {
            case taf_id::CheckBoxCS:
                behaviour_->CheckBoxCSClick();
                break;
            case taf_id::CheckBoxBU:
                behaviour_->CheckBoxBUClick();
                break;
            case taf_id::CheckBoxDV:
                behaviour_->CheckBoxDVClick();
                break;
            default:
                break;
        }
    });
}

LRESULT TAF::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (behaviour_ == nullptr) {
        // Still being made: its controls are not all there yet.
        return FormWindow::OnMessage(message, wparam, lparam);
    }
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wparam) == Label1 && LOWORD(lparam) == HTCLIENT) {
                SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32651)));  // IDC_HELP
                return TRUE;
            }
            break;
        case WM_CLOSE:
            ShowWindow(Handle(), SW_HIDE);
            return 0;
        default:
            break;
    }
    return FormWindow::OnMessage(message, wparam, lparam);
}
