// The main window on the system's controls: its frame, its controls found
// by identifier, its menus, and that its views carry out the behaviour's
// interfaces truly.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/control_ids.h"
#include "support/main_window_harness.h"

using korv::winui_test::MainWindowHarness;
using korv::winui_test::PlaceInParent;
using Kind = korv::winui_test::ScriptedPrompter::Kind;

namespace {

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

LOGFONTA FontOf(HWND window) {
    LOGFONTA font{};
    auto* handle = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    EXPECT_NE(handle, nullptr);
    ::GetObjectA(handle, sizeof font, &font);
    return font;
}

std::string MenuText(HMENU menu, int position) {
    char text[128] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

}  // namespace

TEST(MainWindow, FrameIsFixedWithItsClientBelowTheMenuBar) {
    MainWindowHarness h;
    HWND mf = h.mf->Handle();
    EXPECT_EQ(TextOf(mf), "Korvane");
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(mf, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(::GetWindowLongPtrW(mf, GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0u);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_CAPTION),
              static_cast<DWORD>(WS_SYSMENU | WS_MINIMIZEBOX | WS_CAPTION));
    EXPECT_NE(ex_style & WS_EX_ACCEPTFILES, 0u);
    EXPECT_NE(::GetMenu(mf), nullptr);
    RECT client{};
    ::GetClientRect(mf, &client);
    EXPECT_EQ(client.right, 273);
    EXPECT_EQ(client.bottom, 363);
    EXPECT_TRUE(::IsWindowVisible(mf));

    RECT outer{};
    ::GetWindowRect(mf, &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    // The hidden panel and a fresh list, with the buttons that need files
    // disabled.
    EXPECT_FALSE(::IsWindowVisible(h.af->window));
    EXPECT_EQ(h.Entries(), std::vector<std::string>{"No files added"});
    EXPECT_FALSE(::IsWindowEnabled(h.Control(tmf_id::Button)));
    EXPECT_FALSE(::IsWindowEnabled(h.Control(tmf_id::SpeedButton2)));
    EXPECT_TRUE(::IsWindowEnabled(h.Control(tmf_id::SpeedButton1)));
}

TEST(MainWindow, ControlsLieWhereTheyBelongInTheirFonts) {
    MainWindowHarness h;
    struct Expected {
        int id;
        const char* window_class;
        const char* caption;
        RECT place;
        const char* face;
        int height;
        bool bold;
    };
    const Expected controls[] = {
        {tmf_id::GroupBox1, "Button", "Files", {0, 0, 273, 177}, "MS Sans Serif", -11, false},
        {tmf_id::ListBox1, "ListBox", "", {8, 16, 264, 142}, "Times New Roman", -13, false},
        {tmf_id::SpeedButton1, "KorvSpeedButton", "", {8, 148, 33, 170}, nullptr, 0, false},
        {tmf_id::SpeedButton2, "KorvSpeedButton", "", {40, 148, 65, 170}, nullptr, 0, false},
        {tmf_id::Button4,
         "Button",
         "Show Advanced &Options >>>>>",
         {8, 181, 264, 199},
         "MS Sans Serif",
         -11,
         false},
        {tmf_id::Label3, "Static", "Find:", {8, 202, 31, 215}, "MS Sans Serif", -11, false},
        {tmf_id::Edit2, "Edit", "", {72, 202, 264, 252}, "Courier New", -11, false},
        {tmf_id::Label4, "Static", "Replace to:", {8, 256, 63, 269}, "MS Sans Serif", -11, false},
        {tmf_id::Edit3, "Edit", "", {72, 256, 264, 306}, "Courier New", -11, false},
        {tmf_id::Button,
         "Button",
         "Replace All &Now",
         {72, 310, 183, 335},
         "MS Sans Serif",
         -11,
         true},
    };
    for (const Expected& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = h.Control(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_STRCASEEQ(ClassOf(control).c_str(), c.window_class);
        EXPECT_EQ(TextOf(control), c.caption);
        const RECT place = PlaceInParent(control);
        EXPECT_EQ(place.left, c.place.left);
        EXPECT_EQ(place.top, c.place.top);
        EXPECT_EQ(place.right, c.place.right);
        EXPECT_EQ(place.bottom, c.place.bottom);
        if (c.face != nullptr) {
            const LOGFONTA font = FontOf(control);
            EXPECT_STREQ(font.lfFaceName, c.face);
            EXPECT_EQ(font.lfHeight, c.height);
            EXPECT_EQ(font.lfWeight >= FW_BOLD, c.bold);
        }
    }
    EXPECT_EQ(FontOf(h.Control(tmf_id::ListBox1)).lfCharSet, TURKISH_CHARSET);
}

TEST(MainWindow, TabOrderMemosAndButtonsAreSetUpForTyping) {
    MainWindowHarness h;
    // Files enable the run button, so it takes part in the tab order.
    h.Drop({L"C:\\one"});
    HWND mf = h.mf->Handle();
    const int order[] = {tmf_id::ListBox1, tmf_id::Button4, tmf_id::Edit2, tmf_id::Edit3,
                         tmf_id::Button};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        EXPECT_EQ(::GetNextDlgTabItem(mf, h.Control(order[i]), FALSE), h.Control(order[i + 1]))
            << i;
    }
    for (int memo : {tmf_id::Edit2, tmf_id::Edit3}) {
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(h.Control(memo), GWL_STYLE));
        const DWORD wanted =
            ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL;
        EXPECT_EQ(style & wanted, wanted) << memo;
    }
    // Neither button is the default one, so Enter in a memo presses none.
    for (int button : {tmf_id::Button, tmf_id::Button4}) {
        const auto code = ::SendMessageW(h.Control(button), WM_GETDLGCODE, 0, 0);
        EXPECT_EQ(code & DLGC_DEFPUSHBUTTON, 0) << button;
    }
    const auto list =
        static_cast<DWORD>(::GetWindowLongPtrW(h.Control(tmf_id::ListBox1), GWL_STYLE));
    EXPECT_EQ(list & (LBS_OWNERDRAWFIXED | LBS_EXTENDEDSEL | LBS_HASSTRINGS | LBS_SORT),
              static_cast<DWORD>(LBS_OWNERDRAWFIXED | LBS_EXTENDEDSEL));
    EXPECT_EQ(::SendMessageW(h.Control(tmf_id::ListBox1), LB_GETITEMHEIGHT, 0, 0), 13);
}

TEST(MainWindow, MenusCarryTheirItems) {
    MainWindowHarness h;
    HMENU bar = ::GetMenu(h.mf->Handle());
    ASSERT_EQ(::GetMenuItemCount(bar), 1);
    EXPECT_EQ(MenuText(bar, 0), "Help");
    HMENU help = ::GetSubMenu(bar, 0);
    struct Item {
        HMENU menu;
        int position;
        int id;
        const char* caption;
    };
    const Item items[] = {
        {help, 0, tmf_id::VersionHistory1, "Version History"},
        {help, 1, tmf_id::About1, "About..."},
        {h.mf->PopupMenu1(), 0, tmf_id::Loadfilelist1, "Load filename list..."},
        {h.mf->PopupMenu1(), 1, tmf_id::Savefilelistas1, "Save filename list as..."},
        {h.mf->PopupMenu2(), 0, tmf_id::Files1, "Add File(s)..."},
        {h.mf->PopupMenu3(), 0, tmf_id::Deleteselected1, "Delete Selected...\tDel"},
        {h.mf->PopupMenu3(), 1, tmf_id::Deleteall1, "Delete All..."},
    };
    for (const Item& item : items) {
        EXPECT_EQ(MenuText(item.menu, item.position), item.caption);
        EXPECT_EQ(static_cast<int>(::GetMenuItemID(item.menu, item.position)), item.id);
    }
    EXPECT_EQ(::GetMenuItemCount(help), 2);
    EXPECT_EQ(::GetMenuItemCount(h.mf->PopupMenu1()), 2);
    EXPECT_EQ(::GetMenuItemCount(h.mf->PopupMenu2()), 1);
    EXPECT_EQ(::GetMenuItemCount(h.mf->PopupMenu3()), 2);

    // The menu commands reach their handlers.
    ::SendMessageW(h.mf->Handle(), WM_COMMAND, tmf_id::VersionHistory1, 0);
    EXPECT_EQ(h.editor.opened, std::vector<std::string>{h.paths.Versions});
    ::SendMessageW(h.mf->Handle(), WM_COMMAND, tmf_id::About1, 0);
    EXPECT_EQ(h.dialogs.abouts, 1);
    h.prompter.AnswerFiles({});
    ::SendMessageW(h.mf->Handle(), WM_COMMAND, tmf_id::Files1, 0);
    h.prompter.AnswerFiles({});
    ::SendMessageW(h.mf->Handle(), WM_COMMAND, tmf_id::Loadfilelist1, 0);
    h.prompter.AnswerFiles({});
    ::SendMessageW(h.mf->Handle(), WM_COMMAND, tmf_id::Savefilelistas1, 0);
    EXPECT_EQ(h.prompter.Count(Kind::OpenMany), 1u);
    EXPECT_EQ(h.prompter.Count(Kind::OpenOne), 1u);
    EXPECT_EQ(h.prompter.Count(Kind::Save), 1u);
    EXPECT_EQ(h.prompter.Unexpected(), 0);
}

TEST(MainWindow, WhatEscapesAHandlerIsShownInTheErrorBoxAndTheWindowGoesOn) {
    MainWindowHarness h;
    // A filename list that cannot be read: the handler lets the error go.
    h.prompter.AnswerFiles({h.dir.File("missing.list")});
    ::SendMessageW(h.mf->Handle(), WM_COMMAND, tmf_id::Loadfilelist1, 0);
    ASSERT_EQ(h.prompter.Count(Kind::Error), 1u);
    const auto& box = h.prompter.Calls().back();
    EXPECT_EQ(box.caption, "Korvane");
    EXPECT_NE(box.text.find("missing.list"), std::string::npos) << box.text;
    EXPECT_EQ(box.text.back(), '.');
    // The window still answers.
    ::SendMessageW(h.mf->Handle(), WM_COMMAND, tmf_id::VersionHistory1, 0);
    EXPECT_EQ(h.editor.opened.size(), 1u);
}
