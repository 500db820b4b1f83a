// The main window around a run and over time: a whole run from the button,
// the busy cursor, a refused second run, closing during a run, and the
// docking of the options panel with the windows' real sizes.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/control_ids.h"
#include "support/main_window_harness.h"
#include "temp_dir.h"
#include "wide_names.h"

using korv::test::ReadFile;
using korv::winui_test::MainWindowHarness;
using korv::winui_test::PumpUntil;
using Kind = korv::winui_test::ScriptedPrompter::Kind;

namespace {

std::wstring Wide(const std::string& path) {
    return korv::WideName(path).value();
}

HCURSOR CursorAsked(HWND window) {
    ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
    ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
}

}  // namespace

TEST(MainWindowRun, AWholeRunFromTheButton) {
    MainWindowHarness h;
    const std::string first = h.dir.Write("first.txt", "old text\r\nold again\r\n");
    const std::string second = h.dir.Write("second.txt", "nothing here\r\n");
    h.Drop({Wide(first), Wide(second)});
    ::SetWindowTextA(h.Control(tmf_id::Edit2), "old");
    ::SetWindowTextA(h.Control(tmf_id::Edit3), "new\r\nline");

    const HCURSOR hourglass = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
    HCURSOR over_list = nullptr;
    HCURSOR over_panel = nullptr;
    h.dialogs.during_results = [&](HWND) {
        over_list = CursorAsked(h.Control(tmf_id::ListBox1));
        over_panel = CursorAsked(h.af->window);
    };
    h.prompter.AnswerAsk(true);
    ::SendMessageW(h.Control(tmf_id::Button), BM_CLICK, 0, 0);

    ASSERT_EQ(h.dialogs.results.size(), 1u);
    EXPECT_EQ(h.dialogs.results[0], (std::pair<std::int32_t, std::int64_t>{2, 1}));
    EXPECT_EQ(ReadFile(first), "new\r\nline text\r\nnew\r\nline again\r\n");
    EXPECT_EQ(ReadFile(second), "nothing here\r\n");
    EXPECT_EQ(h.prompter.Count(Kind::Ask), 1u);
    EXPECT_EQ(h.prompter.Unexpected(), 0);
    // The hourglass over the main window's controls and the panel while
    // the run went on, and not after it.
    EXPECT_EQ(over_list, hourglass);
    EXPECT_EQ(over_panel, hourglass);
    EXPECT_FALSE(h.mf->Busy());
    EXPECT_NE(CursorAsked(h.Control(tmf_id::ListBox1)), hourglass);
    // The list, which paints only when the run pumps, paints freely again.
    HWND list = h.Control(tmf_id::ListBox1);
    EXPECT_TRUE(PumpUntil([list] { return ::IsWindowVisible(list) != FALSE; }));
}

// Three files with something to replace, and both texts set.
static std::vector<std::wstring> FilesToReplace(MainWindowHarness& h) {
    std::vector<std::wstring> files;
    for (int i = 0; i < 3; ++i) {
        files.push_back(Wide(h.dir.Write("f" + std::to_string(i) + ".txt", "aaaa")));
    }
    ::SetWindowTextA(h.Control(tmf_id::Edit2), "a");
    ::SetWindowTextA(h.Control(tmf_id::Edit3), "b");
    return files;
}

TEST(MainWindowRun, ASecondRunIsRefusedDuringARun) {
    MainWindowHarness h;
    h.Drop(FilesToReplace(h));
    // Handled by the run's own message pumping, at its first replacement.
    ::PostMessageW(h.Control(tmf_id::Button), BM_CLICK, 0, 0);
    h.prompter.AnswerAsk(true);
    ::SendMessageW(h.Control(tmf_id::Button), BM_CLICK, 0, 0);

    // One run only: the inner click asked nothing and started nothing.
    EXPECT_EQ(h.prompter.Count(Kind::Ask), 1u);
    ASSERT_EQ(h.dialogs.results.size(), 1u);
    EXPECT_EQ(h.dialogs.results[0], (std::pair<std::int32_t, std::int64_t>{3, 3}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadFile(h.dir.File("f" + std::to_string(i) + ".txt")), "bbbb\r\n");
    }
    MSG queued{};
    EXPECT_FALSE(
        ::PeekMessageW(&queued, h.Control(tmf_id::Button), BM_CLICK, BM_CLICK, PM_NOREMOVE));
}

TEST(MainWindowRun, ClosingDuringARunClosesAfterTheFileInHand) {
    MainWindowHarness h;
    h.Drop(FilesToReplace(h));
    HWND mf = h.mf->Handle();
    ::PostMessageW(mf, WM_CLOSE, 0, 0);
    h.prompter.AnswerAsk(true);
    ::SendMessageW(h.Control(tmf_id::Button), BM_CLICK, 0, 0);

    // The file being processed is finished, the rest left alone.
    EXPECT_EQ(ReadFile(h.dir.File("f0.txt")), "bbbb\r\n");
    EXPECT_EQ(ReadFile(h.dir.File("f1.txt")), "aaaa");
    EXPECT_EQ(ReadFile(h.dir.File("f2.txt")), "aaaa");
    EXPECT_TRUE(h.dialogs.results.empty());
    EXPECT_FALSE(h.mf->Busy());
    // Then the window closes and the program's loop ends.
    MSG quit{};
    EXPECT_TRUE(PumpUntil([&] {
        return ::IsWindow(mf) == FALSE &&
               ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }));
    const std::string log = ReadFile(h.paths.Log);
    EXPECT_NE(log.find("Application Closed"), std::string::npos) << log;
}

TEST(MainWindowRun, TimerKeepsThePanelDockedWithTheRealSizes) {
    MainWindowHarness h;
    HWND mf = h.mf->Handle();
    ::SendMessageW(h.Control(tmf_id::Button4), BM_CLICK, 0, 0);
    EXPECT_TRUE(::IsWindowVisible(h.af->window));
    char caption[64] = {};
    ::GetWindowTextA(h.Control(tmf_id::Button4), caption, sizeof caption);
    EXPECT_STREQ(caption, "<<<<< Hide Advanced &Options");

    // Pushed against the screen's right edge, the main window makes room.
    const int screen = ::GetSystemMetrics(SM_CXSCREEN);
    ::SetWindowPos(mf, nullptr, screen - 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT main{};
    RECT panel{};
    const bool docked = PumpUntil([&] {
        ::GetWindowRect(mf, &main);
        ::GetWindowRect(h.af->window, &panel);
        return panel.left == main.right && panel.top == main.top + 191 && panel.right <= screen;
    });
    EXPECT_TRUE(docked) << "main " << main.left << "," << main.top << "-" << main.right << " panel "
                        << panel.left << "," << panel.top << "-" << panel.right;
    EXPECT_EQ(panel.right - panel.left, 181);
    EXPECT_EQ(panel.right, screen);
}
