// The about box as a window: its controls, the icon from the program's
// resources, the links lit through WM_CTLCOLORSTATIC as the mouse moves
// over the controls the system delivers the moves to, their hints,
// cursor and clicks, and OK.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "aboutform/about_box.h"
#include "aboutform/maker.h"
#include "aboutform/tabout.h"
#include "modal_answerer.h"
#include "resources/resource_ids.h"
#include "support/label_text.h"
#include "texts.h"
#include "view_probes.h"

namespace {

namespace text = korv::behaviour::text;
using korv::test::ChildRect;
using korv::test::ModalAnswerer;
using korv::test::RecordingOpener;
using korv::test::StaticTextColour;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

TEST(TAbout, HasEveryControlWhereTheBoxIsLaidOut) {
    RecordingOpener opener;
    TAbout about(nullptr, opener);
    HWND form = about.Handle();

    EXPECT_EQ(korv::test::TextOf(form), text::kAboutCaption);
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 234);
    EXPECT_EQ(client.bottom, 161);
    const LONG style = GetWindowLongA(form, GWL_STYLE);
    EXPECT_NE(style & WS_CAPTION, 0);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    RECT outer{};
    GetWindowRect(form, &outer);
    EXPECT_LE(std::abs((outer.left + outer.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    EXPECT_LE(std::abs((outer.top + outer.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);

    struct Control {
        int Id;
        int Left, Top, Width, Height;  // a width of 0: as wide as the text
        const char* Caption;
    };
    const Control controls[] = {
        {tabout_id::Bevel1, 10, 10, 34, 34, ""},
        {tabout_id::Image1, 11, 11, 32, 32, ""},
        {tabout_id::Label1, 55, 8, 0, 13, korv::maker::kName},
        {tabout_id::Label2, 55, 24, 0, 13, "Korvane 1.00"},
        {tabout_id::Label4, 55, 64, 0, 13, text::kWebSiteLabel},
        {tabout_id::Label5, 108, 64, 0, 13, korv::maker::kWebHost},
        {tabout_id::Label6, 55, 80, 0, 13, text::kEmailLabel},
        {tabout_id::Label7, 108, 80, 0, 13, korv::maker::kEmail},
        {tabout_id::Label8, 55, 104, 0, 13, text::kLicence},
        {tabout_id::BitBtn1, 55, 128, 106, 25, text::kOk},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.Id);
        HWND control = GetDlgItem(form, c.Id);
        ASSERT_NE(control, nullptr);
        const RECT bounds = ChildRect(control);
        EXPECT_EQ(bounds.left, c.Left);
        EXPECT_EQ(bounds.top, c.Top);
        EXPECT_EQ(bounds.bottom - bounds.top, c.Height);
        if (c.Width != 0) {
            EXPECT_EQ(bounds.right - bounds.left, c.Width);
        } else {
            EXPECT_GE(bounds.right - bounds.left, korv::winui::TextWidth(control, c.Caption));
        }
        if (c.Id != tabout_id::Image1) {
            EXPECT_EQ(korv::test::TextOf(control), c.Caption);
        }
    }
    // The program's own icon, at its own size.
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(about.Image1, STM_GETICON, 0, 0)),
              LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_KORV)));
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_KORV)), nullptr);
}

TEST(TAbout, OkButtonShowsTheGreenCheckBesideItsCaption) {
    RecordingOpener opener;
    TAbout about(nullptr, opener);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 106, 25);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, canvas);
    const auto green_pixels = [&](bool enabled) {
        EnableWindow(about.BitBtn1, enabled);
        SendMessageA(about.BitBtn1, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        int green = 0;
        for (int y = 0; y < 25; ++y) {
            for (int x = 0; x < 53; ++x) {  // the left half: the glyph is left of "OK"
                green += GetPixel(dc, x, y) == RGB(0, 128, 0) ? 1 : 0;
            }
        }
        return green;
    };
    EXPECT_GT(green_pixels(true), 30);
    EXPECT_EQ(green_pixels(false), 0) << "the greyed twin when disabled";
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
}

