// The file list on the system's list box: drops, the caret as the current
// entry, keys, prefix typing, the hint and the owner-drawn entries.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "main/control_ids.h"
#include "support/main_window_harness.h"
#include "temp_dir.h"
#include "wide_names.h"

using korv::winui_test::MainWindowHarness;
using Kind = korv::winui_test::ScriptedPrompter::Kind;

namespace {

int Caret(HWND list) {
    return static_cast<int>(::SendMessageW(list, LB_GETCARETINDEX, 0, 0));
}

// The pixels of one list entry drawn by the window's own owner-draw code
// into a bitmap of ours, as the list box asks for it.
std::vector<COLORREF> DrawnEntry(const MainWindowHarness& h, int index, UINT state) {
    HWND list = h.Control(tmf_id::ListBox1);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 13);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = tmf_id::ListBox1;
    item.itemID = static_cast<UINT>(index);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = list;
    item.hDC = dc;
    item.rcItem = {0, 0, 200, 13};
    ::SendMessageW(h.mf->Handle(), WM_DRAWITEM, tmf_id::ListBox1, reinterpret_cast<LPARAM>(&item));
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 200; ++x) {
            pixels.push_back(::GetPixel(dc, x, y));
        }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// The same entry drawn here, 2 pixels in, with or without access keys.
std::vector<COLORREF> Reference(HWND list, const std::string& text, UINT prefix) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 13);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT rect{0, 0, 200, 13};
    ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ old_font =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    rect.left = 2;
    ::DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | prefix);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 200; ++x) {
            pixels.push_back(::GetPixel(dc, x, y));
        }
    }
    ::SelectObject(dc, old_font);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

TEST(MainWindowList, DropsArriveWholeAndTheDropIsReleased) {
    MainWindowHarness h;
    // Longer than the 255 characters a fixed buffer would keep.
    const std::wstring long_path = L"C:\\" + std::wstring(300, L'd') + L"\\file.txt";
    const std::wstring folder = L"C:\\some folder";
    HGLOBAL block = h.Drop({L"C:\\a&b.txt", long_path, folder});
    const std::vector<std::string> expected = {
        "C:\\a&b.txt", "C:\\" + std::string(300, 'd') + "\\file.txt", "C:\\some folder"};
    EXPECT_EQ(h.Entries(), expected);
    // The shell's memory went back with DragFinish.
    EXPECT_EQ(::GlobalFlags(block), static_cast<UINT>(GMEM_INVALID_HANDLE));
    HWND list = h.Control(tmf_id::ListBox1);
    EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    // The last dropped file is the current entry, the list box's caret.
    EXPECT_EQ(Caret(list), 2);
    EXPECT_EQ(h.mf->Files().Current(), 2);
    EXPECT_TRUE(::IsWindowEnabled(h.Control(tmf_id::Button)));
    EXPECT_TRUE(::IsWindowEnabled(h.Control(tmf_id::SpeedButton2)));
    EXPECT_EQ(h.prompter.Calls().size(), 0u);
    // The painting held back while the entries came in resumes once the
    // queue is read.
    EXPECT_TRUE(korv::winui_test::PumpUntil([list] { return ::IsWindowVisible(list) != FALSE; }));
}

TEST(MainWindowList, ADroppedFolderAddsItsTextFiles) {
    MainWindowHarness h;
    const std::string folder = h.dir.File("drop");
    for (const char* name : {"b.txt", "a\\c.txt", ".git\\config"}) {
        const std::string path = folder + "\\" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        korv::test::WriteFile(path, "x");
    }
    korv::test::WriteFile(folder + "\\image.bin", std::string("GIF\0", 4));
    h.Drop({korv::WideName(folder).value()});
    EXPECT_EQ(h.Entries(), (std::vector<std::string>{folder + "\\a\\c.txt", folder + "\\b.txt"}));
    HWND list = h.Control(tmf_id::ListBox1);
    EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(Caret(list), 1);
    EXPECT_TRUE(::IsWindowEnabled(h.Control(tmf_id::Button)));
    EXPECT_EQ(h.prompter.Calls().size(), 0u);
    // The walk's busy cursor is gone.
    EXPECT_FALSE(h.mf->Busy());
}

