#include "aboutform/tabout.h"

#include <commctrl.h>

#include <string>

#include "aboutform/maker.h"
#include "look/bevel_panel.h"
#include "look/fonts.h"
#include "look/glyph_button.h"
#include "resources/resource_ids.h"
#include "support/label_text.h"
#include "support/modal_loop.h"
#include "texts.h"

namespace text = korv::behaviour::text;
using korv::winui::AddChild;
using korv::winui::AddLabel;
using korv::winui::Bounds;

namespace {

constexpr int kClientWidth = 234;
constexpr int kClientHeight = 161;
// A dialog frame with no border icons at all.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
// As long as every hint of the program stays up.
constexpr int kHintHidePause = 10000;

constexpr char kOldProc[] = "KorvAboutOldProc";
constexpr char kForm[] = "KorvAboutForm";

}  // namespace

TAbout::TAbout(HWND owner, korv::behaviour::DesktopOpener& desktop) : font_(FormFont()) {
    Create("TAbout", text::kAboutCaption, kStyle, kExStyle,
           korv::winui::CentredOuterRect(kClientWidth, kClientHeight, kStyle, kExStyle), owner);
    HWND form = Handle();
    HFONT font = font_.Get();

    // The OK button first, so it is first in the tab order; the icon
    // before its frame, so it lies above it.
    BitBtn1 = AddChild(form, "BUTTON", text::kOk, BS_OWNERDRAW | WS_TABSTOP, tabout_id::BitBtn1,
                       Bounds(55, 128, 106, 25), font);
    Image1 = AddChild(form, "STATIC", "", SS_ICON | SS_NOTIFY, tabout_id::Image1,
                      Bounds(11, 11, 32, 32), nullptr);
    Bevel1 = korv::winui::AddBevelPanel(form, tabout_id::Bevel1, Bounds(10, 10, 34, 34),
                                        korv::winui::Bevel::Lowered);
    // SS_NOTIFY: every label takes the mouse itself. Moves over Label8
    // (like those over the bevel) then go nowhere, not to the box.
    Label1 = AddLabel(form, tabout_id::Label1, korv::maker::kName, 55, 8, 0, 13, font, SS_NOTIFY);
    Label2 =
        AddLabel(form, tabout_id::Label2, korv::maker::kProgram, 55, 24, 0, 13, font, SS_NOTIFY);
    Label4 = AddLabel(form, tabout_id::Label4, text::kWebSiteLabel, 55, 64, 0, 13, font, SS_NOTIFY);
    Label5 =
        AddLabel(form, tabout_id::Label5, korv::maker::kWebHost, 108, 64, 0, 13, font, SS_NOTIFY);
    Label6 = AddLabel(form, tabout_id::Label6, text::kEmailLabel, 55, 80, 0, 13, font, SS_NOTIFY);
    Label7 =
        AddLabel(form, tabout_id::Label7, korv::maker::kEmail, 108, 80, 0, 13, font, SS_NOTIFY);
    Label8 = AddLabel(form, tabout_id::Label8, text::kLicence, 55, 104, 0, 13, font, SS_NOTIFY);

    web_link_ = std::make_unique<Win32StyledLabel>(Label5);
    mail_link_ = std::make_unique<Win32StyledLabel>(Label7);
    behaviour_ = std::make_unique<korv::behaviour::AboutBox>(*web_link_, *mail_link_, desktop);

    for (HWND control : {Image1, Label1, Label2, Label4, Label5, Label6, Label7, BitBtn1}) {
        WatchMouse(control);
    }

    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    Hints = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr, GetModuleHandleA(nullptr),
                            nullptr);
    if (Hints != nullptr) {
        SendMessageA(Hints, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kHintHidePause, 0));
        AddHint(Label5, korv::behaviour::WebLinkHint());
        AddHint(Label7, korv::behaviour::MailLinkHint());
    }
    FormCreate();
}

TAbout::~TAbout() {
    DestroyNow();
}

void TAbout::FormCreate() {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_KORV));
    if (icon == nullptr) {
        icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    }
    SendMessageA(Image1, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    // Drawn at its own size, where it was placed.
    SetWindowPos(Image1, nullptr, 11, 11, 32, 32, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAbout::AddHint(HWND link, const std::string& hint) {
    TOOLINFOA tool{};
    // The size every version of the common controls takes.
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(link);
    tool.lpszText = const_cast<char*>(hint.c_str());  // copied by the control
    SendMessageA(Hints, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TAbout::ShowModal() {
    if (Handle() == nullptr) {
        return;  // closed already
    }
    FocusControl(BitBtn1);
    closed_ = false;
    korv::winui::RunModal(Handle(), [this] { return closed_; });
    // Closed, so freed: the next "About..." makes a new box.
    DestroyNow();
}

void TAbout::WatchMouse(HWND control) {
    SetPropA(control, kForm, this);
    SetPropA(control, kOldProc,
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                 control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TAbout::WatchedProc))));
}

LRESULT CALLBACK TAbout::WatchedProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto old_proc = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProc));
    if (message == WM_MOUSEMOVE) {
        if (auto* form = static_cast<TAbout*>(GetPropA(hwnd, kForm)); form != nullptr) {
            form->ChildMouseMove(hwnd);
        }
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc));
        RemovePropA(hwnd, kOldProc);
        RemovePropA(hwnd, kForm);
    }
    return CallWindowProcA(old_proc, hwnd, message, wparam, lparam);
}

void TAbout::ChildMouseMove(HWND control) {
    if (control == Label5) {
        behaviour_->Label5MouseMove();
    } else if (control == Label7) {
        behaviour_->Label7MouseMove();
    } else {
        behaviour_->FormMouseMove();
    }
}

LRESULT TAbout::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (behaviour_ == nullptr) {
        // Still being made: its controls are not all there yet.
        return FormWindow::OnMessage(message, wparam, lparam);
    }
    switch (message) {
        case WM_MOUSEMOVE:
            behaviour_->FormMouseMove();
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wparam);
            const int code = HIWORD(wparam);
            if (id == tabout_id::BitBtn1 && code == BN_CLICKED) {
                closed_ = true;  // the result OK
            } else if (id == tabout_id::Label5 && code == STN_CLICKED) {
                behaviour_->Label5Click();
            } else if (id == tabout_id::Label7 && code == STN_CLICKED) {
                behaviour_->Label7Click();
            }
            // IDCANCEL, Esc from the dialog keys: no button closes with it.
            return 0;
        }
        case DM_GETDEFID:
            return MAKELRESULT(tabout_id::BitBtn1, DC_HASDEFID);
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            if (item->hwndItem == BitBtn1) {
                korv::winui::DrawCheckGlyphButton(*item, true);
                return TRUE;
            }
            break;
        }
        case WM_SETCURSOR: {
            auto* control = reinterpret_cast<HWND>(wparam);
            if ((control == Label5 || control == Label7) && LOWORD(lparam) == HTCLIENT) {
                SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // IDC_HAND
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC: {
            const LRESULT brush = FormWindow::OnMessage(message, wparam, lparam);
            auto* control = reinterpret_cast<HWND>(lparam);
            if (control == Label5 || control == Label7) {
                const Win32StyledLabel& link = control == Label5 ? *web_link_ : *mail_link_;
                SetTextColor(reinterpret_cast<HDC>(wparam), link.FontColour());
            }
            return brush;
        }
        case WM_CLOSE:
            closed_ = true;
            return 0;
        default:
            break;
    }
    return FormWindow::OnMessage(message, wparam, lparam);
}
