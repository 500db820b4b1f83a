// The results dialog as a window: its controls, the numbers placed from
// their real widths, the stretched arrow, and the ways it closes.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "modal_answerer.h"
#include "results/trf.h"
#include "support/label_text.h"
#include "texts.h"
#include "view_probes.h"

namespace {

namespace text = korv::behaviour::text;
using korv::test::ChildRect;
using korv::test::ModalAnswerer;
using korv::test::RecordingEditor;

class CountingBeeper final : public korv::behaviour::Beeper {
public:
    void Beep() override { ++Beeps; }
    int Beeps = 0;
};

constexpr char kLog[] = "C:\\Program Files\\Korvane\\korv.log";

TEST(TRF, HasEveryControlWhereTheDialogIsLaidOut) {
    RecordingEditor editor;
    TRF rf(nullptr, editor, kLog);
    HWND form = rf.Handle();

    EXPECT_EQ(korv::test::TextOf(form), text::kResultsCaption);
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, 289);
    EXPECT_EQ(client.bottom, 124);
    const LONG style = GetWindowLongA(form, GWL_STYLE);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

    struct Control {
        int Id;
        int Left, Top, Width, Height;  // a width of 0: as wide as the text
        const char* Caption;
    };
    const Control controls[] = {
        {trf_id::Label5, 93, 16, 0, 13, text::kFinished},
        {trf_id::Label1, 93, 36, 0, 13, text::kFilesSearched},
        {trf_id::Label3, 261, 36, 0, 13, "0"},
        {trf_id::Label2, 93, 57, 0, 13, text::kFilesReplaced},
        {trf_id::Label4, 261, 57, 0, 13, "0"},
        {trf_id::Button1, 93, 86, 85, 25, text::kShowLog},
        {trf_id::Button2, 188, 86, 85, 25, text::kOk},
        {trf_id::Panel1, 14, 18, 65, 51, ""},
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
        EXPECT_EQ(korv::test::TextOf(control), c.Caption);
    }
    // The ampersand of "Files found & replaced:" is shown, not a key mark.
    EXPECT_NE(GetWindowLongA(rf.Label2, GWL_STYLE) & SS_NOPREFIX, 0);
    EXPECT_EQ(GetWindowLongA(rf.Button2, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(rf.Button1, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    // The tab order: OK, then "Show LOG file".
    EXPECT_EQ(GetNextDlgTabItem(form, rf.Button2, FALSE), rf.Button1);
    EXPECT_EQ(GetNextDlgTabItem(form, rf.Button1, FALSE), rf.Button2);
}

TEST(TRF, NumbersEndEighteenPixelsBeforeTheRightEdgeInBlue) {
    RecordingEditor editor;
    TRF rf(nullptr, editor, kLog);
    rf.SetResults(7, 1234);

    EXPECT_EQ(korv::test::TextOf(rf.Label3), "7");
    EXPECT_EQ(korv::test::TextOf(rf.Label4), "1234");
    EXPECT_EQ(ChildRect(rf.Label3).right, 289 - 18);
    EXPECT_EQ(ChildRect(rf.Label4).right, 289 - 18);
    EXPECT_GT(ChildRect(rf.Label3).left, ChildRect(rf.Label4).left);
    EXPECT_EQ(ChildRect(rf.Label3).top, 36);
    EXPECT_EQ(ChildRect(rf.Label4).top, 57);
    EXPECT_EQ(korv::test::StaticTextColour(rf.Label3), RGB(0, 0, 255));
    EXPECT_EQ(korv::test::StaticTextColour(rf.Label4), RGB(0, 0, 255));
    EXPECT_EQ(korv::test::StaticTextColour(rf.Label1), GetSysColor(COLOR_WINDOWTEXT));

    rf.SetResults(2147483647, 9000000000000000000);
    EXPECT_EQ(korv::test::TextOf(rf.Label4), "9000000000000000000");
    EXPECT_EQ(ChildRect(rf.Label4).right, 289 - 18);
}

TEST(TRF, ArrowIsStretchedOverThePanel) {
    RecordingEditor editor;
    TRF rf(nullptr, editor, kLog);
    HWND image = GetDlgItem(rf.Panel1, trf_id::Image1);
    ASSERT_EQ(image, rf.Image1);
    const RECT bounds = ChildRect(image);
    EXPECT_EQ(bounds.left, 1);
    EXPECT_EQ(bounds.top, 1);
    EXPECT_EQ(bounds.right, 64);
    EXPECT_EQ(bounds.bottom, 50);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 63, 49);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, canvas);
    SendMessageA(image, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    // The arrow's corners, body and tip, where 23 x 17 pixels stretched to
    // 63 x 49 put them.
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 62, 48), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 20, 24), RGB(0, 51, 204));
    EXPECT_EQ(GetPixel(dc, 59, 24), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 30, 1), RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
}

