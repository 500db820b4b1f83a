// How the main window's messages reach the handlers, the list's drawing
// and keys, and what the window offers a run.

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "ansi_text.h"
#include "main/control_ids.h"
#include "main/message_pump.h"
#include "main/tmf.h"

namespace {

constexpr int kListItemHeight = 13;
// The text starts this far in from the item's left edge.
constexpr int kListTextIndent = 2;
// Posted to the list: the changes made since are all in, paint them.
constexpr UINT kResumeListPainting = WM_APP + 1;

// Releases a drop whatever becomes of its paths.
class DropRelease {
public:
    explicit DropRelease(HDROP drop) : drop_(drop) {}
    ~DropRelease() { ::DragFinish(drop_); }
    DropRelease(const DropRelease&) = delete;
    DropRelease& operator=(const DropRelease&) = delete;

private:
    HDROP drop_;
};

// The dropped path `index` whole, whatever its length, in the ANSI code
// page. A character the code page lacks stands as "?", which no file name
// holds, so the path can never name another file.
std::string DroppedPath(HDROP drop, UINT index) {
    const UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const UINT copied = ::DragQueryFileW(drop, index, wide.data(), length + 1);
    wide.resize(copied);
    std::string bytes;
    (void)korv::win32::ToAnsi(wide, bytes);
    return bytes;
}

}  // namespace

LRESULT CALLBACK TMF::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<TMF*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wparam, lparam);
    }
    // No exception may cross the system's frames: the message loop's guard
    // is here, around every handler.
    try {
        return self->OnMessage(message, wparam, lparam);
    } catch (...) {
        korv::behaviour::ShowErrorBoxForCurrentException(self->prompter_);
        return 0;
    }
}

LRESULT TMF::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
            if (item->CtlType == ODT_LISTBOX && item->CtlID == tmf_id::ListBox1) {
                item->itemHeight = kListItemHeight;
                return TRUE;
            }
            break;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            if (item->CtlType == ODT_LISTBOX && item->CtlID == tmf_id::ListBox1) {
                DrawListItem(*item);
                return TRUE;
            }
            break;
        }
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wparam) == Control(tmf_id::ListBox1)) {
                POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
                if (lparam == -1) {
                    ::GetCursorPos(&at);
                }
                PopUp(popup1_.Get(), at);
                return 0;
            }
            break;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wparam));
            return 0;
        case WM_TIMER:
            if (wparam == tmf_id::Timer1 && behaviour_) {
                Guarded([this] { behaviour_->Timer1Timer(); });
            }
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            if (closing_) {
                ::PostQuitMessage(0);
            }
            return 0;
        case WM_NCDESTROY: {
            HWND gone = window_;
            window_ = nullptr;
            return ::DefWindowProcW(gone, message, wparam, lparam);
        }
        default:
            break;
    }
    return ::DefWindowProcW(window_, message, wparam, lparam);
}

void TMF::OnCommand(int id, int code) {
    if (!behaviour_) {
        return;
    }
    using korv::behaviour::MainWindow;
    const auto run = [this](void (MainWindow::*handler)()) {
        Guarded([this, handler] { (behaviour_.get()->*handler)(); });
    };
    POINT cursor{};
    switch (id) {
        case tmf_id::Button:
            if (code == BN_CLICKED) {
                run(&MainWindow::ButtonClick);
            }
            break;
        case tmf_id::Button4:
            if (code == BN_CLICKED) {
                run(&MainWindow::Button4Click);
            }
            break;
        case tmf_id::SpeedButton1:
        case tmf_id::SpeedButton2:
            // The menu opens with its top-left corner at the mouse cursor.
            ::GetCursorPos(&cursor);
            PopUp(id == tmf_id::SpeedButton1 ? popup2_.Get() : popup3_.Get(), cursor);
            break;
        case tmf_id::ListBox1:
            if (code == LBN_DBLCLK) {
                run(&MainWindow::ListBox1DblClick);
            }
            break;
        case tmf_id::VersionHistory1:
            run(&MainWindow::VersionHistory1Click);
            break;
        case tmf_id::About1:
            Guarded([this] { dialogs_.ShowAbout(window_); });
            break;
        case tmf_id::Loadfilelist1:
            run(&MainWindow::Loadfilelist1Click);
            break;
        case tmf_id::Savefilelistas1:
            run(&MainWindow::Savefilelistas1Click);
            break;
        case tmf_id::Files1:
            run(&MainWindow::Files1Click);
            break;
        case tmf_id::Deleteselected1:
            run(&MainWindow::Deleteselected1Click);
            break;
        case tmf_id::Deleteall1:
            run(&MainWindow::Deleteall1Click);
            break;
        default:
            break;
    }
}

void TMF::PopUp(HMENU menu, POINT at) {
    // The window comes to the front first, so a click elsewhere closes the
    // menu.
    ::SetForegroundWindow(window_);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_,
                     nullptr);
}

void TMF::OnDropFiles(HDROP drop) {
    const DropRelease release(drop);
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> paths;
    paths.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        paths.push_back(DroppedPath(drop, i));
    }
    Guarded([this, &paths] { behaviour_->WMDropFiles(paths); });
}

