// The main window's construction: the window, its controls at their places,
// its fonts, menus and hint.

#include "main/tmf.h"

#include <commctrl.h>

#include "controls/speed_button.h"
#include "look/fonts.h"
#include "look/glyphs_main.h"
#include "main/control_ids.h"
#include "resources/resource_ids.h"
#include "support/last_error.h"
#include "texts.h"

namespace text = korv::behaviour::text;

namespace {

constexpr const wchar_t* kClassName = L"KorvTMF";
constexpr int kClientWidth = 273;
constexpr int kClientHeight = 363;
// Without WS_CLIPCHILDREN: the group box paints only its frame and caption, so
// the window's own background fills the group's inside.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Files dropped from the shell arrive as WM_DROPFILES.
constexpr DWORD kExStyle = WS_EX_ACCEPTFILES;

// A child window of the main window: its identifier, class, caption, styles
// and place in the client area. The group box lies at the client's top-left
// corner, so the places of the controls inside it are the same in both.
struct ChildLayout {
    int id;
    const char* window_class;
    const char* caption;
    DWORD style;
    DWORD ex_style;
    int left, top, width, height;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kMemoStyle = kChild | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
                             ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN;

// In tab order, which is the order of creation.
const ChildLayout kChildren[] = {
    {tmf_id::GroupBox1, "BUTTON", text::kFilesGroup, kChild | BS_GROUPBOX, 0, 0, 0, kClientWidth,
     177},
    {tmf_id::ListBox1, "LISTBOX", "",
     kChild | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_EXTENDEDSEL | LBS_NOTIFY |
         LBS_NOINTEGRALHEIGHT,
     WS_EX_CLIENTEDGE, 8, 16, 256, 126},
    {tmf_id::Button4, "BUTTON", text::kShowOptions, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 8, 181,
     256, 18},
    {tmf_id::Label3, "STATIC", text::kFindLabel, kChild | SS_LEFT, 0, 8, 202, 23, 13},
    {tmf_id::Edit2, "EDIT", "", kMemoStyle, WS_EX_CLIENTEDGE, 72, 202, 192, 50},
    {tmf_id::Label4, "STATIC", text::kReplaceLabel, kChild | SS_LEFT, 0, 8, 256, 55, 13},
    {tmf_id::Edit3, "EDIT", "", kMemoStyle, WS_EX_CLIENTEDGE, 72, 256, 192, 50},
    // A plain push button, not the default one: Enter in a memo starts a
    // new line.
    {tmf_id::Button, "BUTTON", text::kRunButton, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 72, 310,
     111, 25},
};

void RegisterOnce() {
    static const bool registered = [] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        type.lpfnWndProc = DefWindowProcW;
        type.hInstance = ::GetModuleHandleW(nullptr);
        type.hIcon = ::LoadIconW(type.hInstance, MAKEINTRESOURCEW(IDI_KORV));
        type.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        type.lpszClassName = kClassName;
        if (::RegisterClassExW(&type) == 0) {
            ThrowLastError();
        }
        return true;
    }();
    (void)registered;
}

void AppendItem(HMENU menu, int id, const std::string& caption) {
    if (::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(id), caption.c_str()) == FALSE) {
        ThrowLastError();
    }
}

UniqueMenu NewPopup() {
    HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) {
        ThrowLastError();
    }
    return UniqueMenu(menu);
}

}  // namespace

TMF::TMF(korv::behaviour::Prompter& prompter, korv::behaviour::EditorLauncher& editor,
         TmfDialogs& dialogs, korv::behaviour::TmfPaths paths, OpenSettings open_settings)
    : prompter_(prompter),
      editor_(editor),
      dialogs_(dialogs),
      form_font_(FormFont()),
      bold_font_(BoldFormFont()),
      memo_font_(MemoFont()),
      list_font_(ListFont()) {
    RegisterOnce();
    window_ = ::CreateWindowExW(kExStyle, kClassName, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                kClientWidth, kClientHeight, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) {
        ThrowLastError();
    }
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TMF::WindowProc));
    ::SetWindowTextA(window_, text::kApplicationTitle);

    CreateMenus();
    SizeClientArea();
    CreateControls();
    CreateHint();

    list_box_ = std::make_unique<Win32ListBox>(Control(tmf_id::ListBox1), tooltip_,
                                               [this] { DeferListPaintingUntilIdle(); });
    run_button_ = std::make_unique<Win32Enabled>(Control(tmf_id::Button));
    delete_button_ = std::make_unique<Win32Enabled>(Control(tmf_id::SpeedButton2));
    options_button_ = std::make_unique<Win32Caption>(Control(tmf_id::Button4));
    find_memo_ = std::make_unique<Win32Memo>(Control(tmf_id::Edit2));
    replace_memo_ = std::make_unique<Win32Memo>(Control(tmf_id::Edit3));
    frame_ = std::make_unique<Win32Frame>(window_);
    behaviour_ = std::make_unique<korv::behaviour::MainWindow>(
        korv::behaviour::MainWindowControls{*list_box_, *delete_button_, *options_button_,
                                            *find_memo_, *replace_memo_, *run_button_, *frame_,
                                            *this},
        korv::behaviour::MainWindowServices{prompter_, editor_, clock_, std::move(open_settings)},
        std::move(paths));

    // Timer1 runs from creation until the window goes.
    ::SetTimer(window_, tmf_id::Timer1, korv::behaviour::kDockingIntervalMs, nullptr);
    Guarded([this] { behaviour_->FormCreate(); });
}