// Closes the dialog as the user would: each way a step after the dialog
// has been shown.
TEST(TRF, ShowsCentredBeepsOnceAndClosesByOkEnterOrTheCloseBox) {
    enum class Close { OkButton, Enter, CloseBox };
    for (Close close : {Close::OkButton, Close::Enter, Close::CloseBox}) {
        SCOPED_TRACE(static_cast<int>(close));
        RecordingEditor editor;
        CountingBeeper beeper;
        TRF rf(nullptr, editor, kLog, &beeper);
        HWND form = rf.Handle();
        int beeps_when_shown = -1;
        bool focus_on_ok = false;
        bool open_after_escape = false;
        RECT outer{};
        ModalAnswerer answerer([&](HWND) {});
        answerer.Then([&] {
            beeps_when_shown = beeper.Beeps;
            focus_on_ok = GetFocus() == rf.Button2;
            GetWindowRect(form, &outer);
            PostMessageA(rf.Button2, WM_KEYDOWN, VK_ESCAPE, 1);
            answerer.Then([&] {
                open_after_escape = IsWindowVisible(form) != FALSE;
                switch (close) {
                    case Close::OkButton:
                        SendMessageA(rf.Button2, BM_CLICK, 0, 0);
                        break;
                    case Close::Enter:
                        PostMessageA(rf.Button2, WM_KEYDOWN, VK_RETURN, 1);
                        break;
                    case Close::CloseBox:
                        PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
                        break;
                }
            });
        });

        rf.ShowModal();

        EXPECT_EQ(beeps_when_shown, 1);
        EXPECT_EQ(beeper.Beeps, 1);
        EXPECT_TRUE(focus_on_ok);
        EXPECT_TRUE(open_after_escape);
        EXPECT_FALSE(IsWindow(form)) << "closing frees the dialog";
        EXPECT_TRUE(editor.Edited.empty());
        const int centre_x = (outer.left + outer.right) / 2;
        const int centre_y = (outer.top + outer.bottom) / 2;
        EXPECT_LE(std::abs(centre_x - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
        EXPECT_LE(std::abs(centre_y - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
    }
}

TEST(TRF, ShowLogOpensTheLogEachTimeAndTheDialogStays) {
    RecordingEditor editor;
    CountingBeeper beeper;
    TRF rf(nullptr, editor, kLog, &beeper);
    std::size_t opened_before_close = 0;
    ModalAnswerer answerer([](HWND) {});
    answerer.Then([&] {
        SendMessageA(rf.Button1, BM_CLICK, 0, 0);
        // Enter on the focused "Show LOG file" presses it, not OK.
        SetFocus(rf.Button1);
        PostMessageA(rf.Button1, WM_KEYDOWN, VK_RETURN, 1);
        answerer.Then([&] {
            opened_before_close = editor.Edited.size();
            SetFocus(rf.Button2);
            PostMessageA(rf.Button2, WM_KEYDOWN, VK_RETURN, 1);
        });
    });

    rf.ShowModal();

    EXPECT_EQ(opened_before_close, 2u);
    EXPECT_EQ(editor.Edited, (std::vector<std::string>{kLog, kLog}));
}

}  // namespace