// The controls the system hands a mouse move to at the middle of each,
// and the look of both links afterwards, each move starting from a lit web
// link.
TEST(TAbout, LinksLightUnderTheMouseWhereverTheSystemDeliversTheMove) {
    RecordingOpener opener;
    TAbout about(nullptr, opener);
    ShowWindow(about.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(about.Handle());
    EXPECT_EQ(StaticTextColour(about.Label5), kBlue);
    EXPECT_EQ(StaticTextColour(about.Label7), kBlue);

    struct Case {
        HWND Over;
        COLORREF Web;
        COLORREF Mail;
    };
    const Case cases[] = {
        {about.Label5, kRed, kBlue},  {about.Label7, kBlue, kRed},    {about.Label1, kBlue, kBlue},
        {about.Label2, kBlue, kBlue}, {about.Label4, kBlue, kBlue},   {about.Label6, kBlue, kBlue},
        {about.Image1, kBlue, kBlue}, {about.BitBtn1, kBlue, kBlue},  {about.Label8, kRed, kBlue},
        {about.Bevel1, kRed, kBlue},  {about.Handle(), kBlue, kBlue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(GetDlgCtrlID(c.Over));
        SendMessageA(about.Label5, WM_MOUSEMOVE, 0, 0);
        ASSERT_EQ(StaticTextColour(about.Label5), kRed);
        // Where the system sends a move at this point: the bevel only at
        // its frame, the box at a bare spot.
        RECT area{};
        GetWindowRect(c.Over, &area);
        POINT at{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        if (c.Over == about.Bevel1) {
            at = {area.left, area.top};
        } else if (c.Over == about.Handle()) {
            at = {area.right - 10, area.bottom - 10};
        }
        HWND target = WindowFromPoint(at);
        ASSERT_EQ(target, c.Over);
        POINT local = at;
        ScreenToClient(target, &local);
        SendMessageA(target, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
        EXPECT_EQ(StaticTextColour(about.Label5), c.Web);
        EXPECT_EQ(StaticTextColour(about.Label7), c.Mail);
    }
    // Lit is red and underlined, plain blue with no style.
    SendMessageA(about.Label7, WM_MOUSEMOVE, 0, 0);
    EXPECT_TRUE(korv::test::FontOf(about.Label7).lfUnderline);
    EXPECT_FALSE(korv::test::FontOf(about.Label5).lfUnderline);
    EXPECT_EQ(korv::test::FontOf(about.Label5).lfWeight, FW_NORMAL);
}

TEST(TAbout, LinksCarryTheirHintsAndHandCursorAndOpenTheirTargets) {
    RecordingOpener opener;
    TAbout about(nullptr, opener);
    struct Link {
        HWND Label;
        std::string Hint;
        std::string Target;
    };
    const Link links[] = {
        {about.Label5, korv::behaviour::WebLinkHint(), korv::maker::kWebAddress},
        {about.Label7, korv::behaviour::MailLinkHint(),
         std::string("mailto:") + korv::maker::kEmail},
    };
    EXPECT_EQ(SendMessageA(about.Hints, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 10000);
    for (const Link& link : links) {
        SCOPED_TRACE(link.Hint);
        char hint[256] = {};
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = about.Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(link.Label);
        tool.lpszText = hint;
        SendMessageA(about.Hints, TTM_GETTEXTA, sizeof hint, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::string(hint), link.Hint);
        EXPECT_EQ(korv::test::CursorOver(link.Label),
                  LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));

        opener.Opened.clear();
        korv::test::ClickInside(link.Label);
        EXPECT_EQ(opener.Opened, std::vector<std::string>{link.Target});
        EXPECT_TRUE(IsWindow(about.Handle()));
    }
    EXPECT_NE(korv::test::CursorOver(about.Label8), LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
}

TEST(TAbout, EscapeLeavesItOpenAndEnterClosesAndFreesIt) {
    RecordingOpener opener;
    TAbout about(nullptr, opener);
    HWND form = about.Handle();
    bool focus_on_ok = false;
    bool open_after_escape = false;
    ModalAnswerer answerer([](HWND) {});
    answerer.Then([&] {
        focus_on_ok = GetFocus() == about.BitBtn1;
        PostMessageA(about.BitBtn1, WM_KEYDOWN, VK_ESCAPE, 1);
        answerer.Then([&] {
            open_after_escape = IsWindowVisible(form) != FALSE;
            PostMessageA(about.BitBtn1, WM_KEYDOWN, VK_RETURN, 1);
        });
    });

    about.ShowModal();

    EXPECT_TRUE(focus_on_ok);
    EXPECT_TRUE(open_after_escape);
    EXPECT_FALSE(IsWindow(form));
}

}  // namespace