TMF::~TMF() {
    if (window_ != nullptr) {
        // Destroyed as an object, not closed by the user: the program's
        // loop is not ended by this.
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

void TMF::SetOptionsPanel(korv::behaviour::OptionsPanel* panel,
                          korv::behaviour::WindowFrame* frame) {
    behaviour_->SetOptionsPanel(panel, frame);
}

void TMF::Show() {
    RECT outer{};
    ::GetWindowRect(window_, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    ::SetWindowPos(window_, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    // An error cuts the handler short; the window is shown all the same.
    Guarded([this] { behaviour_->FormShow(); });
}

void TMF::SizeClientArea() {
    RECT wanted{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&wanted, kStyle, TRUE, kExStyle);
    ::SetWindowPos(window_, nullptr, 0, 0, wanted.right - wanted.left, wanted.bottom - wanted.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps or a frame the calculation does not know of
    // changes the client area: correct by what is measured.
    RECT client{};
    ::GetClientRect(window_, &client);
    const int dx = kClientWidth - (client.right - client.left);
    const int dy = kClientHeight - (client.bottom - client.top);
    if (dx != 0 || dy != 0) {
        ::SetWindowPos(window_, nullptr, 0, 0, wanted.right - wanted.left + dx,
                       wanted.bottom - wanted.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TMF::CreateControls() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const ChildLayout& child_layout : kChildren) {
        HWND child = ::CreateWindowExA(
            child_layout.ex_style, child_layout.window_class, child_layout.caption,
            child_layout.style, child_layout.left, child_layout.top, child_layout.width,
            child_layout.height, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(child_layout.id)), instance, nullptr);
        if (child == nullptr) {
            ThrowLastError();
        }
        HFONT font = form_font_.Get();
        if (child_layout.id == tmf_id::ListBox1) {
            font = list_font_.Get();
        } else if (child_layout.id == tmf_id::Edit2 || child_layout.id == tmf_id::Edit3) {
            font = memo_font_.Get();
        } else if (child_layout.id == tmf_id::Button) {
            font = bold_font_.Get();
        }
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (child_layout.id == tmf_id::ListBox1) {
            ::SetWindowSubclass(child, &TMF::ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
            // The glyph buttons belong to the group, after the list.
            HWND plus =
                CreateSpeedButton(window_, tmf_id::SpeedButton1, 8, 148, 25, 22, PlusGlyph());
            HWND minus =
                CreateSpeedButton(window_, tmf_id::SpeedButton2, 40, 148, 25, 22, MinusGlyph());
            (void)plus;
            (void)minus;
        }
    }
}

void TMF::CreateMenus() {
    HMENU bar = ::CreateMenu();
    UniqueMenu help = NewPopup();
    if (bar == nullptr) {
        ThrowLastError();
    }
    AppendItem(help.Get(), tmf_id::VersionHistory1, text::kVersionHistoryItem);
    AppendItem(help.Get(), tmf_id::About1, text::kAboutItem);
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help.Release()), text::kHelpMenu);
    // The window destroys its menu bar, and the bar its submenu.
    ::SetMenu(window_, bar);

    popup1_ = NewPopup();
    AppendItem(popup1_.Get(), tmf_id::Loadfilelist1, text::kLoadListItem);
    AppendItem(popup1_.Get(), tmf_id::Savefilelistas1, text::kSaveListItem);
    popup2_ = NewPopup();
    AppendItem(popup2_.Get(), tmf_id::Files1, text::kAddFilesItem);
    popup3_ = NewPopup();
    // The Del shortcut is only shown beside the item; the Delete key is the
    // list's own (ListBox1KeyDown).
    AppendItem(popup3_.Get(), tmf_id::Deleteselected1,
               std::string(text::kDeleteSelectedItem) + '\t' + text::kDeleteSelectedShortcut);
    AppendItem(popup3_.Get(), tmf_id::Deleteall1, text::kDeleteAllItem);
}

void TMF::CreateHint() {
    tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (tooltip_ == nullptr) {
        ThrowLastError();
    }
    // The list is the tool; the tooltip watches its mouse messages. Its text
    // starts empty, so nothing shows until the first hint is set.
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(tmf_id::ListBox1));
    char empty[] = "";
    tool.lpszText = empty;
    ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageA(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP,
                   MAKELPARAM(korv::behaviour::kHintHidePauseMs, 0));
    // Long paths stay on one line.
    ::SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, -1);
}
