// The options panel as a window: where its controls are, and that its
// boxes and its "Help" link reach the settings file and the desktop.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "executable_dir.h"
#include "main/error_box.h"
#include "opt/taf.h"
#include "services/profile_settings_file.h"
#include "temp_dir.h"
#include "texts.h"
#include "view_probes.h"

namespace {

namespace text = korv::behaviour::text;
using korv::test::ChildRect;
using korv::test::RecordingOpener;
using korv::test::TempDir;

// A hidden top-level window to own the panel.
class Owner {
public:
    Owner()
        : hwnd_(CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPED, 600, 100, 279, 400, nullptr,
                                nullptr, nullptr, nullptr)) {}
    ~Owner() { DestroyWindow(hwnd_); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    [[nodiscard]] HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};

TEST(TAF, IsABorderlessOwnedPopUpWithItsControlsOnTheRaisedPanel) {
    Owner owner;
    RecordingOpener opener;
    TAF af(owner.Handle(), opener);
    HWND panel = af.Handle();

    EXPECT_EQ(GetWindow(panel, GW_OWNER), owner.Handle());
    EXPECT_FALSE(IsWindowVisible(panel));
    const LONG style = GetWindowLongA(panel, GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_DLGFRAME), 0);
    RECT outer{};
    GetWindowRect(panel, &outer);
    RECT client{};
    GetClientRect(panel, &client);
    EXPECT_EQ(outer.right - outer.left, 181);
    EXPECT_EQ(outer.bottom - outer.top, 81);
    EXPECT_EQ(client.right, 181);
    EXPECT_EQ(client.bottom, 81);
    EXPECT_EQ(af.Frame().Width(), 181);

    struct Control {
        int Id;
        HWND Parent;
        RECT Bounds;
        const char* Caption;
    };
    HWND panel1 = GetDlgItem(panel, taf_id::Panel1);
    ASSERT_NE(panel1, nullptr);
    const Control controls[] = {
        {taf_id::Panel1, panel, {0, 0, 181, 81}, ""},
        {taf_id::CheckBoxCS, panel1, {8, 8, 97, 25}, text::kCaseSensitive},
        {taf_id::CheckBoxBU, panel1, {8, 32, 137, 49}, text::kBackUp},
        {taf_id::CheckBoxDV, panel1, {8, 57, 137, 71}, text::kDynamicVariables},
        {taf_id::Label1, panel1, {140, 58, 167, 71}, text::kHelpLink},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.Id);
        HWND control = GetDlgItem(c.Parent, c.Id);
        ASSERT_NE(control, nullptr);
        const RECT bounds = ChildRect(control);
        EXPECT_EQ(bounds.left, c.Bounds.left);
        EXPECT_EQ(bounds.top, c.Bounds.top);
        EXPECT_EQ(bounds.right, c.Bounds.right);
        EXPECT_EQ(bounds.bottom, c.Bounds.bottom);
        char caption[64] = {};
        GetWindowTextA(control, caption, sizeof caption);
        EXPECT_STREQ(caption, c.Caption);
    }
    // Two-state boxes, unchecked at first, in the tab order case, backup,
    // variables.
    HWND previous = nullptr;
    for (int id : {taf_id::CheckBoxCS, taf_id::CheckBoxBU, taf_id::CheckBoxDV}) {
        HWND box = GetDlgItem(panel1, id);
        EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
        EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_NE(GetWindowLongA(box, GWL_STYLE) & WS_TABSTOP, 0);
        EXPECT_EQ(GetWindow(box, GW_HWNDPREV), previous);
        previous = box;
    }
}

TEST(TAF, HelpLinkIsBoldUnderlinedWithTheHelpCursorAndOpensThePage) {
    Owner owner;
    RecordingOpener opener;
    TAF af(owner.Handle(), opener);
    af.Frame().ShowInFront();

    const LOGFONTA font = korv::test::FontOf(af.Label1);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_FALSE(font.lfItalic);
    const LOGFONTA box_font = korv::test::FontOf(af.CheckBoxCS);
    EXPECT_EQ(font.lfHeight, box_font.lfHeight);
    EXPECT_STREQ(font.lfFaceName, box_font.lfFaceName);
    EXPECT_EQ(box_font.lfWeight, FW_NORMAL);

    EXPECT_EQ(korv::test::CursorOver(af.Label1), LoadCursorA(nullptr, MAKEINTRESOURCEA(32651)));
    EXPECT_NE(korv::test::CursorOver(af.CheckBoxDV), LoadCursorA(nullptr, MAKEINTRESOURCEA(32651)));

    korv::test::ClickInside(af.Label1);
    ASSERT_EQ(opener.Opened.size(), 1u);
    EXPECT_EQ(opener.Opened[0], korv::BesideExecutable("dv.html"));
}

TEST(TAF, EveryChangeOfABoxIsWrittenToTheSettingsFile) {
    TempDir dir;
    const korv::winui::ProfileSettingsFile ini(dir.File("settings.ini"));
    Owner owner;
    RecordingOpener opener;
    TAF af(owner.Handle(), opener);
    af.SetIniFile(&ini);
    af.Frame().ShowInFront();

    // By the mouse, then by the space bar on the focused box.
    SendMessageA(af.CheckBoxBU, BM_CLICK, 0, 0);
    EXPECT_EQ(korv::test::ReadFile(ini.FileName()), "[Options]\r\nBU=True\r\n");
    SetFocus(af.CheckBoxDV);
    SendMessageA(af.CheckBoxDV, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(af.CheckBoxDV, WM_KEYUP, VK_SPACE, 0xC0000001);
    SendMessageA(af.CheckBoxBU, BM_CLICK, 0, 0);
    SendMessageA(af.CheckBoxCS, BM_CLICK, 0, 0);

    EXPECT_EQ(korv::test::ReadFile(ini.FileName()),
              "[Options]\r\nBU=False\r\nDV=True\r\nCS=True\r\n");
    EXPECT_TRUE(af.Behaviour().CheckBoxCS.Checked());
    EXPECT_FALSE(af.Behaviour().CheckBoxBU.Checked());
    EXPECT_TRUE(af.Behaviour().CheckBoxDV.Checked());
}

TEST(TAF, RefusedWriteReachesTheErrorReportAndTheBoxKeepsItsState) {
    TempDir dir;
    const korv::winui::ProfileSettingsFile ini(dir.File("gone\\settings.ini"));
    Owner owner;
    RecordingOpener opener;
    TAF af(owner.Handle(), opener);
    af.SetIniFile(&ini);
    std::vector<std::string> reported;
    af.SetErrorReport([&reported] {
        try {
            throw;
        } catch (const std::exception& error) {
            reported.push_back(korv::behaviour::ErrorBoxText(error.what()));
        }
    });
    af.Frame().ShowInFront();

    SendMessageA(af.CheckBoxCS, BM_CLICK, 0, 0);

    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "Unable to write to " + ini.FileName() + ".");
    EXPECT_TRUE(af.Behaviour().CheckBoxCS.Checked());
}

TEST(TAF, ClosingOnlyHidesThePanel) {
    Owner owner;
    RecordingOpener opener;
    TAF af(owner.Handle(), opener);
    af.Frame().ShowInFront();
    EXPECT_TRUE(af.Frame().Visible());

    SendMessageA(af.Handle(), WM_CLOSE, 0, 0);

    EXPECT_TRUE(IsWindow(af.Handle()));
    EXPECT_FALSE(af.Frame().Visible());
    af.Frame().MoveTo(700, 291);
    EXPECT_EQ(af.Frame().Left(), 700);
    EXPECT_EQ(af.Frame().Top(), 291);
}

}  // namespace