TEST(MainWindowList, CurrentEntryIsTheCaretNotTheSelection) {
    MainWindowHarness h;
    h.Drop({L"one", L"two", L"three", L"four"});
    HWND list = h.Control(tmf_id::ListBox1);
    ::SetFocus(list);
    // Entry 0 and 1 selected by the user, the caret then moved alone.
    ::SendMessageW(list, LB_SETSEL, TRUE, 0);
    ::SendMessageW(list, LB_SETSEL, TRUE, 1);
    ::SendMessageW(list, LB_SETCARETINDEX, 3, FALSE);
    EXPECT_EQ(h.mf->Files().Current(), 3);
    // Delete with Yes removes the selection, not the current entry.
    h.prompter.AnswerAsk(true);
    ::SendMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_EQ(h.prompter.Count(Kind::Ask), 1u);
    EXPECT_EQ(h.Entries(), (std::vector<std::string>{"three", "four"}));
    EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 2);

    // A prefix typed makes its entry the only selected one and the caret.
    ::SendMessageW(list, WM_CHAR, 'F', 0);
    EXPECT_EQ(h.mf->Files().Current(), 1);
    EXPECT_EQ(Caret(list), 1);
    EXPECT_EQ(::SendMessageW(list, LB_GETSEL, 1, 0), 1);
    EXPECT_EQ(::SendMessageW(list, LB_GETSELCOUNT, 0, 0), 1);
}

TEST(MainWindowList, DeleteInAMemoLeavesTheListAlone) {
    MainWindowHarness h;
    h.Drop({L"C:\\one"});
    HWND memo = h.Control(tmf_id::Edit2);
    ::SetWindowTextA(memo, "xy");
    ::SetFocus(memo);
    ::SendMessageW(memo, EM_SETSEL, 0, 0);
    ::SendMessageW(memo, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(h.prompter.Calls().size(), 0u);
    EXPECT_EQ(h.Entries(), std::vector<std::string>{"C:\\one"});
    char text[8] = {};
    ::GetWindowTextA(memo, text, sizeof text);
    EXPECT_STREQ(text, "y");
}

TEST(MainWindowList, HintShowsTheCurrentEntryForTenSeconds) {
    MainWindowHarness h;
    h.Drop({L"C:\\one & two", L"C:\\three"});
    HWND list = h.Control(tmf_id::ListBox1);
    ::SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
    ::SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 40));
    char text[64] = {};
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = h.mf->Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = text;
    ::SendMessageA(h.mf->Tooltip(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "C:\\one & two");
    EXPECT_EQ(::SendMessageW(h.mf->Tooltip(), TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 10000);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(h.mf->Tooltip(), GWL_STYLE));
    EXPECT_NE(style & TTS_NOPREFIX, 0u);
}

TEST(MainWindowList, EntriesAreDrawnWithTheirAmpersands) {
    MainWindowHarness h;
    h.Drop({L"C:\\a&b&&c.txt"});
    HWND list = h.Control(tmf_id::ListBox1);
    const std::vector<COLORREF> drawn = DrawnEntry(h, 0, 0);
    const std::string entry = "C:\\a&b&&c.txt";
    EXPECT_EQ(drawn, Reference(list, entry, DT_NOPREFIX));
    // The reference tells the two ways apart at all.
    EXPECT_NE(drawn, Reference(list, entry, 0));

    // Selected: the highlight colour fills the item; focused: the dotted
    // rectangle changes its edge.
    const std::vector<COLORREF> selected = DrawnEntry(h, 0, ODS_SELECTED);
    EXPECT_EQ(selected.back(), ::GetSysColor(COLOR_HIGHLIGHT));
    const std::vector<COLORREF> focused = DrawnEntry(h, 0, ODS_FOCUS);
    int edge_changes = 0;
    int inner_changes = 0;
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 200; ++x) {
            const std::size_t at = static_cast<std::size_t>(y * 200 + x);
            const bool edge = y == 0 || y == 12 || x == 0 || x == 199;
            (edge ? edge_changes : inner_changes) += focused[at] != drawn[at] ? 1 : 0;
        }
    }
    EXPECT_GT(edge_changes, 100);
    EXPECT_EQ(inner_changes, 0);
}
