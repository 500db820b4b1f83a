// The options panel kept docked at the main window's right edge.

#include <gtest/gtest.h>

#include "fake_window.h"

namespace {

struct DockCase {
    const char* name;
    int main_left;
    bool panel_shown;
    int want_main_left;
    int want_panel_left;
};

class DockingTest : public testing::TestWithParam<DockCase> {};

// Screen 1024 wide, main window 279 wide at top 100, panel 181 wide.
TEST_P(DockingTest, TimerPlacesBothWindows) {
    const DockCase& c = GetParam();
    korv::test::FakeMainWindow f;
    f.frame.Place(c.main_left, 100, 279, true);
    f.panel_frame.Place(516, 321, 181, c.panel_shown);
    f.window.Timer1Timer();
    EXPECT_EQ(f.frame.left, c.want_main_left);
    EXPECT_EQ(f.frame.top, 100);
    EXPECT_EQ(f.panel_frame.left, c.want_panel_left);
    EXPECT_EQ(f.panel_frame.top, 291);
    EXPECT_EQ(f.panel_frame.visible, c.panel_shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, DockingTest,
                         testing::Values(DockCase{"ShownStickingOut", 600, true, 564, 843},
                                         DockCase{"ShownJustFitting", 564, true, 564, 843},
                                         DockCase{"ShownOnePixelTooFar", 565, true, 564, 843},
                                         DockCase{"HiddenNeverPushes", 600, false, 600, 879},
                                         DockCase{"ShownRoomEnough", 100, true, 100, 379},
                                         DockCase{"ShownScreenTooNarrow", 0, true, 0, 279}),
                         [](const testing::TestParamInfo<DockCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(Docking, AScreenNarrowerThanBothWindowsPushesTheMainWindowOffIt) {
    korv::test::FakeMainWindow f;
    f.shell.screen_width = 400;
    f.frame.Place(50, 0, 279, true);
    f.panel_frame.Place(0, 0, 181, true);
    f.window.Timer1Timer();
    EXPECT_EQ(f.frame.left, -60);
    EXPECT_EQ(f.panel_frame.left, 219);
}

}  // namespace