void TMF::OnClose() {
    if (!behaviour_->FormCloseQuery()) {
        // The run ends after the file it is working on; the window closes
        // then.
        return;
    }
    // A failure to write the closing line is shown; the program ends anyway.
    Guarded([this] { behaviour_->FormClose(); });
    closing_ = true;
    ::DestroyWindow(window_);
}

void TMF::DrawListItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (static_cast<int>(item.itemID) >= 0) {
        ::FillRect(dc, &rect, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        const std::string& entry = list_box_->Shown(static_cast<int>(item.itemID));
        HGDIOBJ old_font = ::SelectObject(dc, list_font_.Get());
        const int old_mode = ::SetBkMode(dc, TRANSPARENT);
        const COLORREF old_colour =
            ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text = rect;
        text.left += kListTextIndent;
        // An ampersand is drawn as it is, never as an access key.
        ::DrawTextA(dc, entry.data(), static_cast<int>(entry.size()), &text,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        ::SetTextColor(dc, old_colour);
        ::SetBkMode(dc, old_mode);
        ::SelectObject(dc, old_font);
    }
    if ((item.itemState & ODS_FOCUS) != 0) {
        ::DrawFocusRect(dc, &rect);
    }
}

LRESULT CALLBACK TMF::ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                               DWORD_PTR self) {
    auto* window = reinterpret_cast<TMF*>(self);
    try {
        return window->OnListMessage(list, message, wparam, lparam);
    } catch (...) {
        korv::behaviour::ShowErrorBoxForCurrentException(window->prompter_);
        return 0;
    }
}

LRESULT TMF::OnListMessage(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_KEYDOWN:
            if (wparam == VK_DELETE && behaviour_) {
                Guarded([this] { behaviour_->ListBox1KeyDown(korv::behaviour::kDeleteKey); });
            }
            // The Delete key is not consumed.
            break;
        case WM_CHAR:
            if (behaviour_ && (wparam == VK_BACK || wparam >= 0x20) && wparam != 0x7F) {
                OnListChar(static_cast<wchar_t>(wparam));
                return 0;
            }
            break;
        case WM_MOUSEMOVE:
            if (behaviour_) {
                Guarded([this] { behaviour_->ListBox1MouseMove(); });
            }
            break;
        case kResumeListPainting:
            DeferListPainting(false);
            return 0;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(list, &TMF::ListProc, 1);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(list, message, wparam, lparam);
}

void TMF::OnListChar(wchar_t unit) {
    if (unit == VK_BACK) {
        high_surrogate_ = 0;
        Guarded([this] { behaviour_->ListBox1Backspace(); });
        return;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        high_surrogate_ = unit;
        return;
    }
    std::wstring character;
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (high_surrogate_ == 0) {
            return;
        }
        character = {high_surrogate_, unit};
    } else {
        character = {unit};
    }
    high_surrogate_ = 0;
    std::string typed;
    (void)korv::win32::ToAnsi(character, typed);
    Guarded([this, &typed] { behaviour_->ListBox1KeyPress(typed); });
}

void TMF::Beep() {
    ::MessageBeep(0);
}

void TMF::SetBusyCursor(bool busy) {
    busy_.Set(busy);
}

void TMF::ProcessEvents() {
    ProcessWaitingMessages();
}

void TMF::ProcessEventsUntil(const std::function<bool()>& done) {
    while (!done()) {
        // Input seen but not yet handled counts as well, so nothing waiting
        // is slept over.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        ProcessEvents();
    }
}

void TMF::WakeUp() {
    // Any posted message ends the wait; this one does nothing else.
    if (window_ != nullptr) {
        ::PostMessageW(window_, WM_NULL, 0, 0);
    }
}

void TMF::DeferListPaintingUntilIdle() {
    // A drop or a loaded list adds entries by the thousand, each scrolled
    // into view at once: painted one by one, that takes far longer than the
    // adding. They are painted together once the message queue is read
    // again (also by a message box's own loop).
    if (list_deferred_ || window_ == nullptr) {
        return;
    }
    DeferListPainting(true);
    ::PostMessageW(Control(tmf_id::ListBox1), kResumeListPainting, 0, 0);
}

void TMF::DeferListPainting(bool defer) {
    // Meanwhile the list only takes note; it paints anew when let paint
    // again.
    if (defer == list_deferred_ || window_ == nullptr) {
        return;
    }
    list_deferred_ = defer;
    HWND list = Control(tmf_id::ListBox1);
    ::SendMessageW(list, WM_SETREDRAW, defer ? FALSE : TRUE, 0);
    if (!defer) {
        ::InvalidateRect(list, nullptr, TRUE);
    }
}

void TMF::CloseLater() {
    if (window_ != nullptr) {
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
    }
}

int TMF::PrimaryScreenWidth() const {
    return ::GetSystemMetrics(SM_CXSCREEN);
}

void TMF::ShowResults(std::int32_t files_searched, std::int64_t files_replaced) {
    // The dialog's own loop paints the main window under it.
    DeferListPainting(false);
    dialogs_.ShowResults(window_, files_searched, files_replaced);
}
