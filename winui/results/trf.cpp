#include "results/trf.h"

#include <utility>

#include "look/bevel_panel.h"
#include "look/dialog_glyphs.h"
#include "look/fonts.h"
#include "look/picture.h"
#include "support/label_text.h"
#include "support/modal_loop.h"
#include "texts.h"

namespace text = korv::behaviour::text;
using korv::winui::AddChild;
using korv::winui::AddLabel;
using korv::winui::Bounds;

namespace {

constexpr int kClientWidth = 289;
constexpr int kClientHeight = 124;
// A fixed dialog frame; the system menu and the close box only.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr COLORREF kNumberColour = RGB(0, 0, 255);

}  // namespace

TRF::TRF(HWND owner, korv::behaviour::EditorLauncher& editor, std::string log_path,
         korv::behaviour::Beeper* beeper)
    : font_(FormFont()), arrow_(korv::winui::ResultsArrowBitmap()) {
    Create("TRF", text::kResultsCaption, kStyle, kExStyle,
           korv::winui::CentredOuterRect(kClientWidth, kClientHeight, kStyle, kExStyle), owner);
    HWND form = Handle();
    HFONT font = font_.Get();

    // Made in tab order: OK, "Show LOG file", the panel; BS_NOTIFY tells
    // which button has the focus, as that one answers Enter.
    Button2 = AddChild(form, "BUTTON", text::kOk, BS_DEFPUSHBUTTON | BS_NOTIFY | WS_TABSTOP,
                       trf_id::Button2, Bounds(188, 86, 85, 25), font);
    Button1 = AddChild(form, "BUTTON", text::kShowLog, BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP,
                       trf_id::Button1, Bounds(93, 86, 85, 25), font);
    default_button_ = Button2;
    Panel1 = korv::winui::AddBevelPanel(form, trf_id::Panel1, Bounds(14, 18, 65, 51),
                                        korv::winui::Bevel::Raised);
    Image1 = korv::winui::AddStretchedPicture(Panel1, trf_id::Image1, Bounds(1, 1, 63, 49),
                                              arrow_.Get());

    Label5 = AddLabel(form, trf_id::Label5, text::kFinished, 93, 16, 181, 13, font);
    Label1 = AddLabel(form, trf_id::Label1, text::kFilesSearched, 93, 36, 71, 13, font);
    Label3 = AddLabel(form, trf_id::Label3, "0", 261, 36, 6, 13, font);
    Label2 = AddLabel(form, trf_id::Label2, text::kFilesReplaced, 93, 57, 107, 13, font);
    Label4 = AddLabel(form, trf_id::Label4, "0", 261, 57, 6, 13, font);

    searched_ = std::make_unique<Win32Label>(Label3);
    replaced_ = std::make_unique<Win32Label>(Label4);
    behaviour_ = std::make_unique<korv::behaviour::ResultsDialog>(
        korv::behaviour::ResultsLabels{*searched_, *replaced_, kClientWidth},
        beeper != nullptr ? *beeper : system_beeper_, editor, std::move(log_path));
}

TRF::~TRF() {
    DestroyNow();
}

void TRF::ShowModal() {
    if (Handle() == nullptr) {
        return;  // closed already
    }
    FocusControl(Button2);
    closed_ = false;
    korv::winui::RunModal(Handle(), [this] { return closed_; });
    // Closed, so freed: the next results need a new dialog.
    DestroyNow();
}

void TRF::Button2Click() {
    SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TRF::FormClose() {
    closed_ = true;
}

void TRF::MakeDefault(HWND button) {
    if (button == default_button_) {
        return;
    }
    SendMessageA(default_button_, BM_SETSTYLE, BS_PUSHBUTTON | BS_NOTIFY, TRUE);
    SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON | BS_NOTIFY, TRUE);
    default_button_ = button;
}

void TRF::OnCommand(int id, int code) {
    if (code == BN_SETFOCUS && (id == trf_id::Button1 || id == trf_id::Button2)) {
        // The button with the focus answers Enter; away from both, OK.
        MakeDefault(id == trf_id::Button1 ? Button1 : Button2);
        return;
    }
    if (code != BN_CLICKED) {
        return;  // IDCANCEL, Esc from the dialog keys, has no button here
    }
    if (id == trf_id::Button2) {
        Button2Click();
    } else if (id == trf_id::Button1) {
        korv::winui::Guarded(report_, [this] { behaviour_->Button1Click(); });
    }
}

LRESULT TRF::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (behaviour_ == nullptr) {
        // Still being made: its controls are not all there yet.
        return FormWindow::OnMessage(message, wparam, lparam);
    }
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(GetDlgCtrlID(default_button_), DC_HASDEFID);
        case WM_SHOWWINDOW:
            if (wparam != FALSE) {
                korv::winui::Guarded(report_, [this] { behaviour_->FormShow(); });
            }
            break;
        case WM_CTLCOLORSTATIC: {
            const LRESULT brush = FormWindow::OnMessage(message, wparam, lparam);
            auto* control = reinterpret_cast<HWND>(lparam);
            if (control == Label3 || control == Label4) {
                SetTextColor(reinterpret_cast<HDC>(wparam), kNumberColour);
            }
            return brush;
        }
        case WM_CLOSE:
            FormClose();
            return 0;
        default:
            break;
    }
    return FormWindow::OnMessage(message, wparam, lparam);
}
